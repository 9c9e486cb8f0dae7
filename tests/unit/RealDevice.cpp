#include "RealDevice.h"
#include "engine/core/HvMessageBox.h"
#include "engine/render/HvDevice.h"
#include <windows.h>
#include <cstdio>
#include <cstdlib>

HvCore* RealDeviceCore() {
  static HvCore* core = [] {
    HvSetMessageBoxLogging(true);
    HvCore* c = new HvCore("Orvanta");  // lives as long as the process
    c->AddRef();
    HvCore::SetInstance(c);
    HvAutomation options;
    options.skipDialog = options.windowed = true;
    options.width = 1024;
    options.height = 768;
    c->SetAutomation(options);
    if (!c->Initialize() || !c->CreateMainWindow() || !c->Create()) return static_cast<HvCore*>(nullptr);
    return c;
  }();
  if (core) HvCore::SetInstance(core);
  return core;
}

// A plain buffer, not a std::string: the exit handler runs after the static strings are destroyed.
static char testFolder[MAX_PATH];

static void RemoveTestFolder() {
  const std::string folder = testFolder;
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA((folder + "*").c_str(), &found);
  if (h != INVALID_HANDLE_VALUE) {
    do DeleteFileA((folder + found.cFileName).c_str());
    while (FindNextFileA(h, &found));
    FindClose(h);
  }
  RemoveDirectoryA(folder.c_str());
}

std::string TestFolder() {
  if (!testFolder[0]) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    snprintf(testFolder, sizeof testFolder, "%sorvanta_unit_%lu\\", temp, GetCurrentProcessId());
    CreateDirectoryA(testFolder, nullptr);
    atexit(RemoveTestFolder);
  }
  return testFolder;
}
