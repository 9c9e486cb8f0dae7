// A core with its pools, a window and a windowed 1024 x 768 device (the size of the test display),
// made once per test suite. Message boxes are logged, so a failure cannot block the run.
#pragma once
#include <gtest/gtest.h>
#include "engine/core/HvCore.h"
#include "engine/core/HvDeviceSettings.h"
#include "engine/core/HvMessageBox.h"
#include "engine/render/HvDevice.h"
#include <functional>
#include <string>
#include <vector>

class CoreDeviceTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    previous = HvCore::GetInstance();
    core = new HvCore("OrvantaDeviceTest");
    core->AddRef();
    HvCore::SetInstance(core);
    HvAutomation options;
    options.skipDialog = options.windowed = true;
    core->SetAutomation(options);
    HvSetMessageBoxLogging(true);
    window = nullptr;
    ready = core->Initialize() && (window = core->CreateMainWindow()) != nullptr && core->Create();
  }
  static void TearDownTestSuite() {
    if (ready) core->Stop();
    HvCore::SetInstance(previous);  // first: the core's window procedure would post a quit message
    if (window) DestroyWindow(window);
    UnregisterClassA("OrvantaDeviceTest", GetModuleHandleA(nullptr));
    HvSetMessageBoxLogging(false);
    core->DropRef();
  }
  void SetUp() override { ASSERT_TRUE(ready) << "no device"; }

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

  // Message boxes shown while `run` runs.
  static std::string Logged(const std::function<void()>& run) {
    testing::internal::CaptureStderr();
    run();
    return testing::internal::GetCapturedStderr();
  }

  static inline HvCore* core = nullptr;
  static inline HvCore* previous = nullptr;
  static inline HWND window = nullptr;
  static inline bool ready = false;
};
