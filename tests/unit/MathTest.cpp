// Scene math: the one-degree sine table's truncation, wrap and sign rules, the envelope curves,
// the random range and the tolerant comparison.
#include <gtest/gtest.h>
#include "engine/core/HvMath.h"
#include <cmath>
#include <cstdlib>

namespace {
const float degreesPerRadian = 57.295776f;

// Entry d of the table: the single-precision sine of d degrees.
float Entry(int d) { return sinf(float(d) * 0.017453292f); }

// An angle a little further from 0 than `degrees`, in radians, so that truncation gives exactly `degrees`.
float Radians(float degrees) { return (degrees + copysignf(0.3f, degrees)) / degreesPerRadian; }

class MathTest : public ::testing::Test {
protected:
  void SetUp() override { HvFillSineTable(); }
};
}

TEST_F(MathTest, TableSinTruncatesToWholeDegreesNeverRounds) {
  EXPECT_EQ(TableSin(0.5f), Entry(28));   // 28.65 degrees
  EXPECT_EQ(TableSin(-0.5f), -Entry(28));
  EXPECT_EQ(TableSin(0.0f), 0.0f);
  EXPECT_EQ(TableSin(29.99f / degreesPerRadian), Entry(29));
  EXPECT_EQ(TableSin(-0.99f / degreesPerRadian), -Entry(0));
  EXPECT_EQ(TableSin(Radians(90)), 1.0f);
}

TEST_F(MathTest, TableSinMirrorsPast180AndWrapsEvery360) {
  EXPECT_EQ(TableSin(Radians(190)), -Entry(10));
  EXPECT_EQ(TableSin(Radians(-190)), Entry(10));   // the sign of x flips back
  EXPECT_EQ(TableSin(Radians(181)), -Entry(1));
  EXPECT_EQ(TableSin(Radians(359)), -Entry(179));
  EXPECT_EQ(TableSin(Radians(360)), Entry(0));
  EXPECT_EQ(TableSin(Radians(370)), Entry(10));
  EXPECT_EQ(TableSin(Radians(-370)), -Entry(10));
  EXPECT_EQ(TableSin(Radians(720 + 190)), -Entry(10));
  // 180 itself reads the last entry, the single-precision sine of pi: tiny and negative.
  EXPECT_EQ(TableSin(Radians(180)), Entry(180));
  EXPECT_LT(TableSin(Radians(180)), 0.0f);
  EXPECT_GT(TableSin(Radians(180)), -1e-6f);
  EXPECT_EQ(TableSin(Radians(-180)), -Entry(180));
  EXPECT_EQ(TableSin(Radians(540)), Entry(180));
}

TEST_F(MathTest, TableCosIsTheSineAQuarterTurnOn) {
  EXPECT_EQ(TableCos(0.0f), 1.0f);
  EXPECT_EQ(TableCos(-0.5f), Entry(61));   // 1.0707964 rad = 61.35 degrees
  EXPECT_EQ(TableCos(0.5f), Entry(118));   // 2.0707964 rad = 118.65 degrees
  EXPECT_EQ(TableCos(Radians(100)), -Entry(10));  // 190.3 degrees
}

TEST_F(MathTest, CurvesInterpolateBetweenTheirElevenSamples) {
  const float samples[4][11] = {
    {0, 0.04f, 0.16f, 0.48f, 0.92f, 1, 0.92f, 0.48f, 0.16f, 0.04f, 0},
    {0, 0.72f, 1, 0.96f, 0.8f, 0.6f, 0.4f, 0.32f, 0.16f, 0.08f, 0},
    {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    {1, 0.59f, 0.36f, 0.28f, 0.2f, 0.16f, 0.12f, 0.08f, 0.05f, 0.02f, 0},
  };
  for (uint32_t c = 0; c < 4; ++c)
    for (int i = 0; i < 10; ++i) {
      const float* s = samples[c];
      SCOPED_TRACE(testing::Message() << "curve " << c << " segment " << i);
      EXPECT_NEAR(EvaluateCurve(c, i * 0.1f + 0.05f), (s[i] + s[i + 1]) / 2, 1e-5f);
      EXPECT_NEAR(EvaluateCurve(c, i * 0.1f + 0.025f), s[i] + (s[i + 1] - s[i]) / 4, 1e-5f);
      if (i > 0) {
        EXPECT_NEAR(EvaluateCurve(c, i * 0.1f), s[i], 1e-5f);
      }
    }
  EXPECT_NEAR(EvaluateCurve(CurveFlash, 0.15f), 0.86f, 1e-5f);
  EXPECT_EQ(EvaluateCurve(CurvePulse, 0.5f), 1.0f);
  EXPECT_NEAR(EvaluateCurve(CurveDecay, 0.999f), 0.0002f, 1e-5f);
}

TEST_F(MathTest, CurvesHoldTheirEndValuesOutsideZeroToOneAndUnknownIdsGiveZero) {
  EXPECT_EQ(EvaluateCurve(CurveDecay, 0), 1.0f);
  EXPECT_EQ(EvaluateCurve(CurveDecay, 1), 0.0f);
  EXPECT_EQ(EvaluateCurve(CurveDecay, -0.5f), 1.0f);
  EXPECT_EQ(EvaluateCurve(CurveDecay, 7), 0.0f);
  EXPECT_EQ(EvaluateCurve(CurvePulse, -0.5f), 0.0f);
  EXPECT_EQ(EvaluateCurve(CurveFlash, 7), 0.0f);
  for (float t : {-1.0f, 0.0f, 0.3f, 0.5f, 1.0f, 2.0f}) {
    EXPECT_EQ(EvaluateCurve(CurveNone, t), 0.0f);
    EXPECT_EQ(EvaluateCurve(4, t), 0.0f);
    EXPECT_EQ(EvaluateCurve(0xFFFFFFFF, t), 0.0f);
  }
  const float nan = std::nanf("");
  EXPECT_TRUE(std::isfinite(EvaluateCurve(CurvePulse, nan)));
  EXPECT_TRUE(std::isfinite(EvaluateCurve(CurveDecay, nan)));
}

TEST_F(MathTest, RandomRangeCoversTenThousandStepsAndNeverReachesHigh) {
  srand(12345);
  float lowest = 2, highest = -1;
  for (int i = 0; i < 200000; ++i) {
    const float r = RandomRange(0, 1);
    ASSERT_GE(r, 0.0f);
    ASSERT_LT(r, 1.0f);
    const float steps = r * 10000;
    ASSERT_NEAR(steps, roundf(steps), 0.01f) << r;
    lowest = std::min(lowest, r);
    highest = std::max(highest, r);
  }
  EXPECT_EQ(lowest, 0.0f);
  EXPECT_NEAR(highest, 0.9999f, 1e-6f);
  EXPECT_EQ(RandomRange(5, 5), 5.0f);
  for (int i = 0; i < 1000; ++i) {
    const float r = RandomRange(-2, 2);
    ASSERT_GE(r, -2.0f);
    ASSERT_LE(r, 1.9996f + 1e-6f);
  }
}

TEST_F(MathTest, NearlyEqualToleratesOneTenThousandth) {
  EXPECT_TRUE(NearlyEqual(1, 1.00005f));
  EXPECT_TRUE(NearlyEqual(1.00005f, 1));
  EXPECT_FALSE(NearlyEqual(1, 1.001f));
  EXPECT_TRUE(NearlyEqual(0, 0.0001f));
  EXPECT_TRUE(NearlyEqual(-0.0001f, 0));
  EXPECT_FALSE(NearlyEqual(0, 0.00011f));
  EXPECT_FALSE(NearlyEqual(-0.00011f, 0));
}
