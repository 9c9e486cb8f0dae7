#include "HvAnimationController.h"
#include "../core/HvCore.h"
#include "../core/HvTimer.h"
#include <algorithm>

HvAnimationController::HvAnimationController(HvNode* r) : HvObject("Animation_Controller"), root(r) {
  if (root) CollectTracks(root.Get());
  HvCore::GetInstance()->GetPool(HvPoolAnimation)->Add(this);
}

HvAnimationController::~HvAnimationController() = default;

void HvAnimationController::CollectTracks(HvNode* node) {
  if (auto* p = static_cast<HvAnimationProperty*>(node->FindProperty(HvPropertyAnimation, 0))) {
    tracks.push_back({node, p});
    lastKeyTime = std::max(lastKeyTime, p->GetLastKeyTime());
  }
  for (size_t i = 0; i < node->GetChildCount(); ++i) CollectTracks(node->GetChild(i));
}

void HvAnimationController::Play() {
  if (state == Stopped) {
    time = 0;
    ticks = 0;
  }
  state = Playing;
}

void HvAnimationController::Stop() {
  state = Stopped;
  time = 0;
}

void HvAnimationController::Pause() { state = Paused; }

bool HvAnimationController::Update() {
  if (state == Playing) {
    time += HvTimer::GetFrameTime() * speed;
    ticks = uint32_t(double(TicksPerSecond) * double(time));
  }
  if (ticks > lastKeyTime) {
    if (loopMode == Once) {
      state = Stopped;
      ticks = lastKeyTime;
    } else {
      if (loopMode == PingPong) forward ^= 1;
      ticks = 0;  // the overshoot is dropped, not wrapped
      time = 0;
    }
  }
  // Mirrored for the sample only: the clock itself keeps running forward, so that a paused
  // controller does not flip between two poses every frame.
  const uint32_t sample = loopMode == PingPong && !forward ? lastKeyTime - ticks : ticks;

  for (const Track& t : tracks) {
    t.node->SetMatrix(HvMatrixAltPreTransform, t.property->Sample(sample, t.node->GetMatrix(HvMatrixPreTransform)));
    t.node->SetFlag(HvNodeFlags::Animated);
  }
  if (root && !root->Refresh()) return false;
  ClearFlag(HvFlags::FirstFrame);
  return true;
}

bool HvAnimationController::Release() {
  for (const Track& t : tracks) t.node->ClearFlag(HvNodeFlags::Animated);
  tracks.clear();
  SetFlag(HvFlags::Released);
  return true;
}
