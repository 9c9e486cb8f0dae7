// Renders the station's ship from the generated data with a real Direct3D device, plain and in the
// "pulse" shading, from the same viewpoints, and compares their silhouettes. The pulse shader moves
// the hull's vertices along their normals by up to one object unit, on a sine that grows denser with
// show time; on a hull many units across that is a ripple, on a thin one it tears the hull apart.
// Every pulse picture, at show times across both pulse scenes, must keep the plain ship's outline:
// about the same covered area and few pixels that only one of the two covers.
// Runs in the generated data tree (ORVANTA_TEST_DATA); exit code 0 when every check holds. With a
// folder as its argument it also saves every picture there (ship_<view>_<time>.bmp), for a look.
#include "PictureScene.h"
#include "app/scenes/CEffectShip.h"
#include "engine/assets/HvXFileLoader.h"
#include "engine/core/HvMessageBox.h"
#include "engine/render/HvCamera.h"
#include "engine/render/HvCameraProperty.h"
#include "engine/render/HvClearProperty.h"
#include "engine/render/HvDevice.h"
#include "engine/render/HvLightingProperty.h"
#include <cmath>
#include <iterator>
#include <cstdio>
#include <string>
#include <vector>

namespace {
const UINT width = 1024, height = 768;
const DWORD kBackground = 0xFF00FF;  // magenta: no colour of the ship

// The ship effect on a frame that holds only the ship, with the shader time set directly.
class ShipStage : public CEffectShip {
public:
  ShipStage() : CEffectShip("ShipStage") {}
  void SetShowTime(float t) { shaderTime[0] = shaderTime[1] = shaderTime[2] = 0.3f * t; }
};

std::string saveFolder;

// Covered pixels: those that differ from the background. Saved as `name` when a folder was given.
bool Grab(PictureCore* core, std::vector<bool>& covered, const char* name) {
  std::vector<DWORD> pixels;
  IDirect3DDevice9* d = core->GetDevice()->GetD3DDevice();
  if (!core->BeginFrame() || !core->Render() || !ReadBackBuffer(d, width, height, pixels)) return false;
  if (!saveFolder.empty()) {
    IDirect3DSurface9* back = nullptr;
    if (SUCCEEDED(d->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back))) {
      D3DXSaveSurfaceToFileA((saveFolder + "\\" + name).c_str(), D3DXIFF_BMP, back, nullptr, nullptr);
      back->Release();
    }
  }
  if (!core->EndFrame()) return false;
  covered.resize(pixels.size());
  for (size_t i = 0; i < pixels.size(); ++i) {
    const DWORD p = pixels[i] & 0xFFFFFF;
    const int dr = int(p >> 16) - 0xFF, dg = int(p >> 8 & 0xFF), db = int(p & 0xFF) - 0xFF;
    covered[i] = std::abs(dr) > 8 || dg > 8 || std::abs(db) > 8;
  }
  return true;
}

size_t Count(const std::vector<bool>& v) {
  size_t n = 0;
  for (bool b : v) n += b;
  return n;
}

int failures = 0;

void Check(bool ok, const char* what) {
  printf("%s: %s\n", ok ? "ok" : "FAILED", what);
  if (!ok) ++failures;
}
}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  HvSetMessageBoxLogging(true);
  saveFolder = commandLine;
  if (!SetCurrentDirectoryA(ORVANTA_TEST_DATA)) {
    fprintf(stderr, "ship_picture: no data folder %s\n", ORVANTA_TEST_DATA);
    return 1;
  }
  PictureCore* core = new PictureCore;
  core->AddRef();
  HvCore::SetInstance(core);
  if (!core->Open(width, height)) {
    fprintf(stderr, "ship_picture: no device\n");
    return 1;
  }

  // The ship frame alone (scale and all) under a frame of its own, with the station's ambient light.
  SetCurrentDirectoryA("Station\\");
  HvRef<HvNode> model = LoadXFile("Station.x");
  SetCurrentDirectoryA("..");
  HvRef<HvNode> ship = model ? model->FindNode("ship") : nullptr;
  if (!ship) {
    fprintf(stderr, "ship_picture: no ship in Station\\Station.x\n");
    return 1;
  }
  ship->GetParent()->RemoveChild(ship.Get());
  HvNode* root = core->GetSceneRoot();
  HvClearProperty* clear = new HvClearProperty;
  clear->flags = D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER;
  const float background[4] = {1, 0, 1, 1};
  std::copy(background, background + 4, clear->color);
  root->AddProperty(clear, 0);
  HvNode* hangar = new HvNode("hangar");
  root->AddChild(hangar);
  hangar->AddChild(ship.Get());
  HvRef<HvCamera> camera = new HvCamera("ship_camera");
  hangar->AddProperty(new HvCameraProperty(camera.Get()), 0);
  HvLightingProperty* lighting = new HvLightingProperty;
  lighting->ambient[0] = lighting->ambient[1] = lighting->ambient[2] = 0.1f;
  hangar->AddProperty(lighting, 0);
  hangar->Refresh();
  HvRef<ShipStage> stage = new ShipStage;
  stage->SetNode(hangar);
  stage->PostCreate();

  // Viewpoints as on the station's orbit (from the side, half ahead, half behind, a little above),
  // closer and narrower so that the ship spans most of the picture.
  const float angles[] = {1.5708f, 0.7854f, 2.3562f};
  // Show times across both pulse scenes; the sine grows denser with time, the last is the latest.
  const float times[] = {150.0f, 151.5f, 153.5f, 171.0f, 173.5f, 176.0f, 178.5f};
  char what[160], name[64];
  for (size_t view = 0; view < std::size(angles); ++view) {
    const float a = angles[view];
    camera->LookAt(D3DXVECTOR3(700 * sinf(a), 155, 700 * cosf(a)), D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 1, 0));
    camera->SetProjection(0.6981317f, float(width) / height, 30.0f, 5700.0f);  // 40 degrees
    camera->Refresh();
    std::vector<bool> plain, pulse;
    stage->ShowShip(CEffectShip::Specular);
    snprintf(name, sizeof name, "ship_%zu_plain.bmp", view);
    const bool drawn = Grab(core, plain, name);
    const size_t plainArea = Count(plain);
    snprintf(what, sizeof what, "plain ship drawn from angle %.2f (%zu pixels)", a, plainArea);
    Check(drawn && plainArea > width * height / 100, what);
    if (!drawn || plainArea == 0) continue;
    stage->ShowShip(CEffectShip::Pulse);
    for (float t : times) {
      stage->SetShowTime(t);
      snprintf(name, sizeof name, "ship_%zu_%.1f.bmp", view, t);
      if (!Grab(core, pulse, name)) {
        Check(false, "pulse picture");
        continue;
      }
      size_t onlyOne = 0;
      for (size_t i = 0; i < plain.size(); ++i) onlyOne += plain[i] != pulse[i];
      const double area = double(Count(pulse)) / plainArea, outline = double(onlyOne) / plainArea;
      snprintf(what, sizeof what, "pulse at %.1f s from angle %.2f keeps the outline: area %.3f of the plain ship's, %.3f covered by one only",
               t, a, area, outline);
      Check(area > 0.94 && area < 1.06 && outline < 0.08, what);
    }
  }

  stage.Reset();
  core->Stop();
  core->DropRef();
  HvCore::SetInstance(nullptr);
  return failures ? 1 : 0;
}
