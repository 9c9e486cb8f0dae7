// The space station, 70.8 s to 178.8 s: the camera flies along the model's animated path through a
// corridor and sliding doors into a hall (spinning fan and sphere, glass walls, a sky box), then is
// taken off the path and circles the ship, which changes its shading at the timeline's cues.
#pragma once
#include "CEffectShip.h"
#include "../../engine/render/HvCamera.h"
#include "../../engine/render/HvPointLight.h"
#include "../../engine/render/HvVertexShaderProperty.h"
#include <d3dx9.h>

class CEventCollector;
class HvAnimationController;

class CObjectStation : public CEffectShip {
public:
  explicit CObjectStation(const char* name);
  ~CObjectStation() override;

  bool Create() override;  // loads "Station\Station.x", then SetupScene
  bool Update() override;
  bool ScheduleEvents() override;
  bool OnEvent(float progress, const std::string& name) override;

  // Everything Create does to the loaded model (the object's node): camera, light, shaders, camera
  // path, transparency, sky box, grouping; ends switched off. Textures named by the model and the
  // code are taken from the current directory. Without grouping the shader properties stay on the
  // meshes, one bind per mesh (for measuring what the grouping saves).
  void SetupScene(bool groupByShader = true);
  void AddEventsTo(CEventCollector& events);

  HvCamera* GetCamera() const { return camera.Get(); }
  HvPointLight* GetLight() const { return light.Get(); }
  HvAnimationController* GetAnimationController() const { return animationController.Get(); }
  float GetOrbitSpeed() const { return orbitSpeed; }
  float GetOrbitPhase() const { return orbitPhase; }

private:
  void ApplyStationShading(HvNode* n);
  void SetupSkyBox(bool groupByShader);
  void SetupGlass();
  void SetDoors(float progress);
  void ShakeCamera(float progress);
  void SetCameraPath(uint32_t index, float progress);
  void SetFieldOfView(float degrees);

  HvRef<HvAnimationController> animationController;  // on node "Camera"
  HvRef<HvCamera> camera;                              // "camera_space_station"
  HvRef<HvPointLight> light;                           // hangs behind the camera
  HvRef<HvVertexShaderProperty> stationShader;         // "space_station_vertex_shader"
  HvRef<HvVertexShaderProperty> vertexPaintShader;     // "vertex_paint"
  HvRef<HvTexture> wireTexture;                        // "wire.tga", replaces "wire.jpg"
  HvRef<HvTexture> deskTexture;                        // "desk01.tga", replaces "desk01.jpg"
  HvRef<HvNode> cameraNode;                            // "camera": the shake moves it
  HvRef<HvNode> sphere;                                // "Sphere02"
  HvRef<HvNode> fan;                                   // "Wentylator"
  HvRef<HvNode> corridor;                              // "Corridor"
  HvRef<HvNode> room;                                  // "Room"
  HvRef<HvNode> ceiling;                               // "Sufit"
  HvRef<HvNode> leftDoor;                              // "Object55"
  HvRef<HvNode> rightDoor;                             // "Plane20"
  float orbitSpeed = 1.0f;                             // of the free orbit around the ship
  float orbitPhase = 0;                                // accumulated orbit angle, half turns
};

// The value rules of the station's events (angles in degrees, lengths in world units, p in 0..1).
float CorridorFieldOfView(float p);  // widens from 10 to 80
float ZoomFieldOfView(float p);      // 80 +- 10, three swings, back at 80
float SpeedDownFactor(float p);      // camera path speed 1 -> 0.35
float DoorOffset(float p);           // sideways travel of each door leaf, 0 -> 110
float ShakeOffset(float p);          // camera height offset, dying away
// The free orbit's phase after one frame of frameTime seconds at the given speed (1: half a turn per second).
float AdvanceOrbitPhase(float phase, float frameTime, float speed);
// A point on the circle of radius 900 around the ship, 200 above it; angle in radians, 0 behind (+z).
D3DXVECTOR3 OrbitEye(const D3DXVECTOR3& ship, float angle);
// Straight above the ship, sinking from 1500 to 1000.
D3DXVECTOR3 DescentEye(const D3DXVECTOR3& ship, float p);
