// The element of the scene graph: a named node with an optional geometry, ordered children, six
// transformation matrices and, for each of the four render passes, a list of render properties
// sorted by descending priority. Every node registers in the core's node pool.
#pragma once
#include "../core/HvObject.h"
#include <d3dx9.h>
#include <cstdint>
#include <vector>

class HvGeometry;
class HvProperty;

const uint32_t HvPassCount = 4;
const uint32_t HvNoPass = 4;  // current pass of a node outside RenderPass

// Whether a node's subtree draws geometry in a pass.
enum HvPassMode : uint32_t { HvPassInherit = 0, HvPassDraw = 1, HvPassSkip = 2 };

// The draw mode of the traversal in progress (HvPassDraw or HvPassSkip), inherited down the tree.
extern uint32_t g_drawMode;

// Node bits of the object flag word.
namespace HvNodeFlags {
enum : uint32_t {
  UseLocalAsWorld  = 0x40,    // set by Refresh on the children of such a node: world = Local
  CloneGeometry    = 0x80,    // Clone copies the geometry instead of sharing it
  CloneProperties  = 0x100,   // Clone copies the properties instead of sharing them
  Animated         = 0x200,   // Refresh uses AltPreTransform
  UsePreTransform  = 0x400,   // Refresh uses PreTransform (not with Animated)
  UsePostTransform = 0x800,   // PostTransform applies to this node's own drawing only
  SkipGrouping     = 0x2000,  // GroupByVertexShader leaves this subtree alone once
};
}

// Matrix slots; row-vector convention, a point transforms as p x M.
enum HvMatrixSlot : uint32_t {
  HvMatrixWorld = 0,           // draws this node's geometry
  HvMatrixChildBase = 1,       // the children's parent matrix
  HvMatrixLocal = 2,           // relative to the parent
  HvMatrixPreTransform = 3,    // frame transformation relative to the parent
  HvMatrixPostTransform = 4,   // extra matrix for this node's own drawing
  HvMatrixAltPreTransform = 5, // animated replacement of PreTransform
  HvMatrixCount = 6
};

class HvNode : public HvEngineObject {
public:
  explicit HvNode(const char* name, HvGeometry* geometry = nullptr);
  ~HvNode() override;

  bool Release() override;
  bool Refresh() override;            // world matrices of this subtree
  virtual bool InheritAlphaState();   // copies inherited properties into diverted nodes
  virtual bool RenderPass(uint32_t pass);

  void AddChild(HvNode* child);
  void RemoveChild(HvNode* child);    // first occurrence; a node that is not a child is ignored
  HvNode* FindNode(const char* name); // depth-first, pre-order, exact name

  void AddProperty(HvProperty* p, uint32_t pass);
  void RemoveProperty(uint32_t kind, uint32_t pass);  // first of that kind, if any
  HvProperty* FindProperty(uint32_t kind, uint32_t pass) const;
  HvProperty* GetProperty(uint32_t index, uint32_t pass) const;  // null past the end
  size_t GetPropertyCount(uint32_t pass) const { return properties[pass].size(); }

  D3DXMATRIX* SetMatrix(uint32_t slot, const D3DXMATRIX& m);
  const D3DXMATRIX& GetMatrix(uint32_t slot) const { return matrices[slot]; }
  // The translation row of World: where cameras and lights anchored to this node stand.
  D3DXVECTOR3 GetWorldPosition() const {
    const D3DXMATRIX& w = matrices[HvMatrixWorld];
    return D3DXVECTOR3(w._41, w._42, w._43);
  }

  uint32_t GetPassMode(uint32_t pass) const { return passModes[pass]; }
  void SetPassMode(uint32_t pass, uint32_t mode) { passModes[pass] = mode; }
  uint32_t GetCurrentPass() const { return currentPass; }
  HvGeometry* GetGeometry() const { return geometry.Get(); }
  void SetGeometry(HvGeometry* g);
  HvNode* GetParent() const { return parent; }
  size_t GetChildCount() const { return children.size(); }
  HvNode* GetChild(size_t index) const { return children[index].Get(); }

  HvNode* Clone();                        // deep copy of the subtree
  void GroupByVertexShader(uint32_t pass);

private:
  // The alpha property of a pass list if it diverts the node to the alpha collector, else null.
  HvProperty* FindDivertingAlpha(uint32_t pass) const;
  bool DrawGeometry();

  HvRef<HvGeometry> geometry;
  HvNode* parent = nullptr;  // not counted: the parent owns this node
  std::vector<HvRef<HvNode>> children;
  D3DXMATRIX matrices[HvMatrixCount];
  std::vector<HvRef<HvProperty>> properties[HvPassCount];
  uint32_t currentPass = HvNoPass;
  uint32_t passModes[HvPassCount] = {HvPassInherit, HvPassInherit, HvPassInherit, HvPassInherit};
};
