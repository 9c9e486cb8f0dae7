#include "HvTimer.h"
#include <windows.h>
#include <mmsystem.h>

namespace {
bool usePerformanceCounter;
LONGLONG frequency;
LONGLONG startCount;
DWORD startTime;        // timeGetTime at the last reset, ms
double lastTime;        // Now at the last Tick, s
float frameTime;        // s
bool restart = true;    // set at start and by Reset: the next Tick reports 0.01 s
double fixedStep;       // > 0: deterministic clock
double fixedNow;        // the deterministic clock's reading, s
}

void HvTimer::Init() {
  restart = true;
  frameTime = 0;
  LARGE_INTEGER f;
  usePerformanceCounter = QueryPerformanceFrequency(&f) != 0;
  if (usePerformanceCounter) {
    frequency = f.QuadPart;
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    startCount = c.QuadPart;
  }
  timeBeginPeriod(1);
  startTime = timeGetTime();
}

void HvTimer::Reset() {
  if (usePerformanceCounter) {
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    startCount = c.QuadPart;
  } else {
    startTime = timeGetTime();
  }
  fixedNow = 0;
  restart = true;
}

double HvTimer::RealNow() {
  if (usePerformanceCounter) {
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    return double(c.QuadPart - startCount) / double(frequency);
  }
  return DWORD(timeGetTime() - startTime) * 0.001;  // unsigned difference survives the 49-day wrap
}

double HvTimer::Clock() {
  static LONGLONG countsPerSecond = [] {
    LARGE_INTEGER f;
    return QueryPerformanceFrequency(&f) ? f.QuadPart : 0;
  }();
  if (countsPerSecond) {
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    return double(c.QuadPart) / double(countsPerSecond);
  }
  return timeGetTime() * 0.001;
}

double HvTimer::Now() { return fixedStep > 0 ? fixedNow : RealNow(); }

void HvTimer::Tick() {
  if (restart) {
    restart = false;
    frameTime = 0.01f;
  } else {
    frameTime = float(Now() - lastTime);
  }
  lastTime = Now();
  if (fixedStep > 0 && !(frameTime > 0)) frameTime = float(fixedStep);  // the fixed clock never moves by itself
  while (!(frameTime > 0)) frameTime = float(Now() - lastTime);  // a coarse clock: wait for it to move
}

float HvTimer::GetFrameTime() { return frameTime; }

void HvTimer::Wait(float seconds) {
  const double until = RealNow() + seconds;
  while (RealNow() < until) {}
}

void HvTimer::SetFixedStep(double step) { fixedStep = step; }

void HvTimer::BeginFrameTurn() {
  if (fixedStep > 0 && !restart) fixedNow += fixedStep;
}
