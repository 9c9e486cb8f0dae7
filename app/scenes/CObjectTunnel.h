// The opening scene, 0 to 70.8 s: the camera flies along the animated path of "Tunnel\tunnel.X"
// through a textured tube lit per vertex by two flashing point lights with lens flares. The tube
// model is finite: two copies of it are placed end to end and moved ahead along +z as the camera
// passes, so the flight never reaches an end. Events change the flight speed (widening the view),
// flash the lights, shake the camera and jump the path to other stretches.
#pragma once
#include "CObject.h"
#include <cstdint>

class HvAnimationController;
class HvCamera;
class HvPointLight;

// The scene's arithmetic, free of any device.

enum TunnelSpeedMode : int32_t { TunnelSpeedSlow = 1, TunnelSpeedUp = 2, TunnelSpeedFast = 3 };

const float kTunnelFarPoint = 1500.0f;  // camera far plane: this much tube must lie ahead of the eye
const uint32_t kTunnelResetCount = 8;

// How many whole tunnel lengths z lies beyond the model's far end (origin z + max z); 0 for any z
// within or before the model, and for a length that is not positive or a z that is not finite.
int32_t TunnelSegmentIndex(float z, float farEnd, float length);

// Which segment shows which shift. A segment whose stored index changes must have its Local matrix
// moved to a translation of length x index along z.
struct TunnelSegmentState {
  int32_t index[2] = {-1, -1};
  bool shown[2] = {false, false};
};
// Places the segments for an eye at cameraZ: segment 0 holds the eye, segment 1 the far point
// when that lies one or more lengths further. Returns a bit per segment (1, 2) whose index changed.
uint32_t PlaceTunnelSegments(TunnelSegmentState& state, float cameraZ, float farEnd, float length);

// A light flash at event progress p (-1: no flash running): the light range and the flare's scale.
struct TunnelFlash {
  float range;       // 45 between flashes, 225 at the flash peak
  float flareScale;  // 0.5 between flashes, 1 at the peak
};
TunnelFlash TunnelFlashAt(float progress);

// Controller speed and field of view (degrees; negative: the projection stays) of a speed event.
struct TunnelPace {
  float speed;
  float fovDegrees;
};
TunnelPace TunnelPaceFor(int32_t speedMode, float progress);
TunnelPace TunnelSlowDownAt(float progress);  // "tunnel_speed_down": 3.0 / 120 deg to 0.4 / 160 deg

// Vertical camera offset at shake progress p: 7.5 oscillations of 8 units, fading out linearly.
float TunnelShakeOffset(float progress);

// The box (min x, y, z, max x, y, z) around the vertex positions of every geometry in the subtree,
// each taken in its own coordinates (node matrices are not applied). False when there is none.
bool TunnelSubtreeBounds(HvNode* node, float box[6]);

// The path time (s) that reset number index jumps to; false past the end of the table.
bool TunnelResetTime(uint32_t index, float& seconds);

class CObjectTunnel : public CObject {
public:
  explicit CObjectTunnel(const char* name);
  ~CObjectTunnel() override;

  bool Create() override;   // false when a model or one of its required nodes is missing
  bool Update() override;
  bool ScheduleEvents() override;
  bool OnEvent(float progress, const std::string& name) override;

private:
  void UpdateLightFlashes();
  void UpdateSegments();
  void ShakeCamera(float progress);
  void SetProjection(float fovDegrees);

  HvRef<HvAnimationController> controller;  // plays the camera and light paths of tunnel.X
  HvRef<HvPointLight> lights[2];
  HvRef<HvNode> lightModels[2];             // the two roots loaded from Light.X
  HvRef<HvNode> segments[2];                // node "Tunnel" and its clone
  TunnelSegmentState segmentState;          // the shift of each segment, in tunnel lengths along +z
  float tunnelLength = -1.0f;               // z extent of the tube model, world units
  float tunnelOrigin[3] = {0, 0, 0};        // translation of segment 0's world matrix after loading
  float bounds[6] = {0, 0, 0, 0, 0, 0};     // min x, y, z, max x, y, z of the segment 0 geometry
  HvRef<HvCamera> camera;
  HvRef<HvNode> cameraNode;                 // "Geo_camera": carries the eye, shaken by its Local matrix
  float flashProgress[2] = {-1.0f, -1.0f};  // this frame's flash event progress per light; -1: none
  int32_t speedMode = -1;                   // TunnelSpeedMode of this frame's speed event; -1: none
  float speedProgress = 0.0f;
  uint32_t resetIndex = 0;                  // "tunnel_reset" events handled so far
  bool pathJumped = false;                  // a reset moved the path time this frame
};
