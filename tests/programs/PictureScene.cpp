#include "PictureScene.h"
#include <algorithm>
#include <cstring>
#include "engine/core/HvCore.h"
#include "engine/render/HvAlphaProperty.h"
#include "engine/render/HvBillboardProperty.h"
#include "engine/render/HvCamera.h"
#include "engine/render/HvClearProperty.h"
#include "engine/render/HvCullingProperty.h"
#include "engine/render/HvDevice.h"
#include "engine/render/HvDirectionalLight.h"
#include "engine/render/HvGeometry.h"
#include "engine/render/HvLightingProperty.h"
#include "engine/render/HvMaterialProperty.h"
#include "engine/render/HvNode.h"

namespace {
// A unit cube centred on the origin: 6 faces of 2 triangles, one normal per face.
HvGeometry* MakeCube() {
  HvGeometry* g = new HvGeometry({D3DPT_TRIANGLELIST, D3DFVF_XYZ | D3DFVF_NORMAL, 36, 0});
  const float n[6][3] = {{0, 0, -1}, {0, 0, 1}, {-1, 0, 0}, {1, 0, 0}, {0, -1, 0}, {0, 1, 0}};
  const int corner[6][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 0}, {1, 1}, {0, 1}};
  int v = 0;
  for (const auto& normal : n) {
    const D3DXVECTOR3 nv(normal[0], normal[1], normal[2]);
    const D3DXVECTOR3 u = nv.y != 0 ? D3DXVECTOR3(1, 0, 0) : D3DXVECTOR3(0, 1, 0);
    D3DXVECTOR3 w;
    D3DXVec3Cross(&w, &nv, &u);
    for (const auto& c : corner) {
      const D3DXVECTOR3 p = 0.5f * nv + (c[0] - 0.5f) * u + (c[1] - 0.5f) * w;
      float* pos = g->GetPositions() + v * 3;
      float* nor = g->GetNormals() + v * 3;
      pos[0] = p.x, pos[1] = p.y, pos[2] = p.z;
      nor[0] = nv.x, nor[1] = nv.y, nor[2] = nv.z;
      ++v;
    }
  }
  g->Refresh();
  return g;
}

// Two triangles spanning [x0, x1] x [y0, y1] in the plane z, in one vertex colour.
HvGeometry* MakeQuad(float x0, float x1, float y0, float y1, float z, const float color[4]) {
  HvGeometry* g = new HvGeometry({D3DPT_TRIANGLESTRIP, D3DFVF_XYZ | D3DFVF_DIFFUSE, 4, 0});
  const float corners[4][2] = {{x0, y0}, {x0, y1}, {x1, y0}, {x1, y1}};
  for (int v = 0; v < 4; ++v) {
    float* p = g->GetPositions() + v * 3;
    p[0] = corners[v][0], p[1] = corners[v][1], p[2] = z;
    for (int i = 0; i < 4; ++i) g->GetDiffuse()[v * 4 + i] = color[i];
  }
  g->Refresh();
  return g;
}
}

