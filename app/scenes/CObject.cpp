#include "CObject.h"
#include "../CCore.h"
#include "../../engine/core/HvMessageBox.h"
#include "../../engine/render/HvGeometry.h"
#include "../../engine/render/HvMaterialProperty.h"
#include "../../engine/render/HvNode.h"
#include <cstring>

CObject::CObject(const char* name) : HvObject(name) {}

CObject::~CObject() = default;

void CObject::SetNode(HvNode* n) { node = n; }

CEventCollector& CObject::Events() { return *CCore::GetApp()->GetEventCollector(); }

bool CObject::CreateNodeWith(const char* nodeName, HvGeometry* geometry) {
  if (!geometry->Refresh()) {
    geometry->Release();
    return false;
  }
  node = new HvNode(nodeName, geometry);
  HvCore::GetInstance()->GetSceneRoot()->AddChild(node.Get());
  node->Refresh();
  return true;
}

bool CObject::HasNodes(HvNode* model, const char* file, std::initializer_list<const char*> names) {
  std::string missing;
  size_t count = 0;
  for (const char* name : names) {
    if (model->FindNode(name)) continue;
    missing += std::string(count++ ? ", '" : "'") + name + "'";
  }
  if (count == 0) return true;
  HvShowError(((count == 1 ? "Node " : "Nodes ") + missing + " missing in '" + file + "'").c_str());
  return false;
}

bool CObject::Update() {
  eventProgress = -1.0f;
  ClearFlag(HvFlags::FirstFrame);
  return true;
}

bool CObject::Release() {
  if (node && node->GetParent()) node->GetParent()->RemoveChild(node.Get());
  return true;
}

bool CObject::OnEvent(float progress, const std::string& name) {
  eventProgress = progress;
  if (name == "turn_on" || name == "turn_off") {
    const bool on = name == "turn_on";
    if (node) node->SetFlag(HvFlags::Active, on);
    SetFlag(HvFlags::Active, on);
  }
  return true;
}

void CObject::SetSubtreeMaterial(HvNode* n, const float* diffuse, const float* specular, const float* power) {
  for (uint32_t pass = 0; pass < HvPassCount; ++pass) {
    auto* p = static_cast<HvMaterialProperty*>(n->FindProperty(HvPropertyMaterial, pass));
    if (!p || !p->material) continue;
    if (diffuse) memcpy(p->material->color, diffuse, sizeof p->material->color);
    if (specular) memcpy(p->material->specular, specular, sizeof p->material->specular);
    if (power) p->material->power = *power;
  }
  for (size_t i = 0; i < n->GetChildCount(); ++i) SetSubtreeMaterial(n->GetChild(i), diffuse, specular, power);
}
