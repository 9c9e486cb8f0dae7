#include "CConfig.h"
#include "CCore.h"
#include "../engine/core/HvAutomation.h"
#include "../engine/core/HvDeviceSettings.h"
#include "../engine/core/HvMessageBox.h"
#include "../engine/render/HvAdapter.h"
#include "../engine/ui2d/HvFont.h"
#include "../resources/resource.h"
#include <algorithm>
#include <cstdio>

namespace {
const char* const vertexProcessingTexts[] = {"Hardware", "Software"};
const DWORD vertexProcessingFlags[] = {D3DCREATE_HARDWARE_VERTEXPROCESSING, D3DCREATE_SOFTWARE_VERTEXPROCESSING};
const UINT endOfRunStyle = MB_ICONINFORMATION | MB_SETFOREGROUND | MB_TOPMOST;  // 0x50040

CCore* Core() { return static_cast<CCore*>(HvCore::GetInstance()); }

// Benchmark: frames as fast as the device goes; demo: one frame per display refresh.
void SetRunMode(HvDeviceSettings& s, bool benchmark) {
  Core()->SetMode(benchmark ? CCore::Benchmark : CCore::Demo);
  s.presentationInterval = benchmark ? D3DPRESENT_INTERVAL_IMMEDIATE : D3DPRESENT_INTERVAL_ONE;
}

// Ends the dialog with -1 after the message.
INT_PTR Refuse(HWND dialog, const char* message) {
  HvShowError(message);
  EndDialog(dialog, -1);
  return -1;
}
}

bool CConfig::CheckCaps(const D3DCAPS9* caps) {
  if (caps->MaxTextureWidth < 2048 || caps->MaxTextureHeight < 2048) {
    HvShowError("Your hardware doesn't support 2048x2048 textures!");
    return false;
  }
  hardwareVertexProcessing = caps->VertexShaderVersion >= D3DVS_VERSION(1, 1);
  IDirect3D9* d3d = HvCore::GetInstance()->GetAdapter()->GetD3D();
  DWORD colourLevels = 0, depthLevels = 0;
  if (SUCCEEDED(d3d->CheckDeviceMultiSampleType(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, FALSE,
                                                D3DMULTISAMPLE_NONMASKABLE, &colourLevels)) &&
      SUCCEEDED(d3d->CheckDeviceMultiSampleType(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, D3DFMT_D24S8, FALSE,
                                                D3DMULTISAMPLE_NONMASKABLE, &depthLevels)))
    multisampleQualityLevels = int32_t(std::min(colourLevels, depthLevels));
  else
    multisampleQualityLevels = -1;
  return true;
}

INT_PTR CConfig::ShowDialog() {
  return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_DEMO_CONFIG), nullptr, DialogProc, 0);
}

void CConfig::ApplyAutomation(const HvAutomation& options, HvDeviceSettings& s) {
  HvConfig::ApplyAutomation(options, s);  // vertex processing and antialiasing keep the dialog's defaults
  SetRunMode(s, options.mode == CCore::Benchmark);
}

void CConfig::InitDialog(HWND dialog) {
  const int32_t levels = static_cast<CConfig*>(dialogOwner)->multisampleQualityLevels;
  const bool hardware = dialogOwner->HasHardwareVertexProcessing();
  HvCentreDialog(dialog);
  HvFillList(dialog, IDC_DEPTH, hvDepthTexts, 2, 0);
  HvFillList(dialog, IDC_RESOLUTION, hvResolutionTexts, 4, 2);
  HvFillList(dialog, IDC_VERTEX_PROCESSING, vertexProcessingTexts, 2, hardware ? 0 : 1);
  if (!hardware) EnableWindow(GetDlgItem(dialog, IDC_VERTEX_PROCESSING), FALSE);
  CheckDlgButton(dialog, IDC_DEMO, BST_CHECKED);
  CheckDlgButton(dialog, IDC_BENCHMARK, BST_UNCHECKED);
  SendDlgItemMessageA(dialog, IDC_ANTIALIASING, CB_ADDSTRING, 0, LPARAM("None"));
  if (levels == -1) EnableWindow(GetDlgItem(dialog, IDC_ANTIALIASING), FALSE);
  for (int k = 1; k < levels; ++k) {
    char text[32];
    snprintf(text, sizeof text, "%d samples", k);
    SendDlgItemMessageA(dialog, IDC_ANTIALIASING, CB_ADDSTRING, 0, LPARAM(text));
  }
  SendDlgItemMessageA(dialog, IDC_ANTIALIASING, CB_SETCURSEL, 0, 0);
}

