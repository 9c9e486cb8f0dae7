// The program's logo as one centred sprite: fades in, shakes to the music, and later flashes on
// beats; hidden between its events. No node.
#pragma once
#include "CObject.h"
#include <cstdint>

class HvSprite;

class CObjectLogo : public CObject {
public:
  explicit CObjectLogo(const char* name);
  ~CObjectLogo() override;

  bool Create() override;
  bool ScheduleEvents() override;
  bool OnEvent(float progress, const std::string& name) override;

  HvSprite* GetSprite() const { return sprite.Get(); }

private:
  void AddFlashes(float first, float step, int count);
  void Shake(float progress);
  void Flash(float progress);

  HvRef<HvSprite> sprite;
  float shakeTimer = 0;  // s until the next jitter of the position
};

// Scale of the logo image on a width x height display at size k of its own pixel size (1 at 1024 x 768
// and above, in proportion below).
float LogoScaleX(uint32_t width, float k = 1.0f);
float LogoScaleY(uint32_t height, float k = 1.0f);
// Rotation (radians) while shaking: 3 degrees, five periods, dying away over the event.
float LogoShakeRotation(float progress);
// A flash: rotation (two periods of 3 degrees, dying away), alpha and size factor k.
struct LogoFlashLook {
  float rotation, alpha, size;
};
LogoFlashLook LogoFlash(float progress);
// The jittered position around the screen centre for random numbers r1, r2 in [-1, 1].
void LogoJitter(float progress, float r1, float r2, float out[2]);
