#include "HvNode.h"
#include "HvAlphaProperty.h"
#include "HvDevice.h"
#include "HvGeometry.h"
#include "HvProperty.h"
#include "HvVertexShaderProperty.h"
#include "../core/HvCore.h"
#include <algorithm>
#include <cstdio>

uint32_t g_drawMode = HvPassDraw;

static const D3DXMATRIX identity(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);

HvNode::HvNode(const char* name, HvGeometry* g) : HvEngineObject(name), geometry(g) {
  for (D3DXMATRIX& m : matrices) m = identity;
  HvCore::GetInstance()->GetPool(HvPoolNode)->Add(this);
}

HvNode::~HvNode() {
  for (HvRef<HvNode>& c : children) c->parent = nullptr;  // children that live on are detached
}

void HvNode::SetGeometry(HvGeometry* g) { geometry = g; }

bool HvNode::Release() {
  SetFlag(HvFlags::Released);
  for (auto& list : properties) list.clear();
  bool ok = true;
  for (size_t i = 0; i < children.size(); ++i) ok = children[i]->Release() && ok;
  return ok;
}

bool HvNode::Refresh() {
  if (HasFlag(HvNodeFlags::UseLocalAsWorld)) {
    matrices[HvMatrixWorld] = matrices[HvMatrixLocal];
    for (size_t i = 0; i < children.size(); ++i) {
      HvNode* c = children[i].Get();
      c->SetFlag(HvNodeFlags::UseLocalAsWorld);
      c->Refresh();
      c->ClearFlag(HvNodeFlags::UseLocalAsWorld);
    }
  } else {
    D3DXMATRIX world = parent ? parent->matrices[HvMatrixChildBase] : identity;
    if (HasFlag(HvNodeFlags::Animated)) world = matrices[HvMatrixAltPreTransform] * world;
    else if (HasFlag(HvNodeFlags::UsePreTransform)) world = matrices[HvMatrixPreTransform] * world;
    world = matrices[HvMatrixLocal] * world;
    matrices[HvMatrixChildBase] = world;
    if (HasFlag(HvNodeFlags::UsePostTransform)) world = matrices[HvMatrixPostTransform] * world;
    matrices[HvMatrixWorld] = world;
    for (size_t i = 0; i < children.size(); ++i)
      if (!children[i]->Refresh()) return false;
  }
  ClearFlag(HvFlags::Changed);
  return true;
}

HvProperty* HvNode::FindDivertingAlpha(uint32_t pass) const {
  auto* alpha = static_cast<HvAlphaProperty*>(FindProperty(HvPropertyAlpha, pass));
  return alpha && alpha->HasBucket() ? alpha : nullptr;
}

bool HvNode::RenderPass(uint32_t pass) {
  if (!HasFlag(HvFlags::Active)) return true;
  currentPass = pass;
  const uint32_t savedMode = g_drawMode;
  if (passModes[pass] != HvPassInherit) g_drawMode = passModes[pass];

  if (HvProperty* alpha = FindDivertingAlpha(pass)) {  // the alpha collector renders the subtree later
    alpha->Apply(this);
    alpha->Restore(this);
  } else {
    const std::vector<HvRef<HvProperty>>& list = properties[pass];
    for (size_t i = 0; i < list.size(); ++i) list[i]->Apply(this);
    if (g_drawMode == HvPassDraw && geometry && !DrawGeometry()) return false;
    for (size_t i = 0; i < children.size(); ++i)
      if (!children[i]->RenderPass(pass)) return false;
    for (size_t i = 0; i < list.size(); ++i) list[i]->Restore(this);
  }
  g_drawMode = savedMode;
  currentPass = HvNoPass;
  return true;
}

bool HvNode::DrawGeometry() {
  HvDevice* device = HvCore::GetInstance()->GetDevice();
  if (device->GetStateFlags() & HvDevice::VertexShaderActive) {
    if (!HvVertexShaderProperty::SetNodeConstants(this)) return false;
  } else {
    device->GetD3DDevice()->SetTransform(D3DTS_WORLD, &matrices[HvMatrixWorld]);  // result not used
  }
  return geometry->Render();
}

bool HvNode::InheritAlphaState() {
  for (uint32_t pass = 0; pass < HvPassCount; ++pass) {
    if (passModes[pass] == HvPassSkip || !parent || !FindDivertingAlpha(pass)) continue;
    for (HvNode* a = parent; a; a = a->parent) {
      for (const HvRef<HvProperty>& p : a->properties[pass]) {
        const uint32_t kind = p->GetKind();
        if (kind == HvPropertyClear || kind == HvPropertyAnimation || kind == HvPropertyBillboard) continue;
        if (!FindProperty(kind, pass)) AddProperty(p.Get(), pass);  // the nearest ancestor wins
      }
    }
  }
  for (size_t i = 0; i < children.size(); ++i)
    if (!children[i]->InheritAlphaState()) return false;
  return true;
}

void HvNode::AddChild(HvNode* child) {
  children.push_back(child);
  child->parent = this;
  child->SetFlag(HvFlags::Changed);
}

void HvNode::RemoveChild(HvNode* child) {
  for (auto it = children.begin(); it != children.end(); ++it) {
    if (it->Get() != child) continue;
    child->parent = nullptr;
    children.erase(it);  // may destroy the child
    return;
  }
}

