#include "HvAdapter.h"
#include "HvDevice.h"
#include "../core/HvDeviceSettings.h"
#include "../core/HvMessageBox.h"
#include "../core/HvRelease.h"
#include "../core/HvTrace.h"
#include <cstdio>

static const D3DFORMAT displayFormats[] = {D3DFMT_X8R8G8B8, D3DFMT_R5G6B5};  // nothing else is offered

HvAdapter::~HvAdapter() { HvSafeRelease(d3d); }

bool HvAdapter::Create() {
  d3d = Direct3DCreate9(D3D_SDK_VERSION);
  if (!d3d) HvShowError("Direct3D object not created");
  return d3d != nullptr;
}

bool HvAdapter::Release() {
  HvSafeRelease(d3d);
  SetFlag(HvFlags::Released);
  return true;
}

D3DCAPS9 HvAdapter::GetDeviceCaps() {
  D3DCAPS9 caps = {};
  if (FAILED(d3d->GetDeviceCaps(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, &caps))) {
    HvShowError("Error while retrieving device caps");
    caps = D3DCAPS9();
  }
  return caps;
}

D3DADAPTER_IDENTIFIER9 HvAdapter::GetAdapterIdentifier() {
  D3DADAPTER_IDENTIFIER9 id = {};
  if (FAILED(d3d->GetAdapterIdentifier(D3DADAPTER_DEFAULT, 0, &id))) {
    HvShowError("Error while retrieving adapter identifier");
    id = D3DADAPTER_IDENTIFIER9();
  }
  return id;
}

bool HvAdapter::GetCurrentDisplayMode(HvDisplayMode& mode) {
  D3DDISPLAYMODE m;
  if (FAILED(d3d->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &m))) {
    HvShowError("Error while retrievint actual display mode");
    return false;
  }
  mode = {m.Width, m.Height, m.Format};
  return true;
}

bool HvAdapter::CheckDeviceType(const HvDeviceSettings& s) {
  HRESULT hr = d3d->CheckDeviceType(D3DADAPTER_DEFAULT, s.deviceType, s.displayFormat, s.backBufferFormat, s.windowed);
  if (hr == D3D_OK) return true;
  if (hr != D3DERR_NOTAVAILABLE) HvShowError("Error while checking device type");
  return false;
}

bool HvAdapter::EnumerateDisplayModes(std::vector<HvDisplayMode>& modes) {
  for (D3DFORMAT format : displayFormats) {
    UINT count = d3d->GetAdapterModeCount(D3DADAPTER_DEFAULT, format);
    for (UINT i = 0; i < count; ++i) {
      D3DDISPLAYMODE m;
      if (FAILED(d3d->EnumAdapterModes(D3DADAPTER_DEFAULT, format, i, &m))) {
        HvShowError("Error while enumerating available display modes");
        return false;
      }
      modes.push_back({m.Width, m.Height, m.Format});
    }
  }
  return true;
}

bool HvAdapter::IsDisplayModeAvailable(uint32_t width, uint32_t height, D3DFORMAT format) {
  std::vector<HvDisplayMode> modes;
  if (!EnumerateDisplayModes(modes)) return false;
  for (const HvDisplayMode& m : modes)
    if (m.width == width && m.height == height && m.format == format) return true;
  return false;
}

void HvAdapter::LogAdapterInfo() {
  D3DADAPTER_IDENTIFIER9 id = GetAdapterIdentifier();
  D3DCAPS9 caps = GetDeviceCaps();
  HvTraceWrite(std::string("   Description: ") + id.Description);
  HvTraceWrite(std::string("   Driver: ") + id.Driver);
  HvTraceWrite(std::string("   Device name: ") + id.DeviceName);
  char line[64];
  snprintf(line, sizeof line, "   Vertex shader version: %d.%d", int((caps.VertexShaderVersion >> 8) & 0xFF),
           int(caps.VertexShaderVersion & 0xFF));
  HvTraceWrite(line);
}

HvDevice* HvAdapter::CreateDevice(const HvDeviceSettings& s) {
  if (!CheckDeviceType(s)) {
    HvShowError("Device type is not available");
    return nullptr;
  }
  if (!IsDisplayModeAvailable(s.displayWidth, s.displayHeight, s.displayFormat)) {
    HvShowError("Display mode is not available");
    return nullptr;
  }
  HvDevice* device = new HvDevice;  // nobody holds it yet: deleted on every failure below
  D3DPRESENT_PARAMETERS p = HvMakePresentParameters(s);
  IDirect3DDevice9* d3dDevice = nullptr;
  if (FAILED(d3d->CreateDevice(D3DADAPTER_DEFAULT, s.deviceType, s.deviceWindow, s.behaviorFlags, &p, &d3dDevice))) {
    device->Release();
    delete device;
    HvShowError("Error creating Direct3D device");
    return nullptr;
  }
  device->SetD3DDevice(d3dDevice);
  if (!device->RestoreDefaultStates()) {
    device->Release();
    delete device;
    return nullptr;
  }
  return device;
}
