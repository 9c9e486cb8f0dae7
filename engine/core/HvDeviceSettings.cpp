#include "HvDeviceSettings.h"

void HvSetDefaultSettings(HvDeviceSettings& s, D3DFORMAT desktopFormat, bool hardwareVertexProcessing) {
  s.deviceType = D3DDEVTYPE_HAL;
  s.displayWidth = 640;
  s.displayHeight = 480;
  s.displayFormat = desktopFormat;
  s.backBufferWidth = 0;
  s.backBufferHeight = 0;
  s.backBufferFormat = desktopFormat;
  s.backBufferCount = 1;
  s.multiSampleType = D3DMULTISAMPLE_NONE;
  s.multiSampleQuality = 0;
  s.swapEffect = D3DSWAPEFFECT_DISCARD;
  s.deviceWindow = nullptr;
  s.windowed = true;
  s.enableAutoDepthStencil = true;
  s.autoDepthStencilFormat = D3DFMT_D24S8;
  s.presentFlags = 0;
  s.fullScreenRefreshRate = 0;
  s.presentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
  s.behaviorFlags = hardwareVertexProcessing ? D3DCREATE_HARDWARE_VERTEXPROCESSING : D3DCREATE_SOFTWARE_VERTEXPROCESSING;
}

D3DPRESENT_PARAMETERS HvMakePresentParameters(const HvDeviceSettings& s) {
  D3DPRESENT_PARAMETERS p = {};
  p.BackBufferWidth = s.backBufferWidth;
  p.BackBufferHeight = s.backBufferHeight;
  p.BackBufferFormat = s.backBufferFormat;
  p.BackBufferCount = s.backBufferCount;
  p.MultiSampleType = s.multiSampleType;
  p.MultiSampleQuality = s.multiSampleQuality;
  p.SwapEffect = s.swapEffect;
  p.hDeviceWindow = s.deviceWindow;
  p.Windowed = s.windowed ? TRUE : FALSE;
  p.EnableAutoDepthStencil = s.enableAutoDepthStencil ? TRUE : FALSE;
  p.AutoDepthStencilFormat = s.autoDepthStencilFormat;
  p.Flags = s.presentFlags;
  p.FullScreen_RefreshRateInHz = s.fullScreenRefreshRate;
  p.PresentationInterval = s.presentationInterval;
  return p;
}