PictureScene BuildPictureScene(float aspect) {
  HvCore* core = HvCore::GetInstance();
  HvNode* root = core->GetSceneRoot();
  HvCamera* camera = core->GetDefaultCamera();
  camera->LookAt(D3DXVECTOR3(4, 0, -4), D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 1, 0));
  camera->SetProjection(0.7853982f, aspect, 1.0f, 100.0f);
  camera->Refresh();

  HvClearProperty* clear = new HvClearProperty;
  clear->flags = D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER;
  const float background[4] = {0, 0, 0.25f, 1};
  std::copy(background, background + 4, clear->color);
  root->AddProperty(clear, 0);

  HvNode* cube = new HvNode("cube", MakeCube());
  root->AddChild(cube);
  HvMaterial* red = new HvMaterial;
  const float redColor[4] = {1, 0.3f, 0.3f, 1};
  std::copy(redColor, redColor + 4, red->color);
  cube->AddProperty(new HvMaterialProperty(red), 0);
  HvLightingProperty* lighting = new HvLightingProperty;
  HvDirectionalLight* front = new HvDirectionalLight;
  front->direction[0] = 0, front->direction[1] = 0, front->direction[2] = 1;  // onto the -z face only
  lighting->AddLight(front);
  lighting->ambient[0] = lighting->ambient[1] = lighting->ambient[2] = 0.2f;
  cube->AddProperty(lighting, 0);
  cube->AddProperty(new HvCullingProperty(D3DCULL_NONE), 0);  // the depth test hides the far faces

  const float green[4] = {0, 1, 0, 0.5f};
  HvNode* strip = new HvNode("strip", MakeQuad(0.764f, 1.164f, -0.1f, 1.2f, -1.5f, green));
  root->AddChild(strip);
  HvAlphaProperty* alpha = new HvAlphaProperty;
  alpha->bucket = 4;
  strip->AddProperty(alpha, 0);
  strip->AddProperty(new HvCullingProperty(D3DCULL_NONE), 0);
  strip->InheritAlphaState();

  HvNode* place = new HvNode("billboard place");
  place->SetMatrix(HvMatrixLocal, D3DXMATRIX(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, -1.5f, 1.0f, 1.0f, 1));
  root->AddChild(place);
  const float yellow[4] = {1, 1, 0, 1};
  HvNode* billboard = new HvNode("billboard", MakeQuad(-0.4f, 0.4f, -0.4f, 0.4f, 0, yellow));
  place->AddChild(billboard);
  billboard->AddProperty(new HvBillboardProperty, 0);
  billboard->AddProperty(new HvCullingProperty(D3DCULL_NONE), 0);
  root->Refresh();

  PictureScene s;
  s.litFace = D3DXVECTOR3(-0.35f, -0.3f, -0.5f);
  s.unlitFace = D3DXVECTOR3(0.5f, 0, 0.2f);
  s.stripOverCube = D3DXVECTOR3(0.964f, 0, -1.5f);
  s.stripOverBackground = D3DXVECTOR3(0.964f, 1.0f, -1.5f);
  // 0.85 of the billboard's half width along the camera's right: covered only if it faces the camera.
  s.billboardEdge = D3DXVECTOR3(-1.5f, 1.0f, 1.0f) + 0.34f * D3DXVECTOR3(0.7071f, 0, 0.7071f);
  return s;
}

// The back buffer as 32-bit pixels, copied into system memory.
bool ReadBackBuffer(IDirect3DDevice9* d, UINT width, UINT height, std::vector<DWORD>& pixels) {
  IDirect3DSurface9 *back = nullptr, *copy = nullptr;
  bool ok = SUCCEEDED(d->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back)) &&
            SUCCEEDED(d->CreateOffscreenPlainSurface(width, height, D3DFMT_X8R8G8B8, D3DPOOL_SYSTEMMEM, &copy, nullptr)) &&
            SUCCEEDED(d->GetRenderTargetData(back, copy));
  D3DLOCKED_RECT r;
  if (ok && SUCCEEDED(copy->LockRect(&r, nullptr, D3DLOCK_READONLY))) {
    pixels.resize(width * height);
    for (UINT y = 0; y < height; ++y)
      memcpy(&pixels[y * width], static_cast<BYTE*>(r.pBits) + y * r.Pitch, width * 4);
    copy->UnlockRect();
  } else {
    ok = false;
  }
  if (copy) copy->Release();
  if (back) back->Release();
  return ok;
}

bool PictureCore::Open(UINT width, UINT height) {
  if (!CreateEngineObjects()) return false;
  adapter = new HvAdapter;
  HvDisplayMode desktop;
  if (!adapter->Create() || !adapter->GetCurrentDisplayMode(desktop)) return false;
  HvDeviceSettings& s = GetSettings();
  HvSetDefaultSettings(s, desktop.format, true);
  s.displayWidth = s.backBufferWidth = width;
  s.displayHeight = s.backBufferHeight = height;
  window = CreateMainWindow();
  if (!window) return false;
  HvDevice* device = adapter->CreateDevice(s);
  SetDevice(device);
  return device != nullptr;
}
