// Renders one frame of a small lit scene with the real engine and a real Direct3D device in a
// 1024x768 window (the Xvfb screen size, which a windowed device needs as a display mode) and
// checks sampled pixels of the back buffer. Exit code 0 when every check holds.
#include "PictureScene.h"
#include "engine/core/HvCore.h"
#include "engine/core/HvMessageBox.h"
#include "engine/render/HvCamera.h"
#include "engine/render/HvDevice.h"
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {
const UINT width = 1024, height = 768;

struct Pixel {
  int r, g, b;
};

int failures = 0;

void Check(const char* what, bool ok, Pixel p) {
  printf("%s: %s (pixel %d, %d, %d)\n", ok ? "ok" : "FAILED", what, p.r, p.g, p.b);
  if (!ok) ++failures;
}
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  HvSetMessageBoxLogging(true);
  PictureCore* core = new PictureCore;
  core->AddRef();
  HvCore::SetInstance(core);
  std::vector<DWORD> pixels;
  PictureScene scene = {};
  bool rendered = core->Open(width, height);
  if (rendered) {
    scene = BuildPictureScene(float(width) / height);
    rendered = core->BeginFrame() && core->Render() && ReadBackBuffer(core->GetDevice()->GetD3DDevice(), width, height, pixels) &&
               core->EndFrame();
  }
  if (!rendered) {
    fprintf(stderr, "scene_picture: no frame\n");
    return 1;
  }

  const D3DXMATRIX& viewProjection = core->GetDefaultCamera()->GetViewProjection();
  auto at = [&](const D3DXVECTOR3& world) {
    D3DXVECTOR3 ndc;
    D3DXVec3TransformCoord(&ndc, &world, &viewProjection);
    const int x = int((ndc.x + 1) * 0.5f * width), y = int((1 - ndc.y) * 0.5f * height);
    const DWORD c = pixels[std::min<UINT>(y, height - 1) * width + std::min<UINT>(x, width - 1)];
    return Pixel{int(c >> 16 & 0xFF), int(c >> 8 & 0xFF), int(c & 0xFF)};
  };
  const Pixel lit = at(scene.litFace), unlit = at(scene.unlitFace);
  const Pixel overCube = at(scene.stripOverCube), overBackground = at(scene.stripOverBackground);
  const Pixel billboard = at(scene.billboardEdge);
  const DWORD corner = pixels[10 * width + 10];
  const Pixel background = {int(corner >> 16 & 0xFF), int(corner >> 8 & 0xFF), int(corner & 0xFF)};

  // Cube material (1, 0.3, 0.3), ambient 0.2: lit face about (255, 92, 92), unlit face (51, 15, 15).
  Check("lit face", lit.r > 230 && lit.g > 60 && lit.g < 120, lit);
  Check("unlit face", unlit.r > 30 && unlit.r < 80 && unlit.g < 30, unlit);
  Check("lit face brighter than unlit face", lit.r > unlit.r + 100, lit);
  // Green at alpha 0.5 over the lit face: about (127, 173, 46); over the background: (0, 127, 32).
  Check("strip blended over the cube", overCube.r > 100 && overCube.r < 160 && overCube.g > 140 && overCube.g < 210,
        overCube);
  Check("strip blended over the background",
        overBackground.r < 20 && overBackground.g > 100 && overBackground.g < 160 && overBackground.b > 15 &&
            overBackground.b < 50,
        overBackground);
  Check("background", background.r < 4 && background.g < 4 && background.b > 58 && background.b < 68, background);
  Check("billboard faces the camera", billboard.r > 200 && billboard.g > 200 && billboard.b < 50, billboard);

  core->Stop();
  core->DropRef();
  HvCore::SetInstance(nullptr);
  return failures ? 1 : 0;
}
