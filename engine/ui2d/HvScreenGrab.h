// Saves the picture on screen as a numbered BMP file: baseName_001.bmp, baseName_002.bmp, ... up to
// _999, always taking the first free number from the last one used. Registered in the application
// object pool and updated every frame; acts in the first update after RequestGrab.
#pragma once
#include "../core/HvObject.h"
#include <string>

class HvScreenGrab : public HvEngineObject {
public:
  enum Source {
    FrontBuffer,  // what the display shows (windowed: the whole desktop area)
    BackBuffer,   // the frame being drawn, before it is presented
  };

  // folder: relative to the working directory, or absolute; empty: the working directory itself.
  HvScreenGrab(const char* baseName, const char* folder);

  void RequestGrab() { requested = true; }
  bool Update() override;  // a pending grab of the front buffer

  // The next free name in the current directory, searched from the last number used; false when
  // every number up to 999 is taken.
  bool FindFreeFileName(std::string& fileName);

  // Saves `source` now into `folder` (see the constructor). Every failure shows a message box and
  // returns false; the working directory is restored in every case.
  bool Grab(Source source, const std::string& folder);

  const std::string& GetFolder() const { return folder; }

private:
  bool SaveSurface(Source source, const std::string& fileName);

  std::string folder;
  std::string baseName;
  int32_t nextNumber = 1;
  bool requested = false;
};
