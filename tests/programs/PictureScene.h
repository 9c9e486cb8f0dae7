// The small lit scene of the picture test, built under the core's scene root: an opaque cube lit
// from the front, a translucent strip in front of it, and a billboard up to the left. The camera
// looks from (4, 0, -4) at the origin, so the cube shows its front (lit) and right (unlit) faces.
// The picture program renders it with a real device; the unit tests count its state calls.
#pragma once
#include <d3dx9.h>
#include <vector>
#include "engine/core/HvCore.h"
#include "engine/render/HvAdapter.h"

// The parts of start-up a picture needs: engine objects, a window and a windowed device of the given
// back-buffer size, without a dialog. The size must be that of the display (a windowed device needs
// it as a display mode): 1024x768 under the tests' Xvfb.
class PictureCore : public HvCore {
public:
  PictureCore() : HvCore("Orvanta") {}
  bool Open(UINT width, UINT height);

  HvRef<HvAdapter> adapter;
};

struct PictureScene {
  // World points to sample; their expected colours are documented in scene_picture.cpp.
  D3DXVECTOR3 litFace, unlitFace, stripOverCube, stripOverBackground, billboardEdge;
};

// Builds the scene and sets the default camera; aspect = width / height of the picture.
PictureScene BuildPictureScene(float aspect);

// The width x height back buffer as 32-bit X8R8G8B8 pixels, row by row, copied into system memory.
bool ReadBackBuffer(IDirect3DDevice9* d, UINT width, UINT height, std::vector<DWORD>& pixels);
