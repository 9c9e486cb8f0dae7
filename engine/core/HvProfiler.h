// A sampling profiler for automated runs (--profile FILE). A thread of its own stops the frame-loop
// thread every millisecond or two (as often as Sleep(1) returns), notes where it was and lets it go
// on. A sample in the program's own image is engine or scene work; one in the graphics utility DLL is
// D3DX work; anything else is time in Direct3D, the driver or the system, including waiting for
// Present. Samples are counted per whole second of show time, and the program's own ones also per code
// address, so a script can name the functions that cost most.
#pragma once
#include <windows.h>
#include <atomic>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

class HvProfiler {
public:
  HvProfiler() = default;
  HvProfiler(const HvProfiler&) = delete;
  HvProfiler& operator=(const HvProfiler&) = delete;
  ~HvProfiler() { Stop(); }

  bool Start();                   // from the thread to be sampled
  void SetShowTime(double seconds) { showSecond = int(seconds); }  // once per frame
  void Stop();
  // Text file: "image <base>", then "second <s> <own> <d3dx> <all>" per show second, then
  // "address <offset from base, hex> <samples>" per sampled address of the program's own code.
  bool Write(const std::string& path) const;

private:
  struct Range {
    uintptr_t begin = 0, end = 0;
    bool Contains(uintptr_t a) const { return a >= begin && a < end; }
  };
  struct Second {
    uint32_t own = 0, d3dx = 0, all = 0;
  };
  static Range ImageOf(HMODULE module);
  static DWORD WINAPI SampleLoop(void* self);
  void TakeSample();

  HANDLE target = nullptr;  // the sampled thread, owned
  HANDLE thread = nullptr;  // the sampling thread, owned
  std::atomic<bool> running{false};
  std::atomic<int> showSecond{0};
  Range own, d3dx;
  std::vector<Second> seconds;  // indexed by show second; written by the sampling thread only
  std::map<uintptr_t, uint32_t> addresses;
};
