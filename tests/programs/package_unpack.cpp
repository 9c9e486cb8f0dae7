// Test and measurement helper for the package reader, run under Wine:
//   package_unpack PACKAGE FOLDER    unpacks PACKAGE into the existing FOLDER
//   package_unpack --copy FROM TO    copies one file with CopyFile: the yardstick for unpacking speed
// Prints the time taken; exit code 0 on success. Message boxes become lines on standard error.
#include "app/CPackage.h"
#include "engine/core/HvMessageBox.h"
#include <windows.h>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  bool copy = argc == 4 && strcmp(argv[1], "--copy") == 0;
  if (argc != 3 && !copy) {
    fprintf(stderr, "usage: package_unpack PACKAGE FOLDER | package_unpack --copy FROM TO\n");
    return 2;
  }
  HvSetMessageBoxLogging(true);
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  bool ok;
  if (copy) {
    ok = CopyFileA(argv[2], argv[3], FALSE) != 0;
  } else {
    CPackage package;
    package.SetFolder(argv[2]);
    ok = package.Extract(argv[1]);
  }
  QueryPerformanceCounter(&end);
  printf("%.1f ms\n", 1000.0 * double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart));
  return ok ? 0 : 1;
}
