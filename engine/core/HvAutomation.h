// Command-line options for unattended runs, one row each in the table of HvAutomation.cpp (which also
// makes the --help text). Without any, the program behaves as a user expects: the configuration dialog
// comes first and message boxes are shown. What the less obvious ones do:
//   --mode, --res, --depth, --windowed   preselect the dialog's choices and skip it
//   --step S              every frame advances the clock by exactly S seconds; random choices repeat
//   --grab T1,T2,...      save the back buffer at the first frame whose show time reaches each Ti, through
//                         the core's screen grab: ScreenShot_001.bmp, _002, ... (the first free numbers)
//   --close-while-loading post WM_CLOSE to the main window as soon as it exists; loading goes on without
//                         looking at messages, so the close arrives at the first turn of the message loop,
//                         as a user's click on the close box during loading would
//   --lose-device-at T    from show time T on, the frame's device check sees D3DERR_DEVICELOST
//   --fps                 print at the end: frames and mean frame rate, start-up time, peak memory,
//                         the frame rate of each benchmark section and what was left behind (device
//                         references, counted objects)
//   --profile FILE        sample the frame-loop thread every millisecond or two and write where it was
//                         (own code, D3DX or elsewhere per show second, own code per address) to FILE
//   --capture PATH        write the pixels of every frame, as presented, to PATH (a pipe or FIFO that an
//                         encoder reads; see HvFrameCapture.h), from the frame at show time --capture-from
//                         on; the frames before it are drawn but not written. Needs --step: the frames
//                         come at show times T, T + S, T + 2S, ... however long each takes. No music.
//   --frame-log FILE      write one CSV line per frame to FILE when the program ends: frame number, show
//                         time (s), frame time (ms), benchmark section (0 before the first, then 1 to 3);
//                         kept in memory reserved at the start meanwhile (engine/core/HvFrameLog.h)
//   --no-message-boxes    message boxes become lines on standard error, answered by their default button;
//                         the dialog is skipped with its defaults, and the results dialog at the end of a
//                         benchmark becomes the line
//                         MessageBox: caption "Results", text "Your score is: N", style 0x0
// A skipped dialog fills the settings and the run mode as the dialog would for the same choices:
// full screen unless --windowed, hardware vertex processing when available, no antialiasing, and
// benchmark -> frames presented immediately, demo -> one frame per display refresh.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct HvAutomation {
  bool skipDialog = false;     // any of the dialog's choices was given
  uint32_t mode = 2;           // 1 benchmark, 2 demo: the application's run mode values
  uint32_t width = 1024, height = 768;
  uint32_t depth = 32;         // bits per pixel of a full-screen display
  bool windowed = false;
  double step = 0;             // s per frame; 0: real time
  std::vector<double> grabTimes;  // show times, ascending
  std::string outDir;
  double quitAt = -1;          // show time; < 0: never
  bool closeWhileLoading = false;
  double loseDeviceAt = -1;    // show time; < 0: never
  bool noMessageBoxes = false;
  bool printFps = false;
  std::string profilePath;     // empty: no profiling
  std::string capturePath;     // empty: no capture
  double captureFrom = 0;      // show time of the first frame captured
  std::string frameLogPath;    // empty: no frame log
  bool help = false;           // --help: list the options instead of running
};

// Parses argv[1..argc-1]. An argument that does not start with "--" is not an option and is ignored
// (a file dropped on the program, say); a value never starts with "--". Every argument is looked at,
// so that an option after a bad one (--no-message-boxes) still counts. Returns false when an option
// is unknown or lacks its value or has a bad one, with a one-line explanation of the first in `error`.
bool HvParseAutomation(int argc, char** argv, HvAutomation& options, std::string& error);

// How to call the program: a line of usage, a word on the dialog, then every option with its value
// and a one-line meaning, one a line, each line ending in a newline.
std::string HvAutomationUsage();
