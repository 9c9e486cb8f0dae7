// Everything the window and the Direct3D device are made from. The configuration dialog fills it,
// the main window stores its handle in it, the adapter creates and resets the device from it.
#pragma once
#include <d3d9.h>
#include <cstdint>

struct HvDeviceSettings {
  D3DDEVTYPE deviceType;
  uint32_t displayWidth;         // pixels: window size and display-mode check
  uint32_t displayHeight;
  D3DFORMAT displayFormat;       // adapter format
  // The presentation parameters, in D3DPRESENT_PARAMETERS order.
  uint32_t backBufferWidth;      // 0: the window's client size
  uint32_t backBufferHeight;
  D3DFORMAT backBufferFormat;
  uint32_t backBufferCount;
  D3DMULTISAMPLE_TYPE multiSampleType;
  uint32_t multiSampleQuality;
  D3DSWAPEFFECT swapEffect;
  HWND deviceWindow;             // set by the core's CreateMainWindow
  bool windowed;
  bool enableAutoDepthStencil;
  D3DFORMAT autoDepthStencilFormat;
  uint32_t presentFlags;
  uint32_t fullScreenRefreshRate;  // always 0: the display's current rate
  uint32_t presentationInterval;
  uint32_t behaviorFlags;        // CreateDevice: D3DCREATE_HARDWARE_ or _SOFTWARE_VERTEXPROCESSING
};

// The values the configuration dialogs write before every dialog.
void HvSetDefaultSettings(HvDeviceSettings& s, D3DFORMAT desktopFormat, bool hardwareVertexProcessing);

// The presentation parameters for CreateDevice and Reset, the booleans widened to BOOL.
D3DPRESENT_PARAMETERS HvMakePresentParameters(const HvDeviceSettings& s);
