// The demo's configuration: refuses adapters without 2048 x 2048 textures, offers resolution, colour
// depth, vertex processing, antialiasing and demo or benchmark in its start-up dialog, and at the end of
// the program shows the benchmark's score or says that the show was cut short.
#pragma once
#include "../engine/config/HvConfig.h"

class CConfig : public HvConfig {
public:
  bool Release() override;   // the end-of-run result first
  bool CheckCaps(const D3DCAPS9* caps) override;
  INT_PTR ShowDialog() override;

  // The results dialog with the application's score. With message boxes logged, a logged message box
  // captioned "Results" with the text "Your score is: N" takes its place.
  void ShowResults();

  int32_t GetMultisampleQualityLevels() const { return multisampleQualityLevels; }

protected:
  void ApplyAutomation(const HvAutomation& options, HvDeviceSettings& settings) override;

  // Quality levels of non-maskable multisampling usable by a full-screen X8R8G8B8 back buffer and a
  // D24S8 depth buffer alike; -1: antialiasing not available.
  int32_t multisampleQualityLevels = -1;

private:
  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  static INT_PTR CALLBACK ResultsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  static void InitDialog(HWND dialog);
  static INT_PTR ApplyChoice(HWND dialog);  // the dialog's end code
};
