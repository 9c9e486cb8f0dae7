#include "HvConfig.h"
#include "../../resources/resource.h"
#include "../core/HvCore.h"
#include "../core/HvDeviceSettings.h"
#include "../core/HvMessageBox.h"
#include "../core/HvTrace.h"
#include "../render/HvAdapter.h"

HvDeviceSettings* HvConfig::dialogSettings = nullptr;
HvConfig* HvConfig::dialogOwner = nullptr;

const char* const hvResolutionTexts[4] = {"640 x 480", "800 x 600", "1024 x 768", "1280 x 1024"};
const char* const hvDepthTexts[2] = {"32bpp", "16bpp"};
static const uint32_t resolutions[4][2] = {{640, 480}, {800, 600}, {1024, 768}, {1280, 1024}};
static const D3DFORMAT depthFormats[2] = {D3DFMT_X8R8G8B8, D3DFMT_R5G6B5};
static_assert(sizeof resolutions / sizeof resolutions[0] == sizeof hvResolutionTexts / sizeof hvResolutionTexts[0],
              "one size per resolution entry");

void HvSetResolution(HvDeviceSettings& s, int entry) {
  s.displayWidth = s.backBufferWidth = resolutions[entry][0];
  s.displayHeight = s.backBufferHeight = resolutions[entry][1];
}

void HvSetDepth(HvDeviceSettings& s, int entry) { s.displayFormat = s.backBufferFormat = depthFormats[entry]; }

void HvCentreDialog(HWND dialog) {
  RECT desktop, own;
  GetWindowRect(GetDesktopWindow(), &desktop);
  GetWindowRect(dialog, &own);
  const int width = own.right - own.left, height = own.bottom - own.top;
  SetWindowPos(dialog, nullptr, (desktop.right - desktop.left - width) / 2, (desktop.bottom - desktop.top - height) / 2,
               width, height, SWP_SHOWWINDOW);
}

void HvFillList(HWND dialog, int id, const char* const* texts, int count, int selected) {
  for (int i = 0; i < count; ++i) SendDlgItemMessageA(dialog, id, CB_ADDSTRING, 0, LPARAM(texts[i]));
  SendDlgItemMessageA(dialog, id, CB_SETCURSEL, WPARAM(selected), 0);
}

int HvGetListSelection(HWND dialog, int id) { return int(SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0)); }

bool HvConfig::CheckCaps(const D3DCAPS9* caps) {
  hardwareVertexProcessing = caps->VertexShaderVersion >= D3DVS_VERSION(1, 1);
  if (!hardwareVertexProcessing)
    HvMessageBox("Only software vertex processing is available", HvCore::GetInstance()->GetName().c_str(), MB_ICONINFORMATION);
  return true;
}

INT_PTR HvConfig::ShowDialog() {
  return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ENGINE_CONFIG), nullptr, DialogProc, 0);
}

// The answers only go to the trace: a pairing the driver refuses shows up when the device is created.
bool HvConfig::ValidateSettings(const HvDeviceSettings& s) {
  HvAdapter* adapter = HvCore::GetInstance()->GetAdapter();
  IDirect3D9* d3d = adapter ? adapter->GetD3D() : nullptr;
  if (!d3d) return true;
  if (FAILED(d3d->CheckDeviceFormat(D3DADAPTER_DEFAULT, s.deviceType, s.displayFormat, D3DUSAGE_DEPTHSTENCIL,
                                    D3DRTYPE_SURFACE, s.autoDepthStencilFormat)))
    HvTraceWrite("Depth-stencil format not available with this display format");
  if (FAILED(d3d->CheckDepthStencilMatch(D3DADAPTER_DEFAULT, s.deviceType, s.displayFormat, s.backBufferFormat,
                                         s.autoDepthStencilFormat)))
    HvTraceWrite("Depth-stencil format does not match the back-buffer format");
  return true;
}

void HvConfig::ApplyAutomation(const HvAutomation& a, HvDeviceSettings& s) {
  s.windowed = a.windowed;
  s.displayWidth = s.backBufferWidth = a.width;
  s.displayHeight = s.backBufferHeight = a.height;
  HvSetDepth(s, a.depth == 16 ? 1 : 0);
}

bool HvConfig::RunDialog(HvDeviceSettings& s, const HvDisplayMode& desktop) {
  dialogSettings = &s;
  dialogOwner = this;
  HvSetDefaultSettings(s, desktop.format, hardwareVertexProcessing);
  const HvAutomation& automation = HvCore::GetInstance()->GetAutomation();
  INT_PTR result = 1;
  if (automation.skipDialog)
    ApplyAutomation(automation, s);
  else
    result = ShowDialog();
  dialogSettings = nullptr;
  dialogOwner = nullptr;
  if (result == 0 || result == -1) return false;
  if (s.windowed) s.displayFormat = s.backBufferFormat = desktop.format;  // a windowed device uses the desktop's
  s.fullScreenRefreshRate = 0;
  return ValidateSettings(s);
}

INT_PTR CALLBACK HvConfig::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  static const char* const modeTexts[] = {"Windowed", "Fullscreen"};
  if (message == WM_INITDIALOG) {
    EnableWindow(GetDlgItem(dialog, IDC_ENGINE_FORMAT), FALSE);
    HvCentreDialog(dialog);
    HvFillList(dialog, IDC_ENGINE_MODE, modeTexts, 2, 0);
    HvFillList(dialog, IDC_ENGINE_FORMAT, hvDepthTexts, 2, 0);
    HvFillList(dialog, IDC_ENGINE_RESOLUTION, hvResolutionTexts, 4, 0);
    return TRUE;
  }
  if (message != WM_COMMAND) return FALSE;
  switch (LOWORD(wParam)) {
  case IDC_ENGINE_MODE:
    if (HIWORD(wParam) == CBN_SELCHANGE)
      EnableWindow(GetDlgItem(dialog, IDC_ENGINE_FORMAT), HvGetListSelection(dialog, IDC_ENGINE_MODE) == 1);
    return TRUE;
  case IDOK: {
    const int mode = HvGetListSelection(dialog, IDC_ENGINE_MODE), format = HvGetListSelection(dialog, IDC_ENGINE_FORMAT),
              resolution = HvGetListSelection(dialog, IDC_ENGINE_RESOLUTION);
    if (mode < 0 || format < 0 || resolution < 0) {
      HvShowError("Incorrect display mode");
      EndDialog(dialog, -1);
      return TRUE;
    }
    dialogSettings->windowed = mode == 0;
    HvSetDepth(*dialogSettings, format);
    HvSetResolution(*dialogSettings, resolution);
    EndDialog(dialog, 1);
    return TRUE;
  }
  case IDC_ENGINE_EXIT:
  case IDCANCEL:
    EndDialog(dialog, 0);
    return TRUE;
  }
  return FALSE;
}
