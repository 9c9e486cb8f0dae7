#include "HvScreenGrab.h"
#include "../core/HvCore.h"
#include "../core/HvMessageBox.h"
#include "../core/HvRelease.h"
#include "../render/HvDevice.h"
#include <d3dx9.h>
#include <cstdio>

static uint32_t createdGrabs = 0;  // numbers the object names

HvScreenGrab::HvScreenGrab(const char* baseName, const char* folder)
    : HvEngineObject(""), folder(folder), baseName(baseName) {
  SetName("ScreenGrab_" + std::to_string(createdGrabs++));
  HvCore::GetInstance()->GetPool(HvPoolApplication)->Add(this);
}

bool HvScreenGrab::FindFreeFileName(std::string& fileName) {
  for (; nextNumber < 1000; ++nextNumber) {
    char number[8];
    snprintf(number, sizeof number, "%03d", int(nextNumber));
    const std::string candidate = baseName + "_" + number + ".bmp";
    OFSTRUCT info = {};
    if (OpenFile(candidate.c_str(), &info, OF_EXIST) == HFILE_ERROR) {
      fileName = candidate;
      return true;
    }
  }
  return false;
}

// A failed grab is not retried: the request is dropped with its message, so a full folder does not
// bring a message box every frame.
bool HvScreenGrab::Update() {
  if (requested) {
    requested = false;
    Grab(FrontBuffer, folder);
  }
  return HvEngineObject::Update();
}

bool HvScreenGrab::Grab(Source source, const std::string& targetFolder) {
  char saved[MAX_PATH];
  if (!GetCurrentDirectoryA(MAX_PATH, saved)) {
    HvShowError("Cannot get current directory");
    return false;
  }
  if (!targetFolder.empty() && !SetCurrentDirectoryA(targetFolder.c_str())) {
    char message[MAX_PATH + 32];
    snprintf(message, sizeof message, "Cannot set directory %s", targetFolder.c_str());
    HvShowError(message);
    return false;
  }
  std::string fileName;
  bool ok = FindFreeFileName(fileName);
  if (!ok)
    HvShowError("Cannot find free file name");
  else
    ok = SaveSurface(source, fileName);
  if (!targetFolder.empty() && !SetCurrentDirectoryA(saved)) {
    HvShowError("Cannot restore current directory");
    return false;
  }
  return ok;
}

bool HvScreenGrab::SaveSurface(Source source, const std::string& fileName) {
  IDirect3DDevice9* device = HvCore::GetInstance()->GetDevice()->GetD3DDevice();
  IDirect3DSurface9* surface = nullptr;
  if (source == BackBuffer) {
    if (FAILED(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &surface))) {
      HvShowError("Cannot get back buffer");
      return false;
    }
  } else {
    D3DDISPLAYMODE mode;
    if (FAILED(device->GetDisplayMode(0, &mode))) {
      HvShowError("Cannot get current display mode");
      return false;
    }
    if (FAILED(device->CreateOffscreenPlainSurface(mode.Width, mode.Height, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM, &surface,
                                                   nullptr))) {
      HvShowError("Cannot create surface for screen grab");
      return false;
    }
    if (FAILED(device->GetFrontBufferData(0, surface))) {
      HvSafeRelease(surface);
      HvShowError("Cannot copy front buffer");
      return false;
    }
  }
  const bool saved = SUCCEEDED(D3DXSaveSurfaceToFileA(fileName.c_str(), D3DXIFF_BMP, surface, nullptr, nullptr));
  HvSafeRelease(surface);
  if (!saved) HvShowError(("Cannot save " + fileName).c_str());
  return saved;
}
