// Reader of the data package (layout in PackageFormat.h): unpacks the folder tree it holds into a
// folder, and deletes such a folder again. Every failure shows a message box captioned
// "Extracting package" and returns false.
//
// A package is untrusted input: every record must lie inside the file, every name must be one plain
// name (PacIsSafeName), and leave-folder records never climb above the extraction folder, so nothing
// is ever written outside it. Extraction stops at the first bad record; files written before it stay,
// and the caller deletes the folder (DeleteFolder).
#pragma once
#include <cstdint>
#include <string>

class CPackage {
public:
  // Unpacks `packageName` (relative to the working directory, or absolute) into the folder
  // `folderName` inside the user's temporary folder, creating it if needed. `folderPath` receives
  // that folder's full path (at least MAX_PATH = 260 characters); it is filled before unpacking
  // starts, so after a failure it names the folder to delete.
  bool ExtractTo(const char* packageName, const char* folderName, char* folderPath);
  void SetFolder(const char* folder) { extractionFolder = folder; }
  // Unpacks into the folder set by SetFolder, which must exist. The working directory is changed
  // while this runs and restored before it returns.
  bool Extract(const char* packageName);
  // Deletes `folder` with all its files and subfolders. False only if it is not an existing folder;
  // entries that cannot be deleted (a file still open) are left behind.
  bool DeleteFolder(const char* folder);

  uint32_t GetCoding() const { return coding; }
  const std::string& GetFolder() const { return extractionFolder; }

private:
  // Writes one file into the current folder, turning stored bytes into file bytes per the coding.
  bool WriteFile(const char* name, const uint8_t* data, uint32_t size);

  uint32_t coding = 0;  // 1: file data stored inverted, 0: plain
  std::string extractionFolder;
};
