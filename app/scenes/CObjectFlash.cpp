#include "CObjectFlash.h"
#include "ShowShaders.h"
#include "../CEventCollector.h"
#include "../../engine/core/HvMath.h"
#include "../../engine/render/HvAlphaProperty.h"
#include "../../engine/render/HvGeometry.h"
#include "../../engine/render/HvNode.h"
#include "../../engine/render/HvZBufferProperty.h"
#include <algorithm>

static const char* kFlashBig = "flash_big";
static const char* kFlashNewScene = "flash_new_scene";
static const char* kFlashSmall = "flash_small";
static const char* kFlashVerySmall = "flash_very_small";
static const char* kUse2ndPass = "use_2nd_pass";
static const char* kFadeScreen = "fade_screen";

static const float kFlashLength = 0.5f;  // s, every flash
static const float kBeat = 2.08f;        // s between beat flashes

bool CObjectFlash::ScheduleEvents() {
  CEventCollector& e = Events();
  // `count` flashes `name`, `step` apart (a running sum), from `start`; returns where the sum ends.
  auto series = [&](float start, int count, float step, const char* name) {
    for (int k = 0; k < count; ++k, start += step) e.AddTimedEvent(start, kFlashLength, this, name);
    return start;
  };
  e.AddTimedEvent(16.85f, kFlashLength, this, kFlashBig);
  e.AddTimedEvent(25.0f, kFlashLength, this, kFlashSmall);
  series(37.62f, 8, kBeat, kFlashSmall);                 // 37.62 to 52.18
  e.AddTimedEvent(70.8f, kFlashLength, this, kFlashNewScene);
  series(70.83f, 16, kBeat, kFlashVerySmall);            // 70.83 to 102.03
  e.AddTimedEvent(112.3f, kFlashLength, this, kFlashBig);
  e.AddTimedEvent(120.7f, kFlashLength, this, kFlashSmall);
  e.AddTimedEvent(129.1f, kFlashLength, this, kFlashSmall);
  series(133.16f, 4, 2 * kBeat, kFlashSmall);            // 133.16 to 145.64
  series(153.9f, 4, 2 * kBeat, kFlashSmall);             // 153.9 to 166.38
  e.AddEvent(178.8f, this, kUse2ndPass);
  e.AddTimedEvent(178.8f, kFlashLength, this, kFlashNewScene);
  const float big = series(180.88f, 7, kBeat, kFlashSmall);  // 180.88 to 193.36
  e.AddTimedEvent(big, kFlashLength, this, kFlashBig);       // 195.44
  series(big + kBeat, 16, kBeat, kFlashSmall);               // 197.52 to 228.72
  e.AddTimedEvent(233.8f, 1.0f, this, kFadeScreen);          // black from 234.8
  return true;
}

bool CObjectFlash::OnEvent(float progress, const std::string& name) {
  if (name == kFlashBig)
    flashKind = FlashBig;
  else if (name == kFlashSmall)
    flashKind = FlashSmall;
  else if (name == kFlashNewScene)
    flashKind = FlashNewScene;
  else if (name == kFlashVerySmall)
    flashKind = FlashVerySmall;
  else if (name == kUse2ndPass) {
    node->SetPassMode(1, HvPassSkip);
    node->SetPassMode(2, HvPassDraw);
  } else if (name == kFadeScreen)
    flashKind = FlashFadeToBlack;
  return CObject::OnEvent(progress, name);
}

void FlashColor(int kind, float p, float out[4]) {
  out[0] = out[1] = out[2] = out[3] = 1;  // white
  switch (kind) {
  case FlashBig: out[3] = EvaluateCurve(CurveFlash, p); break;
  case FlashNewScene: out[3] = 1 - p; break;
  case FlashSmall: out[3] = 0.7f * EvaluateCurve(CurveFlash, p); break;
  case FlashVerySmall: out[3] = 0.3f * EvaluateCurve(CurveFlash, p); break;
  case FlashFadeToBlack: out[0] = out[1] = out[2] = 0, out[3] = p; break;
  default: break;
  }
}

bool CObjectFlash::Create() {
  // Two triangles covering the clip-space square.
  static const float kQuad[6][3] = {{-1, -1, 0}, {1, 1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, -1, 0}, {-1, 1, 0}};
  HvRef<HvGeometry> quad = new HvGeometry({D3DPT_TRIANGLELIST, D3DFVF_XYZ, 6, 0});
  std::copy(&kQuad[0][0], &kQuad[0][0] + 18, quad->GetPositions());
  if (!CreateNodeWith("flash_screen_node", quad.Get())) return false;
  const uint32_t modes[HvPassCount] = {HvPassSkip, HvPassDraw, HvPassSkip, HvPassSkip};
  for (uint32_t pass = 0; pass < HvPassCount; ++pass) node->SetPassMode(pass, modes[pass]);

  // A failure is reported; the quad is then drawn without its shader. c0 is the colour, read at every draw.
  HvVertexShaderProperty* colorConstant = CreateShaderProperty(kFlashShader, {color});
  for (uint32_t pass = 1; pass <= 2; ++pass) {
    auto* z = new HvZBufferProperty;  // over everything, leaving the depth buffer alone
    z->depthWrite = z->depthTest = false;
    node->AddProperty(z, pass);
    auto* alpha = new HvAlphaProperty;  // drawn by the pass's alpha collector, after the opaque scene
    alpha->bucket = 4;
    alpha->blendOp = D3DBLENDOP_ADD;
    alpha->srcBlend = D3DBLEND_SRCALPHA;
    alpha->destBlend = D3DBLEND_INVSRCALPHA;
    node->AddProperty(alpha, pass);
    node->AddProperty(colorConstant, pass);
  }
  return true;
}

bool CObjectFlash::Update() {
  if (eventProgress >= 0 && flashKind != FlashNone) {
    node->SetFlag(HvFlags::Active);
    FlashColor(flashKind, eventProgress, color);
  } else {
    node->ClearFlag(HvFlags::Active);
  }
  flashKind = FlashNone;
  return CObject::Update();
}