HvNode* HvNode::FindNode(const char* name) {
  if (GetName() == name) return this;
  for (size_t i = 0; i < children.size(); ++i)
    if (HvNode* found = children[i]->FindNode(name)) return found;
  return nullptr;
}

void HvNode::AddProperty(HvProperty* p, uint32_t pass) {
  if (!p) return;
  std::vector<HvRef<HvProperty>>& list = properties[pass];
  auto at = std::find_if(list.begin(), list.end(),
                         [p](const HvRef<HvProperty>& e) { return e->GetPriority() < p->GetPriority(); });
  list.insert(at, HvRef<HvProperty>(p));
}

void HvNode::RemoveProperty(uint32_t kind, uint32_t pass) {
  std::vector<HvRef<HvProperty>>& list = properties[pass];
  auto it = std::find_if(list.begin(), list.end(), [kind](const HvRef<HvProperty>& e) { return e->GetKind() == kind; });
  if (it != list.end()) list.erase(it);
}

HvProperty* HvNode::FindProperty(uint32_t kind, uint32_t pass) const {
  for (const HvRef<HvProperty>& p : properties[pass])
    if (p->GetKind() == kind) return p.Get();
  return nullptr;
}

HvProperty* HvNode::GetProperty(uint32_t index, uint32_t pass) const {
  return index < properties[pass].size() ? properties[pass][index].Get() : nullptr;
}

D3DXMATRIX* HvNode::SetMatrix(uint32_t slot, const D3DXMATRIX& m) {
  matrices[slot] = m;
  if (slot == HvMatrixLocal) SetFlag(HvFlags::Changed);
  else if (slot == HvMatrixPreTransform) SetFlag(HvNodeFlags::UsePreTransform | HvFlags::Changed);
  else if (slot == HvMatrixPostTransform) SetFlag(HvNodeFlags::UsePostTransform | HvFlags::Changed);
  return &matrices[slot];
}

HvNode* HvNode::Clone() {
  const uint32_t cloneBits = HvNodeFlags::CloneGeometry | HvNodeFlags::CloneProperties;
  HvNode* copy = new HvNode(GetName().c_str());
  if (HasFlag(HvNodeFlags::CloneGeometry) && geometry) copy->geometry = geometry->Clone();
  else copy->geometry = geometry;
  copy->ClearFlag(copy->GetFlags());
  copy->SetFlag(GetFlags() & ~HvNodeFlags::CloneGeometry);
  std::copy(matrices, matrices + HvMatrixCount, copy->matrices);
  for (uint32_t pass = 0; pass < HvPassCount; ++pass) {
    for (const HvRef<HvProperty>& p : properties[pass]) {
      HvProperty* added = p.Get();
      // A kind that cannot be copied is shared rather than lost.
      if (HasFlag(HvNodeFlags::CloneProperties))
        if (HvProperty* c = p->Clone()) added = c;
      copy->AddProperty(added, pass);
    }
  }
  for (size_t i = 0; i < children.size(); ++i) {
    HvNode* c = children[i].Get();
    c->ClearFlag(cloneBits);
    c->SetFlag(GetFlags() & cloneBits);
    copy->AddChild(c->Clone());
    c->ClearFlag(cloneBits);
  }
  ClearFlag(HvNodeFlags::CloneGeometry);
  return copy;
}

void HvNode::GroupByVertexShader(uint32_t pass) {
  if (HasFlag(HvNodeFlags::SkipGrouping)) {
    ClearFlag(HvNodeFlags::SkipGrouping);
    return;
  }
  HvProperty* inherited = nullptr;
  for (HvNode* n = this; n && !inherited; n = n->parent) inherited = n->FindProperty(HvPropertyVertexShader, pass);

  std::vector<HvRef<HvProperty>> distinct;
  for (size_t i = 0; i < children.size(); ++i) {
    HvNode* c = children[i].Get();
    HvProperty* p = c->FindProperty(HvPropertyVertexShader, pass);
    if (!p) continue;
    if (p == inherited) c->RemoveProperty(HvPropertyVertexShader, pass);
    else if (std::none_of(distinct.begin(), distinct.end(), [p](const HvRef<HvProperty>& d) { return d.Get() == p; }))
      distinct.push_back(p);
  }

  for (size_t i = 0; i < distinct.size(); ++i) {
    char name[32];
    snprintf(name, sizeof name, "%s%d", "_DummyNode_", int(i));
    HvNode* group = new HvNode(name);
    AddChild(group);
    group->AddProperty(distinct[i].Get(), pass);
    std::vector<HvRef<HvNode>> moving;
    for (const HvRef<HvNode>& c : children)
      if (c.Get() != group && c->FindProperty(HvPropertyVertexShader, pass) == distinct[i].Get()) moving.push_back(c);
    for (const HvRef<HvNode>& c : moving) {
      c->RemoveProperty(HvPropertyVertexShader, pass);
      RemoveChild(c.Get());
      group->AddChild(c.Get());
    }
  }

  for (size_t i = 0; i < children.size(); ++i) children[i]->GroupByVertexShader(pass);
  Refresh();
}
