// Plays the keyframe tracks of a loaded model: a clock advanced by the frame time, sampled every frame
// into the AltPreTransform matrix of each animated node (HvAnimationProperty in its pass 0 list).
// Named "Animation_Controller"; registered in the core's animation controller pool, which updates it
// once per frame and drops it once nobody else holds it.
#pragma once
#include "../core/HvObject.h"
#include "../render/HvAnimationProperty.h"
#include "../render/HvNode.h"
#include <vector>

class HvAnimationController : public HvObject {
public:
  static const uint32_t TicksPerSecond = 4800;

  enum LoopMode : uint32_t { Once = 0, Loop = 1, PingPong = 2 };
  enum State : uint32_t { Stopped = 0, Playing = 1, Paused = 2 };

  // Collects the tracks of root's subtree, depth first, a node before its children.
  explicit HvAnimationController(HvNode* root);
  ~HvAnimationController() override;

  void Play();   // stopped: from time 0; paused: resumes at its time; playing: nothing
  void Stop();   // time 0; the ticks keep their value until the next start
  void Pause();  // a later Play resumes at the current time (also from stopped)

  // Advances the clock, handles the end of the keys, writes every track's matrix and refreshes the
  // root's world matrices. The matrices are written even when stopped or paused.
  bool Update() override;
  // Returns the nodes to their own frame matrices and drops the tracks.
  bool Release() override;

  uint32_t GetLoopMode() const { return loopMode; }
  void SetLoopMode(uint32_t mode) { loopMode = mode; }
  float GetSpeed() const { return speed; }
  void SetSpeed(float s) { speed = s; }     // 1: real time; 2: twice as fast
  float GetTime() const { return time; }
  void SetTime(float seconds) { time = seconds; }  // seconds of play; applied at the next Update
  uint32_t GetTicks() const { return ticks; }  // the clock; a backward ping-pong samples lastKeyTime - ticks
  uint32_t GetState() const { return state; }
  bool IsForward() const { return forward != 0; }
  uint32_t GetLastKeyTime() const { return lastKeyTime; }
  size_t GetTrackCount() const { return tracks.size(); }
  HvNode* GetRoot() const { return root.Get(); }

private:
  struct Track {
    HvRef<HvNode> node;
    HvRef<HvAnimationProperty> property;
  };
  void CollectTracks(HvNode* node);

  HvRef<HvNode> root;
  std::vector<Track> tracks;
  uint32_t lastKeyTime = 0;   // ticks: the latest last key over all tracks
  uint32_t ticks = 0;         // the current sample position
  float time = 0;             // seconds of play since the last start
  uint32_t loopMode = Once;
  uint32_t state = Stopped;
  uint32_t forward = 1;       // ping-pong direction: 1 forward, 0 backward
  float speed = 1.0f;
};
