// The start-up breakdown: a nested step pauses the outer one, every second counts once, repeated steps
// add up, and steps outside the record (or inside another step, for the outermost kind) leave no trace.
#include <gtest/gtest.h>
#include "engine/core/HvStartupTimes.h"
#include "engine/core/HvTimer.h"

namespace {
const HvStartupTimes::Step* Find(const char* name) {
  for (const HvStartupTimes::Step& s : HvStartupTimes::Steps())
    if (s.name == name) return &s;
  return nullptr;
}
double StepSum() {
  double sum = 0;
  for (const HvStartupTimes::Step& s : HvStartupTimes::Steps()) sum += s.seconds;
  return sum;
}
}

TEST(StartupTimesTest, NestedStepsPauseTheOuterOneAndRepeatsAddUp) {
  HvStartupTimes::BeginRecord();
  {
    HvStartupStep model("model a.x, parse");
    HvTimer::Wait(0.01f);
    for (int i = 0; i < 2; ++i) {
      HvStartupStep textures("model a.x, textures");
      HvTimer::Wait(0.01f);
      HvStartupStep load("texture loads", true);  // inside a model: that model's time
    }
  }
  HvStartupTimes::Begin("first frame");
  HvTimer::Wait(0.01f);
  HvStartupTimes::EndRecord();  // ends the open step too
  const double total = HvStartupTimes::Total();

  ASSERT_EQ(HvStartupTimes::Steps().size(), 3u) << "no step for the texture loads inside the model";
  EXPECT_EQ(HvStartupTimes::Steps()[0].name, "model a.x, parse");  // in the order they first began
  EXPECT_EQ(Find("model a.x, textures")->count, 2);
  EXPECT_EQ(Find("first frame")->count, 1);
  for (const char* name : {"model a.x, parse", "model a.x, textures", "first frame"})
    EXPECT_GE(Find(name)->seconds, 0.01) << name;
  EXPECT_GE(Find("model a.x, textures")->seconds, 0.02);
  EXPECT_LE(StepSum(), total) << "a second counted twice";
  EXPECT_FALSE(HvStartupTimes::IsRecording());
}

TEST(StartupTimesTest, OutermostStepsCountOnTheirOwnAndNothingCountsOutsideTheRecord) {
  HvStartupTimes::BeginRecord();
  { HvStartupStep shader("shader assembly", true); }
  { HvStartupStep shader("shader assembly", true); }
  HvStartupTimes::EndRecord();
  ASSERT_NE(Find("shader assembly"), nullptr);
  EXPECT_EQ(Find("shader assembly")->count, 2);

  { HvStartupStep late("texture loads"); }  // after the first frame: not part of the start-up
  EXPECT_EQ(Find("texture loads"), nullptr);
  const double total = HvStartupTimes::Total();
  HvTimer::Wait(0.01f);
  EXPECT_EQ(HvStartupTimes::Total(), total) << "the record stays as it ended";
}
