#include "HvProfiler.h"
#include <cstdio>

HvProfiler::Range HvProfiler::ImageOf(HMODULE module) {
  Range r;
  if (!module) return r;
  auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(module);
  auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(reinterpret_cast<const char*>(module) + dos->e_lfanew);
  r.begin = reinterpret_cast<uintptr_t>(module);
  r.end = r.begin + nt->OptionalHeader.SizeOfImage;
  return r;
}

bool HvProfiler::Start() {
  own = ImageOf(GetModuleHandleA(nullptr));
  d3dx = ImageOf(GetModuleHandleA("d3dx9_43.dll"));
  if (!DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &target,
                       THREAD_SUSPEND_RESUME | THREAD_GET_CONTEXT, FALSE, 0))
    return false;
  running = true;
  thread = CreateThread(nullptr, 0, SampleLoop, this, 0, nullptr);
  return thread != nullptr;
}

void HvProfiler::Stop() {
  running = false;
  if (thread) {
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    thread = nullptr;
  }
  if (target) CloseHandle(target);
  target = nullptr;
}

DWORD WINAPI HvProfiler::SampleLoop(void* self) {
  auto* profiler = static_cast<HvProfiler*>(self);
  timeBeginPeriod(1);
  while (profiler->running) {
    Sleep(1);
    profiler->TakeSample();
  }
  timeEndPeriod(1);
  return 0;
}

void HvProfiler::TakeSample() {
  if (SuspendThread(target) == DWORD(-1)) return;
  CONTEXT context = {};
  context.ContextFlags = CONTEXT_CONTROL;
  const bool ok = GetThreadContext(target, &context);
  ResumeThread(target);
  if (!ok) return;
#ifdef _WIN64
  const uintptr_t pc = context.Rip;
#else
  const uintptr_t pc = context.Eip;
#endif
  const int second = showSecond;
  if (second < 0 || second > 100000) return;
  if (size_t(second) >= seconds.size()) seconds.resize(second + 1);
  Second& s = seconds[second];
  ++s.all;
  if (own.Contains(pc)) {
    ++s.own;
    ++addresses[pc - own.begin];
  } else if (d3dx.Contains(pc)) {
    ++s.d3dx;
  }
}

bool HvProfiler::Write(const std::string& path) const {
  FILE* f = fopen(path.c_str(), "w");
  if (!f) return false;
  fprintf(f, "image %#llx\n", (unsigned long long)own.begin);
  for (size_t i = 0; i < seconds.size(); ++i)
    fprintf(f, "second %u %u %u %u\n", unsigned(i), seconds[i].own, seconds[i].d3dx, seconds[i].all);
  for (const auto& a : addresses) fprintf(f, "address %#llx %u\n", (unsigned long long)a.first, a.second);
  return fclose(f) == 0;
}
