// A render property: a small counted object a node carries in one of its per-pass lists. The node
// applies it before drawing its geometry and children and restores it afterwards. Properties of one
// kind nest like a stack through the engine-wide registers (HvRenderRegisters in HvDevice.h).
#pragma once
#include "../core/HvObject.h"
#include <cstdint>

class HvNode;
class HvDevice;
struct HvRenderRegisters;

// The kind of a property; a node's pass list holds in practice at most one property per kind.
enum HvPropertyKind : uint32_t {
  HvPropertyMaterial = 0,
  HvPropertyVertexShader = 1,
  HvPropertyClear = 2,
  HvPropertyLighting = 3,
  HvPropertyTexturing = 4,
  HvPropertyZBuffer = 5,
  HvPropertyAnimation = 7,
  HvPropertyCulling = 8,
  HvPropertyAlpha = 9,
  HvPropertyCamera = 10,
  HvPropertyBillboard = 12,
};

// Pass lists are sorted by descending priority: the camera goes first, so that the vertex-shader
// property (last) sees camera and material already in place.
enum HvPropertyPriority : uint32_t {
  HvPriorityShader = 0,
  HvPriorityState = 1,
  HvPriorityCamera = 2,
};

class HvProperty : public HvRefCount {
public:
  HvProperty(uint32_t kind, uint32_t priority) : kind(kind), priority(priority) {}

  virtual bool Apply(HvNode* node) { return true; }
  virtual bool Restore(HvNode* node) { return true; }
  virtual HvProperty* Clone() const { return nullptr; }  // null: this kind cannot be copied

  uint32_t GetKind() const { return kind; }
  uint32_t GetPriority() const { return priority; }

protected:
  static HvDevice& Device();                // the core's device
  static HvRenderRegisters& Registers();    // the properties currently in force

private:
  uint32_t kind;
  uint32_t priority;
};
