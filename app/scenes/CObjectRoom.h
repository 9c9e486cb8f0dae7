// The room around the star (178.8 to 234.8 s): a model lit by a point light that travels with the
// animated camera, whose camera jumps on the beats, whose wall panels rise and fall at random, and
// whose two floor surfaces reflect the room and the star. Render pass 1 draws everything mirrored
// through the first floor and blends that floor over it; pass 2 does the same for the second floor.
#pragma once
#include "CObject.h"
#include <d3dx9.h>
#include <vector>

class HvAnimationController;
class HvCamera;
class HvPointLight;

// One moving panel of a wall: waits `delay` s, then rises and falls once over one second.
struct CWallPanel {
  float phase;   // 0..1 s into the current rise
  float delay;   // s until the next rise
  float height;  // peak offset in y, world units
};

// Advances a panel by one frame of `frameTime` s. While the panel moves, returns true with its y offset
// (scaled by `amount`, 0..1) in `offset`; a finished rise starts a new random wait of 0 to 10 s.
bool AdvanceWallPanel(CWallPanel& panel, float frameTime, float amount, float* offset);

// The floor's mirror plane: through the origin of the surface node's World matrix, normal +y.
D3DXPLANE FloorMirrorPlane(const D3DXMATRIX& surfaceWorld);

class CObjectRoom : public CObject {
public:
  static const uint32_t WallCount = 4;
  static const uint32_t JumpCount = 9;

  explicit CObjectRoom(const char* name);
  ~CObjectRoom() override;

  bool Create() override;
  bool Update() override;
  bool Release() override;
  bool ScheduleEvents() override;
  bool OnEvent(float progress, const std::string& name) override;

  float GetWallAmount() const { return wallAmount; }
  uint32_t GetJumpCounter() const { return jumpCounter; }

private:
  bool SetupReflection(const char* surfaceName, uint32_t pass);

  HvRef<HvCamera> camera;                  // "star_camera", shared with the star
  HvRef<HvPointLight> light;               // follows the camera's eye
  HvRef<HvAnimationController> controller;
  HvNode* walls[WallCount] = {};           // "Wall_0".."Wall_3" of the model (owned by it); may be null
  std::vector<CWallPanel> panels[WallCount];  // one per child of each wall, in child order
  float wallAmount = 0.0f;                 // 0: walls still; 1: full height
  uint32_t jumpCounter = 0;                // camera jumps done
  // Animation times (s) the camera jumps to on the beats from 212.08 s.
  float jumpTimes[JumpCount] = {15, 13, 10, 19, 25, 18, 10, 25, 2};
};
