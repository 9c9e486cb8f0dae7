// The engine clock: first frame 0.01 s, never a zero frame time, and the deterministic clock.
#include <gtest/gtest.h>
#include "engine/core/HvTimer.h"
#include <cstdio>
#include <cstdlib>

TEST(TimerTest, FirstFrameAfterResetIsOneHundredthWhateverTheLoadingTook) {
  HvTimer::SetFixedStep(0);
  HvTimer::Init();
  HvTimer::Wait(0.05f);
  HvTimer::Reset();
  HvTimer::Tick();
  EXPECT_EQ(HvTimer::GetFrameTime(), 0.01f);
  for (int i = 0; i < 1000; ++i) {  // back-to-back ticks: the clock must move, never 0 or negative
    HvTimer::Tick();
    ASSERT_GT(HvTimer::GetFrameTime(), 0.0f);
  }
}

TEST(TimerTest, RealClockMeasuresElapsedTime) {
  HvTimer::SetFixedStep(0);
  HvTimer::Init();
  HvTimer::Reset();
  HvTimer::Tick();
  HvTimer::Wait(0.05f);
  HvTimer::Tick();
  EXPECT_GE(HvTimer::GetFrameTime(), 0.05f);
  EXPECT_LT(HvTimer::GetFrameTime(), 0.5f);
  EXPECT_GE(HvTimer::Now(), 0.05);
}

TEST(TimerTest, FixedStepAdvancesExactlyOnceAFrame) {
  HvTimer::Init();
  HvTimer::SetFixedStep(0.04);
  HvTimer::BeginFrameTurn();  // before the first frame's reset: no advance
  HvTimer::Reset();
  EXPECT_EQ(HvTimer::Now(), 0.0);
  HvTimer::Tick();
  EXPECT_EQ(HvTimer::GetFrameTime(), 0.01f);
  for (int frame = 1; frame <= 25; ++frame) {
    HvTimer::BeginFrameTurn();
    HvTimer::Wait(0.001f);       // real time passing changes nothing
    EXPECT_NEAR(HvTimer::Now(), frame * 0.04, 1e-9);
    HvTimer::Tick();
    EXPECT_FLOAT_EQ(HvTimer::GetFrameTime(), 0.04f);
  }
  HvTimer::SetFixedStep(0);
}

// Frame n of a stepped run reads the show time a user names for it (n/N s at N frames/s), not a hair
// less, so that --grab and --capture at that time find that frame and not the next. Summing the steps
// drifts below after a few hundred frames. A changed step goes on from the time reached.
TEST(TimerTest, FixedStepReadsTheTimeOfEachFrame) {
  HvTimer::Init();
  for (int rate : {10, 30, 60}) {
    char step[32];
    snprintf(step, sizeof step, "%.17g", 1.0 / rate);  // as tools/capture.sh passes it
    HvTimer::SetFixedStep(strtod(step, nullptr));
    HvTimer::Reset();
    HvTimer::Tick();
    for (int frame = 1; frame <= 240 * rate; ++frame) {
      HvTimer::BeginFrameTurn();
      ASSERT_EQ(HvTimer::Now(), double(frame) / rate) << "frame " << frame << " at " << rate << " frames/s";
    }
  }
  HvTimer::SetFixedStep(0.5);
  HvTimer::Reset();
  HvTimer::Tick();
  HvTimer::BeginFrameTurn();
  HvTimer::SetFixedStep(0.25);
  HvTimer::BeginFrameTurn();
  EXPECT_EQ(HvTimer::Now(), 0.75);
  HvTimer::SetFixedStep(0);
}
