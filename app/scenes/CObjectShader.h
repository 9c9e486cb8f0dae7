// The space-station section's overlay: in the top-right corner the caption of the shading effect on
// screen (toon, reflection/refraction, hologram, pulse), pulsing to the music, and two greetings
// strips scrolling across the screen in opposite directions. No node.
#pragma once
#include "CObject.h"
#include <cstdint>

class HvSprite;

class CObjectShader : public CObject {
public:
  enum SpriteIndex : uint32_t { Toon, ReflectRefract, Hologram, Pulse, GreetingsLower, GreetingsUpper, SpriteCount };

  explicit CObjectShader(const char* name);
  ~CObjectShader() override;

  bool Create() override;
  bool ScheduleEvents() override;
  bool OnEvent(float progress, const std::string& name) override;

  HvSprite* GetSprite(uint32_t i) const { return sprites[i].Get(); }
  uint32_t GetCurrent() const { return current; }

private:
  void AddPulses(float first);
  void AddLightFlashes(float first, int perGroup, float pause);
  void Greetings(float progress);
  void SetAlpha(HvSprite* s, float alpha);

  static const char* const fileNames[SpriteCount];
  HvRef<HvSprite> sprites[SpriteCount];
  float captionTop = 0.15f;       // fraction of the screen height
  float greetingsBaseline = 0;    // top of the lower strip, fraction of the screen height
  uint32_t current = Toon;        // the caption the caption events act on
};

// Vertical placement by display height: caption top and lower greetings strip, screen fractions.
struct ShaderOverlayRows {
  float captionTop, greetingsBaseline;
};
ShaderOverlayRows ShaderRows(uint32_t height);
// Left edge of a 256-pixel-wide caption flush with the right edge of a display `width` pixels wide.
float CaptionX(uint32_t width);
// Positions (screen fractions) of the lower strip, entering at the right, and of the upper strip,
// entering at the left, at `progress` of the scroll.
void GreetingsPositions(float progress, uint32_t width, uint32_t height, float baseline, float lower[2],
                        float upper[2]);
