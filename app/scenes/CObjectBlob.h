// The metaball scene of the first act (16.8 to 54.0 s): three sources circling inside the grid, the
// whole blob spinning left of centre, pulsing on the beat, slowed down for a break and pushed off to
// the left at the end. Drawn over the tunnel after its own depth clear.
#pragma once
#include "CEffectBlob.h"

class CObjectBlob : public CEffectBlob {
public:
  explicit CObjectBlob(const char* name);

  bool PostCreate() override;  // camera, depth clear; starts switched off
  bool Update() override;      // sources, transform, then the surface
  bool ScheduleEvents() override;
  bool OnEvent(float progress, const std::string& name) override;

  int GetSpeedMode() const { return speedMode; }
  float GetPhase() const { return phase; }
  const D3DXMATRIX& GetScaleMatrix() const { return scale; }
  const D3DXVECTOR3& GetPosition() const { return position; }

private:
  int speedMode = 0;         // 0 normal, 1 low
  float phase = 0;           // animation time of sources and rotations, s
  D3DXMATRIX scale;          // uniform, set by "scale_up"
  D3DXVECTOR3 position{-1.5f, 0, 0};  // moved by "fade"
};

// Animation speed of a speed mode: 1 normal, 0.6 low.
float BlobSpeed(int speedMode);
// The three source centres at phase t.
void BlobSourcePositions(float t, D3DXVECTOR3 out[3]);
// Scale x RotationX(t) x RotationY(0.5 t) x RotationZ(0.3 t + 5) x Translation(position).
D3DXMATRIX BlobLocalMatrix(const D3DXMATRIX& scale, float t, const D3DXVECTOR3& position);
// Uniform scale over a "scale_up" pulse: 1.5 at both ends, 3 at the middle.
float BlobPulseScale(float progress);
// x of the blob over the "fade": from -1.5 to -7, out of the picture.
float BlobFadeX(float progress);
