// The engine's configuration object: checks the adapter and fills the device settings record before
// the window and the device exist, from a modal dialog (windowed or full screen, resolution, pixel
// format) or, in an unattended run, from the automation options (engine/core/HvAutomation.h).
#pragma once
#include "../core/HvObject.h"
#include <windows.h>
#include <d3d9.h>

struct HvAutomation;
struct HvDeviceSettings;
struct HvDisplayMode;

class HvConfig : public HvEngineObject {
public:
  HvConfig() : HvEngineObject("Configuration dialog box") {}

  bool CheckCaps(const D3DCAPS9* caps) override;

  // Runs the modal dialog; returns its end code: 1 settings chosen, 0 Exit, -1 a message was shown.
  virtual INT_PTR ShowDialog();
  virtual bool ValidateSettings(const HvDeviceSettings& settings);
  // Fills the core's settings from the user's choice; false ends the start-up.
  virtual bool RunDialog(HvDeviceSettings& settings, const HvDisplayMode& desktop);

  bool HasHardwareVertexProcessing() const { return hardwareVertexProcessing; }

protected:
  // Instead of the dialog: the choices the options preselect, written as the dialog's OK would write them.
  virtual void ApplyAutomation(const HvAutomation& options, HvDeviceSettings& settings);

  // The dialog procedures get no parameter: RunDialog points these at the record being edited and at
  // the configuration object for the duration of the dialog.
  static HvDeviceSettings* dialogSettings;
  static HvConfig* dialogOwner;

  bool hardwareVertexProcessing = false;  // vertex shaders 1.1 in hardware; set by CheckCaps

private:
  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
};

// Dialog helpers shared by the engine's and the demo's dialogs.
void HvCentreDialog(HWND dialog);                            // on the desktop, and shows it
void HvFillList(HWND dialog, int id, const char* const* texts, int count, int selected);
int HvGetListSelection(HWND dialog, int id);                 // CB_ERR (-1) without a selection
// Entry i of the four resolutions both dialogs offer: 640 x 480 .. 1280 x 1024.
extern const char* const hvResolutionTexts[4];
void HvSetResolution(HvDeviceSettings& s, int entry);
// "32bpp" (entry 0) or "16bpp" (entry 1), written to the display and back-buffer formats.
extern const char* const hvDepthTexts[2];
void HvSetDepth(HvDeviceSettings& s, int entry);
