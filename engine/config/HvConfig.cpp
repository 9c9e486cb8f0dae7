#include "HvConfig.h"
#include "../core/HvCore.h"
#include "../core/HvDeviceSettings.h"
#include "../core/HvMessageBox.h"
#include "../render/HvAdapter.h"

bool HvConfig::CheckCaps(const D3DCAPS9* caps) {
  hardwareVertexProcessing = caps->VertexShaderVersion >= D3DVS_VERSION(1, 1);
  if (!hardwareVertexProcessing)
    HvMessageBox("Only software vertex processing is available", HvCore::GetInstance()->GetName().c_str(), MB_ICONINFORMATION);
  return true;
}

bool HvConfig::RunDialog(HvDeviceSettings& s, const HvDisplayMode& desktop) {
  HvSetDefaultSettings(s, desktop.format, hardwareVertexProcessing);
  const HvAutomation& a = HvCore::GetInstance()->GetAutomation();
  s.displayWidth = s.backBufferWidth = a.width;
  s.displayHeight = s.backBufferHeight = a.height;
  s.windowed = a.windowed;
  s.displayFormat = s.backBufferFormat = a.windowed ? desktop.format : a.depth == 16 ? D3DFMT_R5G6B5 : D3DFMT_X8R8G8B8;
  s.presentationInterval = a.mode == 1 ? D3DPRESENT_INTERVAL_IMMEDIATE : D3DPRESENT_INTERVAL_ONE;
  s.fullScreenRefreshRate = 0;
  return ValidateSettings(s);
}
