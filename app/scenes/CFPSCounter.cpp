#include "CFPSCounter.h"
#include "../../engine/core/HvCore.h"
#include "../../engine/core/HvTimer.h"
#include "../../engine/ui2d/HvFont.h"
#include <string>

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
  if (visible) HvCore::GetInstance()->GetDefaultFont()->AddText(10, 10, "FPS: " + std::to_string(fps));
  ClearFlag(HvFlags::FirstFrame);
  return true;
}
