// The star of the finale (178.8 to 234.8 s): a textured model lit from the camera, pulsing with the
// beats (shader-side scale), wobbling by a per-vertex rotation whose phase grows with the distance
// from the centre, and falling out of view at the end. The room draws a mirrored copy of it on its
// floor through SetupMirror.
#pragma once
#include "CObject.h"
#include <d3dx9.h>
#include <vector>

class HvAnimationController;
class HvCamera;
class HvDirectionalLight;

class CObjectStar : public CObject {
public:
  explicit CObjectStar(const char* name);
  ~CObjectStar() override;

  bool Create() override;
  bool Update() override;
  bool Release() override;
  bool ScheduleEvents() override;
  bool OnEvent(float progress, const std::string& name) override;

  // Draws the model a second time in `pass`, mirrored through `plane`, with the material and
  // texture of pass 0 and reversed culling (the reflection turns the winding round).
  bool SetupMirror(uint32_t pass, const D3DXPLANE& plane);

  const float* GetScaleFactor() const { return scaleFactor; }
  float GetBlend() const { return blend; }
  float GetWobble() const { return wobble; }

private:
  void FillPhases(HvNode* n);
  void Deform(HvNode* model, HvNode* rest, size_t& firstVertex, float now);

  HvRef<HvAnimationController> controller;
  HvRef<HvNode> restCopy;                     // undeformed geometry copies; never attached
  HvRef<HvDirectionalLight> light;            // shines from the camera's eye towards the origin
  HvRef<HvCamera> camera;                     // "star_camera", shared with the room
  std::vector<float> phases;                  // one per vertex, depth-first over the model's geometries
  float blend = 0.0f;                         // 0..1 phase lag of the outer vertices; -1: rest pose
  float scaleFactor[4] = {3, 3, 3, 1};        // shader constant: object-space scale
  float wobble = 1.0f;                        // 0..1 amplitude of the wobble rotation
};

// Size of the star at progress p (0..1) of one beat: 3 at rest, 4.5 at the peak of the flash curve.
float StarPulseScale(float progress);

// The wobble rotation of a vertex with phase `phase` at engine time `now` (s).
D3DXMATRIX StarWobbleMatrix(float now, float phase, float blend, float wobble);

// Deforms `count` vertices (3 floats each) from the rest arrays into the output arrays: the rest pose
// when blend is -1, else each position and normal rotated by its wobble matrix.
void StarDeformVertices(const float* restPositions, const float* restNormals, const float* phases, size_t count,
                        float now, float blend, float wobble, float* positions, float* normals);
