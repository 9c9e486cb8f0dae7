// The engine's configuration object: checks the adapter and fills the device settings record before
// the window and the device exist.
#pragma once
#include "../core/HvObject.h"
#include <d3d9.h>

struct HvDeviceSettings;
struct HvDisplayMode;

class HvConfig : public HvEngineObject {
public:
  HvConfig() : HvEngineObject("Configuration dialog box") {}

  bool CheckCaps(const D3DCAPS9* caps) override;

  virtual bool ValidateSettings(const HvDeviceSettings&) { return true; }
  // Fills the core's settings from the user's choice; false ends the start-up.
  virtual bool RunDialog(HvDeviceSettings& settings, const HvDisplayMode& desktop);

protected:
  bool hardwareVertexProcessing = false;  // set by CheckCaps
};
