// Program entry: one CCore, run, destroyed. Without arguments the show starts with its dialog; the
// automation options (engine/core/HvAutomation.h) preselect it for unattended runs.
#include "CCore.h"
#include "../engine/core/HvMessageBox.h"
#include "../engine/core/HvStartupTimes.h"
#include "../engine/core/HvTrace.h"
#include <cstdio>
#include <cstdlib>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  HvStartupTimes::BeginRecord();           // start-up runs from here to the first presented frame
  HvStartupTimes::Begin("WinMain to Run");  // ended by Run
  HvAutomation options;
  std::string error;
  const bool parsed = HvParseAutomation(__argc, __argv, options, error);
  HvSetMessageBoxLogging(options.noMessageBoxes);  // the options are all read: also for a bad one
  if (!parsed) {
    HvMessageBox((error + "\n\n" + HvAutomationUsage()).c_str(), CCore::kName, MB_OK | MB_ICONEXCLAMATION);
    return 2;
  }
  if (options.help) {
    HvShowText(HvAutomationUsage().c_str(), CCore::kName);
    return 0;
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
  // Everything is released and written: the process ends here, without the libraries' teardown of
  // themselves. Under Wine that teardown runs after the wineserver has counted the process as ended,
  // and one that takes over a second (or crashes) costs the run its exit code.
  fflush(stdout);
  fflush(stderr);
  TerminateProcess(GetCurrentProcess(), 0);
  return 0;
}
