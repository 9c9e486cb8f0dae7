// The tunnel's arithmetic: segment shifts while the camera flies and jumps, flashes, speeds, the
// shake, the jump table and the model bounds.
#include "SceneFixture.h"
#include "app/scenes/CObjectTunnel.h"
#include "engine/render/HvGeometry.h"
#include "engine/render/HvNode.h"
#include <gtest/gtest.h>

namespace {
const float kLength = 1600, kFarEnd = 1600;  // a tube from z 0 to 1600 at the origin

// True when the shown segments, each covering [index x length, (index + 1) x length], hold the
// whole view from z to z + 1500.
bool ViewCovered(const TunnelSegmentState& s, float z) {
  float from = z;
  for (int pass = 0; pass < 2; ++pass)
    for (int i = 0; i < 2; ++i)
      if (s.shown[i] && s.index[i] * kLength <= from && from < (s.index[i] + 1) * kLength) from = (s.index[i] + 1) * kLength;
  return from >= z + kTunnelFarPoint;
}
}

TEST(TunnelSegments, IndexCountsWholeLengthsBeyondTheFarEnd) {
  EXPECT_EQ(TunnelSegmentIndex(0, kFarEnd, kLength), 0);
  EXPECT_EQ(TunnelSegmentIndex(1600, kFarEnd, kLength), 0);  // the far end itself is still inside
  EXPECT_EQ(TunnelSegmentIndex(1600.5f, kFarEnd, kLength), 1);
  EXPECT_EQ(TunnelSegmentIndex(1600 + 1600, kFarEnd, kLength), 1);
  EXPECT_EQ(TunnelSegmentIndex(5000, kFarEnd, kLength), 3);
  EXPECT_EQ(TunnelSegmentIndex(1700, 1600 + 250, kLength), 0) << "a model placed further along";
  // Nothing to count, and no endless loop: before the model, without a length, or without a place.
  EXPECT_EQ(TunnelSegmentIndex(-900, kFarEnd, kLength), 0);
  EXPECT_EQ(TunnelSegmentIndex(5000, kFarEnd, 0), 0);
  EXPECT_EQ(TunnelSegmentIndex(5000, kFarEnd, -1), 0);
  EXPECT_EQ(TunnelSegmentIndex(INFINITY, kFarEnd, kLength), 0);
  EXPECT_EQ(TunnelSegmentIndex(NAN, kFarEnd, kLength), 0);
}

TEST(TunnelSegments, TwoSegmentsAlwaysFillTheViewAndMoveOnlyWhenNeeded) {
  TunnelSegmentState s;
  EXPECT_EQ(PlaceTunnelSegments(s, 50, kFarEnd, kLength), 1u) << "far point still inside: one segment";
  EXPECT_TRUE(s.shown[0] && !s.shown[1]);
  EXPECT_EQ(s.index[0], 0);
  EXPECT_EQ(PlaceTunnelSegments(s, 150, kFarEnd, kLength), 2u) << "far point in the next length";
  EXPECT_TRUE(s.shown[0] && s.shown[1]);
  EXPECT_EQ(s.index[1], 1);

  int moves = 0;
  for (float z = 150; z < 9000; z += 7.3f) {
    const TunnelSegmentState before = s;
    const uint32_t moved = PlaceTunnelSegments(s, z, kFarEnd, kLength);
    ASSERT_TRUE(ViewCovered(s, z)) << "at z " << z;
    for (int i = 0; i < 2; ++i) {
      const bool changed = before.index[i] != s.index[i];
      ASSERT_EQ(changed, (moved >> i & 1) != 0) << "at z " << z;
      moves += changed;
    }
  }
  EXPECT_LE(moves, 2 * 6) << "about one move per segment per length flown";

  // Jumps along the path, backwards and forwards, as the resets make them.
  for (float z : {2475.0f, 3850.0f, 1100.0f, 1500.0f, 4300.0f}) {
    PlaceTunnelSegments(s, z, kFarEnd, kLength);
    EXPECT_TRUE(ViewCovered(s, z)) << "after a jump to z " << z;
  }
}

TEST(TunnelFlashes, RangeAndFlareFollowTheFlashCurve) {
  const TunnelFlash rest = TunnelFlashAt(-1.0f);
  EXPECT_NEAR(rest.range, 45.0f, 1e-3f);
  EXPECT_NEAR(rest.flareScale, 0.5f, 1e-6f);
  const TunnelFlash peak = TunnelFlashAt(0.2f);
  EXPECT_NEAR(peak.range, 225.0f, 1e-3f);
  EXPECT_NEAR(peak.flareScale, 1.0f, 1e-6f);
  const TunnelFlash fading = TunnelFlashAt(0.6f);
  EXPECT_GT(fading.range, 45.0f);
  EXPECT_LT(fading.range, 225.0f);
  EXPECT_NEAR(TunnelFlashAt(1.0f).range, 45.0f, 1e-3f) << "the flash is over at the end of its event";
}

