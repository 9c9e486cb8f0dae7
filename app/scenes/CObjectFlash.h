// Full-screen flashes: a clip-space quad in one colour, alpha blended over the scene in pass 1 (pass 2
// from "use_2nd_pass" on). White flashes of several strengths on beats and scene changes, and the
// final fade to black. The quad is shown only in frames that receive a flash event.
#pragma once
#include "CObject.h"

// What the flash delivered in the current frame looks like.
enum CFlashKind : int {
  FlashNone = 0,
  FlashVerySmall = 1,
  FlashSmall = 2,
  FlashBig = 3,
  FlashFadeToBlack = 4,
  FlashNewScene = 5,
};

class CObjectFlash : public CObject {
public:
  explicit CObjectFlash(const char* name) : CObject(name) {}

  bool Create() override;
  bool Update() override;  // shows the quad with this frame's colour, or hides it
  bool ScheduleEvents() override;
  bool OnEvent(float progress, const std::string& name) override;

  int GetFlashKind() const { return flashKind; }
  const float* GetColor() const { return color; }

private:
  int flashKind = FlashNone;    // of the last flash event delivered this frame
  float color[4] = {1, 1, 1, 1};  // r, g, b, a; read by the shader at every draw
};

// The overlay colour (r, g, b, a) of a flash of `kind` at event progress p.
void FlashColor(int kind, float p, float out[4]);
