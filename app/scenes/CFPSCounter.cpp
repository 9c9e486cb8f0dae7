#include "CFPSCounter.h"
#include "../../engine/core/HvTimer.h"

bool CFPSCounter::CountFrame(float now) {
  if (HasFlag(HvFlags::FirstFrame)) windowStart = now;
  ++frames;
  if (now - windowStart < interval) return false;
  fps = int32_t(1.0f / interval * float(frames));
  frames = 0;
  windowStart = now;
  return true;
}

bool CFPSCounter::Update() {
  CountFrame(float(HvTimer::Now()));
  ClearFlag(HvFlags::FirstFrame);
  return true;
}
