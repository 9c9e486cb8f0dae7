// Drawing and reading back on the tests' real device (RealDevice.h): the core of the test process with
// its pools, its window and a windowed 1024 x 768 device, the size of the test display.
#pragma once
#include <gtest/gtest.h>
#include "RealDevice.h"
#include "engine/render/HvDevice.h"
#include <functional>
#include <string>
#include <vector>

class CoreDeviceTest : public ::testing::Test {
protected:
  void SetUp() override {
    core = RealDeviceCore();
    ASSERT_TRUE(core) << "no device";
    window = core->GetSettings().deviceWindow;
  }

  static IDirect3DDevice9* Device() { return core->GetDevice()->GetD3DDevice(); }

  // Clears the back buffer to black and runs `draw` inside BeginScene / EndScene; nothing is presented.
  static void DrawFrame(const std::function<void()>& draw) {
    IDirect3DDevice9* d = Device();
    d->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_ARGB(255, 0, 0, 0), 1.0f, 0);
    d->BeginScene();
    draw();
    d->EndScene();
  }

  // The back buffer as 0xXXRRGGBB pixels, row by row; empty on failure.
  static std::vector<uint32_t> ReadBackBuffer(uint32_t& width) {
    std::vector<uint32_t> pixels;
    IDirect3DSurface9 *back = nullptr, *copy = nullptr;
    D3DSURFACE_DESC desc;
    D3DLOCKED_RECT lock;
    if (SUCCEEDED(Device()->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back)) && SUCCEEDED(back->GetDesc(&desc)) &&
        SUCCEEDED(Device()->CreateOffscreenPlainSurface(desc.Width, desc.Height, desc.Format, D3DPOOL_SYSTEMMEM, &copy,
                                                        nullptr)) &&
        SUCCEEDED(Device()->GetRenderTargetData(back, copy)) && SUCCEEDED(copy->LockRect(&lock, nullptr, D3DLOCK_READONLY))) {
      width = desc.Width;
      for (uint32_t y = 0; y < desc.Height; ++y) {
        const uint32_t* row = reinterpret_cast<const uint32_t*>(static_cast<const char*>(lock.pBits) + y * lock.Pitch);
        pixels.insert(pixels.end(), row, row + desc.Width);
      }
      copy->UnlockRect();
    }
    if (copy) copy->Release();
    if (back) back->Release();
    return pixels;
  }

  static inline HvCore* core = nullptr;
  static inline HWND window = nullptr;
};
