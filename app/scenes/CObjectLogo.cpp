#include "CObjectLogo.h"
#include "../CCore.h"
#include "../CEventCollector.h"
#include "OverlayScale.h"
#include "../../engine/core/HvMath.h"
#include "../../engine/core/HvTimer.h"
#include "../../engine/ui2d/HvSprite.h"
#include <cmath>

static const char* const kTurnOn = "turn_on";
static const char* const kTurnOff = "turn_off";
static const char* const kSetAlpha = "set_alpha";
static const char* const kSetAlphaTotal = "set_alpha_total";
static const char* const kShake = "shake";
static const char* const kFlash = "flash";

static const float kDegree = 0.017453292f;     // radians
static const float kJitterPeriod = 0.01f;      // s between two random moves, whatever the frame rate

bool CObjectLogo::ScheduleEvents() {
  Events().AddEvent(53.0f, this, kTurnOn);            // on, but transparent
  Events().AddTimedEvent(54.6f, 13.0f, this, kSetAlpha);
  Events().AddEvent(67.6f, this, kSetAlphaTotal);
  Events().AddEvent(70.8f, this, kTurnOff);
  float t = 54.5f;  // 8 shakes, 54.5 to 69.06 s, one every 2.08 s
  for (int i = 0; i < 8; ++i, t += 2.08f) Events().AddTimedEvent(t, 1.5f, this, kShake);
  AddFlashes(133.16f, 4.16f, 4);  // 133.16 to 145.64 s
  AddFlashes(153.9f, 4.16f, 4);   // 153.9 to 166.38 s
  AddFlashes(212.08f, 2.08f, 9);  // 212.08 to 228.72 s
  return true;
}

// Each flash lasts 0.5 s and hides the logo again at its end.
void CObjectLogo::AddFlashes(float t, float step, int count) {
  for (int i = 0; i < count; ++i, t += step) {
    Events().AddTimedEvent(t, 0.5f, this, kFlash);
    Events().AddEvent(t + 0.5f, this, kTurnOff);
  }
}

bool CObjectLogo::OnEvent(float p, const std::string& name) {
  if (sprite) {
    if (name == kTurnOn) sprite->SetVisible(true);
    else if (name == kTurnOff) sprite->SetVisible(false);
    else if (name == kSetAlpha) sprite->SetColor(1, 1, 1, p);
    else if (name == kSetAlphaTotal) sprite->SetColor(1, 1, 1, 1);
    else if (name == kShake) Shake(p);
    else if (name == kFlash) Flash(p);
  }
  return CObject::OnEvent(p, name);
}

float LogoScaleX(uint32_t width, float k) { return OverlayFitScale(width, 1024, 0.0009765625f, k); }
float LogoScaleY(uint32_t height, float k) { return OverlayFitScale(height, 768, 0.0013020834f, k); }

float LogoShakeRotation(float p) { return sinf(p * 31.415928f) * 3.0f * (1 - p) * kDegree; }

LogoFlashLook LogoFlash(float p) {
  const float s = EvaluateCurve(CurveFlash, p);
  return {sinf(p * 12.566371f) * 3.0f * (1 - p) * kDegree, 0.7f * s, 0.3f * s + 0.7f};
}

void LogoJitter(float p, float r1, float r2, float out[2]) {
  out[0] = 0.5f + r1 * 0.005f * (1 - p);
  out[1] = 0.5f + r2 * 0.005f * (1 - p);
}

CObjectLogo::CObjectLogo(const char* name) : CObject(name) {}
CObjectLogo::~CObjectLogo() = default;

bool CObjectLogo::Create() {
  const HvDeviceSettings& s = HvCore::GetInstance()->GetSettings();
  sprite = new HvSprite("Logo\\LogoOrvanta.tga", 0, 0);
  sprite->SetScale(LogoScaleX(s.displayWidth), LogoScaleY(s.displayHeight));
  sprite->SetPivot(0.5f, 0.5f);
  sprite->SetPosition(0.5f, 0.5f);
  sprite->SetColor(1, 1, 1, 0);
  sprite->Refresh();
  sprite->SetVisible(false);
  return true;
}

void CObjectLogo::Shake(float p) {
  sprite->SetRotation(LogoShakeRotation(p));
  shakeTimer -= HvTimer::GetFrameTime();
  if (shakeTimer <= 0) {
    const float r1 = RandomRange(-1, 1);
    float at[2];
    LogoJitter(p, r1, RandomRange(-1, 1), at);
    sprite->SetPosition(at[0], at[1]);
    shakeTimer = kJitterPeriod;
  }
  sprite->Refresh();
}

// The position keeps the last jitter of the shaking.
void CObjectLogo::Flash(float p) {
  const HvDeviceSettings& s = HvCore::GetInstance()->GetSettings();
  const LogoFlashLook look = LogoFlash(p);
  sprite->SetVisible(true);
  sprite->SetRotation(look.rotation);
  sprite->SetPivot(0.5f, 0.5f);
  sprite->SetColor(1, 1, 1, look.alpha);
  sprite->SetScale(LogoScaleX(s.displayWidth, look.size), LogoScaleY(s.displayHeight, look.size));
  sprite->Refresh();
}
