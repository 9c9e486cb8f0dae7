// Program entry: one CCore, run, destroyed. Without arguments the show starts with its dialog; the
// automation options (engine/core/HvAutomation.h) preselect it for unattended runs.
#include "CCore.h"
#include "../engine/core/HvTrace.h"
#include <cstdio>
#include <cstdlib>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  HvAutomation options;
  std::string error;
  if (!HvParseAutomation(__argc, __argv, options, error)) {
    fprintf(stderr, "Orvanta: %s\n", error.c_str());
    return 2;
  }
  CCore* core = new CCore;
  core->AddRef();
  HvCore::SetInstance(core);
  core->SetAutomation(options);
  core->Run();
  core->DropRef();
  HvCore::SetInstance(nullptr);
  HvTraceClose();
  if (options.printFps) printf("objects left: %ld\n", HvRefCount::GetLiveCount());
  return 0;
}