INT_PTR CConfig::ApplyChoice(HWND dialog) {
  HvDeviceSettings& s = *dialogSettings;
  const int32_t levels = static_cast<CConfig*>(dialogOwner)->multisampleQualityLevels;
  s.windowed = false;  // the demo always runs full screen
  const int depth = HvGetListSelection(dialog, IDC_DEPTH);
  if (depth < 0) return Refuse(dialog, "Incorrect display mode");
  HvSetDepth(s, depth);
  const int resolution = HvGetListSelection(dialog, IDC_RESOLUTION);
  if (resolution < 0) return Refuse(dialog, "Incorrect display mode");
  HvSetResolution(s, resolution);
  const int vertexProcessing = HvGetListSelection(dialog, IDC_VERTEX_PROCESSING);
  if (vertexProcessing < 0) return Refuse(dialog, "Incorrect vertex processing mode");
  s.behaviorFlags = vertexProcessingFlags[vertexProcessing];
  s.multiSampleType = D3DMULTISAMPLE_NONE;
  if (levels >= 0) {
    const int samples = HvGetListSelection(dialog, IDC_ANTIALIASING);
    if (samples < 0) return Refuse(dialog, "Incorrect antialiasing mode");
    if (samples > 0) {
      s.multiSampleType = D3DMULTISAMPLE_NONMASKABLE;
      s.multiSampleQuality = uint32_t(samples);
    }
  }
  SetRunMode(s, IsDlgButtonChecked(dialog, IDC_BENCHMARK) == BST_CHECKED);
  EndDialog(dialog, 1);
  return 1;
}

INT_PTR CALLBACK CConfig::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) {
    InitDialog(dialog);
    return TRUE;
  }
  if (message != WM_COMMAND) return FALSE;
  switch (LOWORD(wParam)) {
  case IDOK:
    ApplyChoice(dialog);
    return TRUE;
  case IDCANCEL:
  case IDC_ENGINE_EXIT:
    EndDialog(dialog, 0);
    return TRUE;
  }
  return FALSE;
}

INT_PTR CALLBACK CConfig::ResultsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  static HFONT scoreFont = nullptr;  // lives as long as the dialog
  switch (message) {
  case WM_INITDIALOG: {
    HvCentreDialog(dialog);
    scoreFont = CreateFontA(HvScreenFontHeight(25), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, VARIABLE_PITCH, "MS Sans Serif");
    SendDlgItemMessageA(dialog, IDC_SCORE, WM_SETFONT, WPARAM(scoreFont), TRUE);
    char text[16];
    snprintf(text, sizeof text, "%d", int(Core()->GetScore()));
    SetDlgItemTextA(dialog, IDC_SCORE, text);
    return TRUE;
  }
  case WM_COMMAND:
    if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDC_ENGINE_EXIT) EndDialog(dialog, 0);
    return TRUE;
  case WM_DESTROY:
    if (scoreFont) DeleteObject(scoreFont);
    scoreFont = nullptr;
    return FALSE;
  }
  return FALSE;
}

void CConfig::ShowResults() {
  if (Core()->GetAutomation().noMessageBoxes) {
    char text[48];
    snprintf(text, sizeof text, "Your score is: %d", int(Core()->GetScore()));
    HvMessageBox(text, "Results", MB_OK);
    return;
  }
  DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_RESULTS), nullptr, ResultsProc, 0);
}

bool CConfig::Release() {
  ShowCursor(TRUE);
  const std::string caption = Core()->GetName();
  switch (Core()->GetMode()) {
  case CCore::BenchmarkAborted:
    HvMessageBox("Benchmark aborted!", caption.c_str(), endOfRunStyle);
    break;
  case CCore::DemoAborted:
    HvMessageBox("Demo aborted!", caption.c_str(), endOfRunStyle);
    break;
  case CCore::Benchmark:
    // The mode stays "benchmark" when the start-up failed before the benchmark ran; its message
    // has been shown, and there is no score to present.
    if (Core()->GetScore() != CCore::kNoScore) ShowResults();
    break;
  }
  return HvConfig::Release();
}
