// The Direct3D object and the default display adapter (ordinal 0, HAL): capabilities, identification,
// display modes, and the creation of the rendering device.
#pragma once
#include "../core/HvObject.h"
#include <d3d9.h>
#include <vector>

struct HvDeviceSettings;
class HvDevice;

struct HvDisplayMode {
  uint32_t width, height;
  D3DFORMAT format;
};

class HvAdapter : public HvEngineObject {
public:
  HvAdapter() : HvEngineObject("Adapter") {}
  ~HvAdapter() override;

  bool Create() override;   // Direct3DCreate9
  bool Release() override;

  D3DCAPS9 GetDeviceCaps();                         // all zero after a failure
  D3DADAPTER_IDENTIFIER9 GetAdapterIdentifier();    // all zero after a failure
  bool GetCurrentDisplayMode(HvDisplayMode& mode);
  bool CheckDeviceType(const HvDeviceSettings& s);  // false without a message when not available
  bool EnumerateDisplayModes(std::vector<HvDisplayMode>& modes);
  bool IsDisplayModeAvailable(uint32_t width, uint32_t height, D3DFORMAT format);
  void LogAdapterInfo();
  HvDevice* CreateDevice(const HvDeviceSettings& s);  // null on failure, nothing half-built left

  IDirect3D9* GetD3D() const { return d3d; }
  void SetD3D(IDirect3D9* d) { d3d = d; }  // in place of Create; takes over the caller's reference

private:
  IDirect3D9* d3d = nullptr;  // owned
};
