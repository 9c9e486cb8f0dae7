// The demo's application object: the run mode, the data package unpacked for loading, the twelve
// scene objects in their fixed order, the timeline that drives them and the music. A lost device
// ends the show.
#pragma once
#include "CPackage.h"
#include "../engine/core/HvCore.h"

class CEventCollector;
class CMusic;
class CObjectBenchmark;

const float kShowStartOffset = 0.0f;  // s subtracted from the timeline's first dispatch

class CCore : public HvCore {
public:
  enum Mode : uint32_t { NotChosen = 0, Benchmark = 1, Demo = 2, BenchmarkAborted = 3, DemoAborted = 4 };
  static constexpr const char* kName = "Orvanta";  // window title and class, caption of message boxes
  static constexpr int32_t kNoScore = -1;          // the score until a finished benchmark sets it

  CCore();
  ~CCore() override;

  static CCore* GetApp() { return static_cast<CCore*>(GetInstance()); }

  HvConfig* CreateConfig() override;  // the demo's dialog
  bool CreateApplicationObjects() override;
  bool Create() override;
  bool PostCreate() override;
  bool Update() override;
  bool Shutdown() override;
  bool CheckDevice() override;
  void PrintStatistics() override;  // adds the frame rates of the benchmark sections
  int32_t GetFrameSection() const override;  // the benchmark section the frame counted in, 1 to 3; 0: none

  uint32_t GetMode() const { return mode; }
  void SetMode(uint32_t m) { mode = m; }
  int32_t GetScore() const { return score; }
  void SetScore(int32_t s) { score = s; }
  float GetShowStartOffset() const { return showStartOffset; }
  CEventCollector* GetEventCollector() const { return eventCollector.Get(); }

private:
  void AddSceneObjects();

  CPackage package;
  uint32_t mode = NotChosen;
  int32_t score = kNoScore;           // set by the benchmark at the end of a full run
  float showStartOffset = kShowStartOffset;
  HvRef<CEventCollector> eventCollector;
  HvRef<CMusic> music;                // demo mode only
  CObjectBenchmark* benchmark = nullptr;  // in the application pool, which owns it
  char savedDirectory[512] = "";      // the start directory while the data folder is current
  char dataFolder[512] = "";          // the unpacked package; empty when there is none
};
