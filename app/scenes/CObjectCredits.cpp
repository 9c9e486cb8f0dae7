#include "CObjectCredits.h"
#include "../CCore.h"
#include "../CEventCollector.h"
#include "OverlayScale.h"
#include "../../engine/ui2d/HvSprite.h"

static const char* const kShow = "show";
static const char* const kShowTotal = "show_total";
static const char* const kHide = "hide";
static const char* const kHideTotal = "hide_total";

static const float kBar = 2.08f;  // s, one bar of the music

bool CObjectCredits::ScheduleEvents() {
  float t = 180.58f;  // four cycles of two bars each, 180.58 to 197.22 s
  for (uint32_t i = 0; i < PlateCount; ++i) {
    Events().AddTimedEvent(t, 0.5f, this, kShow);
    Events().AddEvent(t + 0.5f, this, kShowTotal);
    t += kBar;
    Events().AddTimedEvent(t, kBar, this, kHide);
    t += kBar;
    Events().AddEvent(t, this, kHideTotal);  // the same time as the next plate's "show", added before it
  }
  return true;
}

bool CObjectCredits::OnEvent(float p, const std::string& name) {
  HvSprite* s = current < PlateCount ? sprites[current].Get() : nullptr;
  if (s) {
    if (name == kShow || name == kShowTotal) {
      s->SetVisible(true);
      s->SetPosition(name == kShow ? CreditsSlideX(p) : 0.0f, baseline);
      s->Refresh();
    } else if (name == kHide) {
      s->SetColor(1, 1, 1, 1 - p);
      s->Refresh();
    } else if (name == kHideTotal) {
      s->SetVisible(false);
      ++current;
    }
  }
  return CObject::OnEvent(p, name);
}

const char* const CObjectCredits::fileNames[PlateCount] = {
  "Credits\\marsiden.tga", "Credits\\quelin.tga", "Credits\\brenholt.tga", "Credits\\tesrik.tga",
};

float CreditsBaseline(uint32_t h) {
  if (h == 480 || h == 600) return 0.63f;
  return h == 768 ? 0.68f : 0.715f;
}

// Slides in from 60 % of the screen width left of its place.
float CreditsSlideX(float p) { return (1 - p) * -0.6f; }

CObjectCredits::CObjectCredits(const char* name) : CObject(name) {}
CObjectCredits::~CObjectCredits() = default;

bool CObjectCredits::Create() {
  const HvDeviceSettings& s = HvCore::GetInstance()->GetSettings();
  baseline = CreditsBaseline(s.displayHeight);
  for (uint32_t i = 0; i < PlateCount; ++i) {
    sprites[i] = new HvSprite(fileNames[i], 0, 0);
    sprites[i]->SetScale(PlateScaleX(s.displayWidth), PlateScaleY(s.displayHeight));
    sprites[i]->SetPivot(0, 0);
    sprites[i]->SetPosition(0, baseline);
    sprites[i]->SetColor(1, 1, 1, 1);
    sprites[i]->Refresh();
    sprites[i]->SetVisible(false);
  }
  return true;
}