TEST(TunnelSpeed, SpeedEventsSetPaceAndFieldOfView) {
  const TunnelPace slow = TunnelPaceFor(TunnelSpeedSlow, 0.7f);
  EXPECT_EQ(slow.speed, 1.0f);
  EXPECT_LT(slow.fovDegrees, 0.0f) << "the slow flight keeps the projection";
  const TunnelPace upStart = TunnelPaceFor(TunnelSpeedUp, 0.0f), upHalf = TunnelPaceFor(TunnelSpeedUp, 0.5f);
  EXPECT_EQ(upStart.speed, 1.0f);
  EXPECT_EQ(upStart.fovDegrees, 60.0f);
  EXPECT_EQ(upHalf.speed, 1.5f);
  EXPECT_EQ(upHalf.fovDegrees, 90.0f);
  const TunnelPace fast = TunnelPaceFor(TunnelSpeedFast, 0.3f);
  EXPECT_EQ(fast.speed, 3.0f);
  EXPECT_EQ(fast.fovDegrees, 120.0f);

  const TunnelPace downStart = TunnelSlowDownAt(0.0f), downEnd = TunnelSlowDownAt(1.0f);
  EXPECT_NEAR(downStart.speed, 3.0f, 1e-5f);
  EXPECT_NEAR(downStart.fovDegrees, 120.0f, 1e-4f);
  EXPECT_NEAR(downEnd.speed, 0.4f, 1e-5f);
  EXPECT_NEAR(downEnd.fovDegrees, 160.0f, 1e-4f);
  EXPECT_LT(TunnelSlowDownAt(0.5f).speed, 3.0f);
}

TEST(TunnelShake, OscillatesAndDiesOut) {
  EXPECT_NEAR(TunnelShakeOffset(0.0f), 0.0f, 1e-5f);
  EXPECT_NEAR(TunnelShakeOffset(1.0f), 0.0f, 1e-5f);
  EXPECT_NEAR(TunnelShakeOffset(1.0f / 30), 8.0f * 29 / 30, 1e-3f) << "first crest after a quarter oscillation";
  int signChanges = 0;
  float previous = TunnelShakeOffset(0.001f);
  for (float p = 0.002f; p < 0.999f; p += 0.001f) {
    const float y = TunnelShakeOffset(p);
    ASSERT_LE(std::fabs(y), 8.0f * (1 - p) + 1e-4f);
    signChanges += (y > 0) != (previous > 0);
    previous = y;
  }
  EXPECT_EQ(signChanges, 14) << "7.5 oscillations";
}

TEST(TunnelResets, JumpTimesInOrderAndNothingPastTheTable) {
  const float expected[] = {20, 70, 45, 35, 60, 30, 20, 70};
  for (uint32_t k = 0; k < kTunnelResetCount; ++k) {
    float t = -1;
    ASSERT_TRUE(TunnelResetTime(k, t));
    EXPECT_EQ(t, expected[k]) << "reset " << k;
  }
  float untouched = -1;
  EXPECT_FALSE(TunnelResetTime(kTunnelResetCount, untouched));
  EXPECT_EQ(untouched, -1.0f);
}

using TunnelBoundsTest = SceneTest;

TEST_F(TunnelBoundsTest, BoxEnclosesEveryGeometryInItsOwnCoordinates) {
  auto box = [](std::initializer_list<float> xyz) {
    HvGeometry* g = new HvGeometry({D3DPT_TRIANGLELIST, D3DFVF_XYZ, uint32_t(xyz.size() / 3), 0});
    std::copy(xyz.begin(), xyz.end(), g->GetPositions());
    return g;
  };
  HvRef<HvNode> top = new HvNode("Tunnel");  // no geometry: only its children count
  float b[6];
  EXPECT_FALSE(TunnelSubtreeBounds(top.Get(), b));
  HvNode* wall = new HvNode("wall", box({-70, -70, 0, 70, 70, 1600}));
  HvNode* rib = new HvNode("rib", box({-80, 10, 5, -60, 90, 6}));
  rib->SetMatrix(HvMatrixLocal, D3DXMATRIX(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 5000, 1));  // not applied
  top->AddChild(new HvNode("group"));
  top->GetChild(0)->AddChild(wall);
  wall->AddChild(rib);
  ASSERT_TRUE(TunnelSubtreeBounds(top.Get(), b));
  const float expected[6] = {-80, -70, 0, 70, 90, 1600};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(b[i], expected[i]) << "component " << i;
}
