// Four name plates near the bottom of the screen, one after another: each slides in from the left,
// stays, fades out, and the next one follows. No node.
#pragma once
#include "CObject.h"
#include <cstdint>

class HvSprite;

class CObjectCredits : public CObject {
public:
  static constexpr uint32_t PlateCount = 4;

  explicit CObjectCredits(const char* name);
  ~CObjectCredits() override;

  bool Create() override;
  bool ScheduleEvents() override;
  bool OnEvent(float progress, const std::string& name) override;

  HvSprite* GetSprite(uint32_t i) const { return sprites[i].Get(); }
  float GetBaseline() const { return baseline; }
  uint32_t GetCurrent() const { return current; }

private:
  static const char* const fileNames[PlateCount];  // in showing order
  HvRef<HvSprite> sprites[PlateCount];
  float baseline = 0.67f;  // top of the plates, fraction of the screen height
  uint32_t current = 0;    // the plate the events act on; PlateCount once all were shown
};

// Top of the plates as a fraction of a display `height` pixels high.
float CreditsBaseline(uint32_t height);
// Horizontal position (fraction of the screen width) of a plate sliding in at `progress`.
float CreditsSlideX(float progress);
