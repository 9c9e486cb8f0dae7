#include "CObjectShader.h"
#include "../CCore.h"
#include "../CEventCollector.h"
#include "OverlayScale.h"
#include "../../engine/ui2d/HvSprite.h"

static const char* const kShowTotal = "show_total";
static const char* const kHide = "hide";
static const char* const kLightFlash = "light_flash";
static const char* const kEnvRef = "sprite_env_ref";
static const char* const kPulse = "sprite_pulse";
static const char* const kHolo = "sprite_holo";
static const char* const kHideAll = "hide_all";
static const char* const kGreetings = "greetings";
static const char* const kGreetingsHide = "greetings_hide";

static const float kBar = 2.08f;        // s, one bar of the music
static const float kFlashStep = 0.26f;  // s between the light flashes of one group

bool CObjectShader::ScheduleEvents() {
  Events().AddTimedEvent(104.0f, 8.3f, this, kGreetings);
  Events().AddEvent(112.3f, this, kGreetingsHide);
  AddPulses(112.3f);                              // toon, 112.3 to 126.86 s
  Events().AddEvent(129.1f, this, kShowTotal);
  Events().AddEvent(133.16f, this, kEnvRef);
  AddPulses(133.16f);                             // reflection/refraction, 133.16 to 147.72 s
  Events().AddEvent(150.0f, this, kPulse);
  AddLightFlashes(150.0f, 3, 1.58f);              // 150.0 to 152.62 s
  Events().AddEvent(153.9f, this, kHolo);
  AddPulses(153.9f);                              // hologram, 153.9 to 168.46 s
  Events().AddEvent(170.5f, this, kPulse);
  AddLightFlashes(170.5f, 4, 1.32f);              // 170.5 to 173.38 s
  Events().AddEvent(178.8f, this, kHideAll);
  return true;
}

// Eight bars, each fading the caption from opaque to 10 %.
void CObjectShader::AddPulses(float t) {
  for (int i = 0; i < 8; ++i, t += kBar) Events().AddTimedEvent(t, kBar, this, kHide);
}

// Two groups of flashes 0.16 s long, kFlashStep apart; the second group `pause` s after the first's last.
void CObjectShader::AddLightFlashes(float t, int perGroup, float pause) {
  for (int group = 0; group < 2; ++group, t += pause)
    for (int i = 0; i < perGroup; ++i) {
      if (i > 0) t += kFlashStep;
      Events().AddTimedEvent(t, 0.16f, this, kLightFlash);
    }
}

bool CObjectShader::OnEvent(float p, const std::string& name) {
  if (!sprites[current]) return CObject::OnEvent(p, name);  // before Create
  HvSprite* s = sprites[current].Get();
  if (name == kShowTotal) {
    SetAlpha(s, 1);
  } else if (name == kHide) {
    SetAlpha(s, 1 - 0.9f * p);
  } else if (name == kLightFlash) {
    SetAlpha(s, 1 - 0.39999998f * p);
  } else if (name == kEnvRef || name == kPulse || name == kHolo) {
    s->SetVisible(false);
    current = name == kEnvRef ? ReflectRefract : name == kPulse ? Pulse : Hologram;
  } else if (name == kHideAll) {
    for (HvRef<HvSprite>& each : sprites) each->SetVisible(false);
  } else if (name == kGreetings) {
    Greetings(p);
  } else if (name == kGreetingsHide) {
    sprites[GreetingsLower]->SetVisible(false);
    sprites[GreetingsUpper]->SetVisible(false);
  }
  return CObject::OnEvent(p, name);
}

void CObjectShader::SetAlpha(HvSprite* s, float alpha) {
  s->SetVisible(true);
  s->SetColor(1, 1, 1, alpha);
  s->Refresh();
}

void CObjectShader::Greetings(float p) {
  const HvDeviceSettings& s = HvCore::GetInstance()->GetSettings();
  float at[2][2];
  GreetingsPositions(p, s.displayWidth, s.displayHeight, greetingsBaseline, at[0], at[1]);
  for (uint32_t i = 0; i < 2; ++i) {
    HvSprite* strip = sprites[GreetingsLower + i].Get();
    strip->SetPosition(at[i][0], at[i][1]);
    strip->Refresh();
    strip->SetVisible(true);
  }
}

const char* const CObjectShader::fileNames[SpriteCount] = {
  "Shader\\toon_sh.tga", "Shader\\rr_sh.tga",      "Shader\\holo_sh.tga",
  "Shader\\pulse_sh.tga", "Shader\\greetings.tga", "Shader\\greetings.tga",
};

ShaderOverlayRows ShaderRows(uint32_t h) {
  if (h == 480) return {0.08f, 0.75f};
  if (h == 600) return {0.1f, 0.76f};
  if (h == 768) return {0.11f, 0.79f};
  return {0.12f, 0.805f};
}

float CaptionX(uint32_t w) { return 1.0f - PlateScaleX(w) * 256 / float(w); }

// The strip is laid out 1350 pixels wide at full scale; it travels its own width plus the screen's.
void GreetingsPositions(float p, uint32_t w, uint32_t h, float baseline, float lower[2], float upper[2]) {
  const float kx = PlateScaleX(w);
  const float stripWidth = kx * 1350 / float(w);
  const float d = (stripWidth + 1) * p;
  const float k = h < 600 ? float(h) / 600 : kx;
  lower[0] = 1 - d, lower[1] = baseline;
  upper[0] = d - stripWidth, upper[1] = 1 - (k * 32 / float(h) + baseline);
}

CObjectShader::CObjectShader(const char* name) : CObject(name) {}
CObjectShader::~CObjectShader() = default;

bool CObjectShader::Create() {
  const HvDeviceSettings& s = HvCore::GetInstance()->GetSettings();
  const ShaderOverlayRows rows = ShaderRows(s.displayHeight);
  captionTop = rows.captionTop;
  greetingsBaseline = rows.greetingsBaseline;
  for (uint32_t i = 0; i < SpriteCount; ++i) {
    sprites[i] = new HvSprite(fileNames[i], 0, 0);
    sprites[i]->SetScale(PlateScaleX(s.displayWidth), PlateScaleY(s.displayHeight));
    sprites[i]->SetPivot(0, 0);
    sprites[i]->SetPosition(CaptionX(s.displayWidth), captionTop);
    sprites[i]->SetColor(1, 1, 1, 1);
    sprites[i]->Refresh();
    sprites[i]->SetVisible(false);
  }
  return true;
}
