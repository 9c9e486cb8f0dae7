// A left-handed look-at view with a perspective projection. The eye and the target can follow
// scene nodes (the translation of their World matrix). Registered in the core's camera pool; a
// camera property updates and activates it.
#pragma once
#include "../core/HvObject.h"
#include <d3dx9.h>

class HvNode;

class HvCamera : public HvEngineObject {
public:
  enum VectorIndex : uint32_t { Eye = 0, Target = 1, Up = 2, BackVector = 3 };

  explicit HvCamera(const char* name);
  ~HvCamera() override;

  void LookAt(const D3DXVECTOR3& eye, const D3DXVECTOR3& target, const D3DXVECTOR3& up);
  void SetProjection(float fov, float aspect, float nearPlane, float farPlane);  // radians, vertical
  // With detach, the node's geometry is dropped: the node only marks a place.
  void SetPositionNode(HvNode* node, bool detach);
  void SetTargetNode(HvNode* node, bool detach);
  void Activate();  // the device's view and projection transforms

  bool Update() override;   // follows the nodes
  bool Release() override;
  bool Refresh() override;  // view-projection

  const D3DXMATRIX& GetView() const { return view; }
  const D3DXMATRIX& GetProjection() const { return projection; }
  const D3DXMATRIX& GetViewProjection() const { return viewProjection; }
  const D3DXVECTOR3& GetVector(uint32_t index) const { return vectors[index]; }
  float GetFieldOfView() const { return fov; }
  float GetAspect() const { return aspect; }
  float GetNearPlane() const { return nearPlane; }
  float GetFarPlane() const { return farPlane; }
  HvNode* GetPositionNode() const { return positionNode.Get(); }
  HvNode* GetTargetNode() const { return targetNode.Get(); }

private:
  D3DXMATRIX view, projection, viewProjection;
  HvRef<HvNode> positionNode;
  HvRef<HvNode> targetNode;
  D3DXVECTOR3 vectors[4];  // eye, target, up, unit vector from target to eye
  float fov = 0, aspect = 0, nearPlane = 0, farPlane = 0;
};
