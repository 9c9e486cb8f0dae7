#include "StationModel.h"
#include "engine/assets/HvTexture.h"
#include "engine/render/HvGeometry.h"
#include "engine/render/HvMaterialProperty.h"
#include "engine/render/HvTexturingProperty.h"
#include "engine/core/HvCore.h"

namespace {
const uint32_t kPlain = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1;
const uint32_t kPainted = kPlain | D3DFVF_DIFFUSE;

HvTexture* Texture(const char* name) {
  HvObject* found = HvCore::GetInstance()->GetPool(HvPoolTexture)->FindByName(name);
  return found ? static_cast<HvTexture*>(found) : new HvTexture(name, TextureDesc());  // the pool holds it
}

// A node with a one-triangle mesh, a white material and, if named, a texture on stage 0.
HvNode* Mesh(HvNode* parent, const char* name, uint32_t format, const char* texture = nullptr) {
  HvGeometry* g = new HvGeometry({D3DPT_TRIANGLELIST, format, 3, 0});
  const float corners[9] = {0, 0, 0, 0, 1, 0, 1, 0, 0};
  std::copy(corners, corners + 9, g->GetPositions());
  for (int i = 0; i < 3; ++i) g->GetNormals()[3 * i + 2] = -1;
  g->Refresh();
  HvNode* n = new HvNode(name, g);
  auto* m = new HvMaterial;
  std::fill(m->color, m->color + 4, 1.0f);
  n->AddProperty(new HvMaterialProperty(m), 0);
  if (texture) {
    auto* t = new HvTexturingProperty;
    t->SetStage(0, Texture(texture), nullptr);
    n->AddProperty(t, 0);
  }
  if (parent) parent->AddChild(n);
  return n;
}

HvNode* Group(HvNode* parent, const char* name) {
  HvNode* n = new HvNode(name);
  parent->AddChild(n);
  return n;
}
}  // namespace

void RegisterStationTextures() {
  for (const char* name : {"wire.jpg", "desk01.jpg", "wire.tga", "desk01.tga", "CubeTexture.dds", "CubeTexture2.dds",
                           "CubeGlass.dds", "toon.bmp", "edgeimage.dds", "ice.tga", "st_hull.bmp", "st_wall.bmp"})
    Texture(name);
}

HvNode* BuildStationModel() {
  RegisterStationTextures();
  HvNode* root = new HvNode("Station.x");
  Mesh(root, "Corridor", kPlain, "wire.jpg");
  Mesh(root, "Object55", kPlain, "st_wall.bmp");
  Mesh(root, "Plane20", kPlain, "st_wall.bmp");
  HvNode* room = Mesh(root, "Room", kPainted, "st_wall.bmp");
  HvNode* ship = Group(room, "ship");
  ship->AddProperty(new HvMaterialProperty(new HvMaterial), 0);
  for (const char* name : {"Material_1", "Material_2", "Material_3", "Material_4"}) Mesh(ship, name, kPlain, "st_hull.bmp");
  Mesh(room, "Sphere02", kPlain, "st_wall.bmp");
  HvNode* fan = Group(room, "Wentylator");
  Mesh(fan, "blade_1", kPlain);
  Mesh(fan, "blade_2", kPlain);
  Mesh(room, "desk", kPlain, "desk01.jpg");
  Mesh(root, "Sufit", kPlain, "st_wall.bmp");
  HvNode* sky = Group(root, "SkyBox");
  Mesh(sky, "sky_plain", kPlain, "st_wall.bmp");
  Mesh(sky, "sky_front", kPainted, "st_wall.bmp");
  Mesh(sky, "sky_back", kPainted, "st_wall.bmp");
  Mesh(root, "glass_station", kPlain);
  Mesh(root, "glass_corridor", kPlain);
  HvNode* path = Group(root, "Camera");
  Mesh(path, "camera", kPlain);
  Mesh(path, "cameratarget", kPlain);
  root->Refresh();
  return root;
}
