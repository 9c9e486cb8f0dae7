// Measures the frame rate in half-second windows for the benchmark and, when visible, shows
// "FPS: " and the number in the top-left corner.
#pragma once
#include "../../engine/core/HvObject.h"

class CFPSCounter : public HvObject {
public:
  explicit CFPSCounter(const char* name) : HvObject(name) {}

  bool Update() override;
  bool Release() override { SetFlag(HvFlags::Released); return true; }

  // One frame at engine time `now` (s); true when a window closed and fps changed.
  bool CountFrame(float now);
  int32_t GetFps() const { return fps; }
  void SetVisible(bool on) { visible = on ? 1 : 0; }

private:
  int32_t fps = 0;              // frames per second of the last whole window
  uint32_t frames = 0;          // in the running window
  float windowStart = 0;        // s, engine time
  const float interval = 0.5f;  // s; fps counts frames x 1 / interval, the nominal length
  uint32_t visible = 0;
};
