#include "RealDevice.h"
#include "engine/core/HvMessageBox.h"
#include "engine/render/HvDevice.h"
#include <windows.h>
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

static void RemoveTestFolder() {
  const std::string folder = TestFolder();
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
  static std::string folder = [] {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string f = std::string(temp) + "orvanta_unit_" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(f.c_str(), nullptr);
    atexit(RemoveTestFolder);
    return f;
  }();
  return folder;
}
