// Key interpolation and the animation controller's clock: loop modes, speed, play/pause/stop.
#include "SceneFixture.h"
#include "engine/assets/HvAnimationController.h"
#include "engine/core/HvTimer.h"
#include "engine/render/HvAnimationProperty.h"
#include "engine/render/HvNode.h"

namespace {
const float Near = 1e-4f;

std::vector<HvVectorKey> Keys(std::initializer_list<HvVectorKey> k) { return k; }

// Rotation key of `angle` about y as the file stores it: (w, -x, -y, -z) of the D3DX quaternion.
HvRotationKey YawKey(uint32_t time, float angle) {
  D3DXQUATERNION q;
  D3DXQuaternionRotationYawPitchRoll(&q, angle, 0, 0);
  return {time, q.w, -q.x, -q.y, -q.z};
}

float YawOf(const D3DXMATRIX& m) { return atan2f(m._31, m._33); }  // z axis after rotation about y

class AnimationControllerTest : public SceneTest {
protected:
  AnimationControllerTest() {
    HvTimer::SetFixedStep(1.0);
    HvTimer::Reset();
    HvTimer::Tick();  // the first frame after a reset is fixed at 0.01 s
  }
  ~AnimationControllerTest() override { HvTimer::SetFixedStep(0); }

  // One frame of `seconds`, then the controller's update as the pool runs it.
  void Frame(HvAnimationController* c, double seconds) {
    HvTimer::SetFixedStep(seconds);
    HvTimer::BeginFrameTurn();
    HvTimer::Tick();
    ASSERT_TRUE(c->Update());
  }

  // A model root with one child moved along x from 0 to 100 over ticks 0..4800.
  HvNode* Model() {
    HvNode* model = new HvNode("model.X");
    HvNode* mover = new HvNode("mover");
    model->AddChild(mover);
    root->AddChild(model);
    auto* p = new HvAnimationProperty;
    p->positionKeys = {{0, 0, 0, 0}, {4800, 100, 0, 0}};
    mover->AddProperty(p, 0);
    return model;
  }

  float X(HvNode* model) { return model->FindNode("mover")->GetMatrix(HvMatrixWorld)._41; }
};
}

TEST(AnimationPropertyTest, VectorKeysAtBetweenBeforeAndAfter) {
  const auto keys = Keys({{100, 0, 0, 0}, {200, 10, 20, 30}, {400, 10, 20, 50}});
  EXPECT_EQ(HvAnimationProperty::SampleVector(keys, 0), D3DXVECTOR3(0, 0, 0));      // before the first
  EXPECT_EQ(HvAnimationProperty::SampleVector(keys, 200), D3DXVECTOR3(10, 20, 30)); // on a key
  const D3DXVECTOR3 mid = HvAnimationProperty::SampleVector(keys, 150);
  EXPECT_NEAR(mid.x, 5, Near);
  EXPECT_NEAR(mid.z, 15, Near);
  EXPECT_NEAR(HvAnimationProperty::SampleVector(keys, 300).z, 40, Near);
  EXPECT_EQ(HvAnimationProperty::SampleVector(keys, 1e6f), D3DXVECTOR3(10, 20, 50));  // after the last
}

TEST(AnimationPropertyTest, KeysSharingATimeGiveTheEarlierOne) {
  const auto keys = Keys({{0, 0, 0, 0}, {100, 1, 1, 1}, {100, 2, 2, 2}, {200, 3, 3, 3}});
  EXPECT_EQ(HvAnimationProperty::SampleVector(keys, 100).x, 1.0f);
  EXPECT_NEAR(HvAnimationProperty::SampleVector(keys, 150).x, 2.5f, Near);  // from the later twin on
}

TEST(AnimationPropertyTest, RotationKeysSlerpInFileOrder) {
  const std::vector<HvRotationKey> keys = {YawKey(0, 0), YawKey(1000, 1.0f)};
  D3DXMATRIX m;
  D3DXQUATERNION q = HvAnimationProperty::SampleRotation(keys, 500);
  EXPECT_NEAR(YawOf(*D3DXMatrixRotationQuaternion(&m, &q)), 0.5f, Near);
  q = HvAnimationProperty::SampleRotation(keys, 5000);
  EXPECT_NEAR(YawOf(*D3DXMatrixRotationQuaternion(&m, &q)), 1.0f, Near);
}

TEST(AnimationPropertyTest, MatrixKeysSwitchHalfWayWithoutBlending) {
  std::vector<HvMatrixKey> keys(2);
  keys[0] = {0, {}};
  keys[1] = {100, {}};
  keys[0].m[0] = 1;
  keys[1].m[0] = 2;
  EXPECT_EQ(HvAnimationProperty::SampleMatrix(keys, 50).m[0], 1.0f);
  EXPECT_EQ(HvAnimationProperty::SampleMatrix(keys, 51).m[0], 2.0f);
}

TEST(AnimationPropertyTest, MatrixComposesScaleRotationTranslation) {
  HvAnimationProperty p;
  p.scaleKeys = {{0, 2, 2, 2}};
  p.rotationKeys = {YawKey(0, D3DX_PI / 2)};
  D3DXMATRIX pre;
  D3DXMatrixTranslation(&pre, 7, 8, 9);
  // Rotation and scale without position keys: the frame's own translation stays.
  D3DXMATRIX m = p.Sample(0, pre);
  D3DXVECTOR3 x(1, 0, 0), out;
  D3DXVec3TransformCoord(&out, &x, &m);
  EXPECT_NEAR(out.x, 7, Near);
  EXPECT_NEAR(out.y, 8, Near);
  EXPECT_NEAR(out.z, 9 - 2, Near);  // scaled by 2, then turned a quarter about y: +x goes to -z
  p.positionKeys = {{0, 1, 2, 3}};
  m = p.Sample(0, pre);
  EXPECT_EQ(D3DXVECTOR3(m._41, m._42, m._43), D3DXVECTOR3(1, 2, 3));
  EXPECT_EQ(p.GetLastKeyTime(), 0u);
}

TEST_F(AnimationControllerTest, PlaysOnceAndStopsOnTheLastKey) {
  HvNode* model = Model();
  HvAnimationController* c = new HvAnimationController(model);
  EXPECT_EQ(c->GetName(), "Animation_Controller");
  EXPECT_EQ(core->GetPool(HvPoolAnimation)->FindByName("Animation_Controller"), c);
  EXPECT_EQ(c->GetLastKeyTime(), 4800u);
  EXPECT_EQ(c->GetTrackCount(), 1u);

  Frame(c, 0.5);  // stopped: the pose at tick 0 is applied all the same
  EXPECT_EQ(c->GetTicks(), 0u);
  EXPECT_EQ(X(model), 0.0f);
  EXPECT_TRUE(model->FindNode("mover")->HasFlag(HvNodeFlags::Animated));

  c->Play();
  Frame(c, 0.25);
  EXPECT_EQ(c->GetTicks(), 1200u);
  EXPECT_NEAR(X(model), 25, Near);
  Frame(c, 1.0);
  EXPECT_EQ(c->GetState(), uint32_t(HvAnimationController::Stopped));
  EXPECT_EQ(c->GetTicks(), 4800u);
  EXPECT_NEAR(X(model), 100, Near);
  Frame(c, 1.0);
  EXPECT_NEAR(X(model), 100, Near);  // stays on the last key
}

TEST_F(AnimationControllerTest, LoopJumpsToTheStartDroppingTheOvershoot) {
  HvNode* model = Model();
  HvAnimationController* c = new HvAnimationController(model);
  c->SetLoopMode(HvAnimationController::Loop);
  c->Play();
  Frame(c, 0.75);
  Frame(c, 0.5);  // 1.25 s: past the end
  EXPECT_EQ(c->GetTicks(), 0u);
  EXPECT_EQ(c->GetTime(), 0.0f);
  EXPECT_EQ(X(model), 0.0f);
  EXPECT_EQ(c->GetState(), uint32_t(HvAnimationController::Playing));
  Frame(c, 0.5);
  EXPECT_NEAR(X(model), 50, Near);
}

TEST_F(AnimationControllerTest, PingPongTurnsAroundAndHoldsItsPoseWhenPaused) {
  HvNode* model = Model();
  HvAnimationController* c = new HvAnimationController(model);
  c->SetLoopMode(HvAnimationController::PingPong);
  c->Play();
  Frame(c, 1.1);  // past the end: turn around
  EXPECT_FALSE(c->IsForward());
  EXPECT_NEAR(X(model), 100, Near);
  Frame(c, 0.25);
  EXPECT_NEAR(X(model), 75, Near);
  c->Pause();
  Frame(c, 0.25);
  EXPECT_NEAR(X(model), 75, Near);
  Frame(c, 0.25);
  EXPECT_NEAR(X(model), 75, Near);  // not flipping between two poses
  c->Play();
  Frame(c, 0.5);
  EXPECT_NEAR(X(model), 25, Near);
  Frame(c, 0.5);  // past the end again: forward
  EXPECT_TRUE(c->IsForward());
  EXPECT_EQ(X(model), 0.0f);
}

TEST_F(AnimationControllerTest, SpeedPauseStopAndJumps) {
  HvNode* model = Model();
  HvAnimationController* c = new HvAnimationController(model);
  c->SetSpeed(2.0f);
  c->Play();
  Frame(c, 0.25);
  EXPECT_EQ(c->GetTicks(), 2400u);  // 9600 ticks per second at speed 2
  c->Pause();
  Frame(c, 0.25);
  EXPECT_EQ(c->GetTicks(), 2400u);
  c->Play();  // resumes
  Frame(c, 0.125);
  EXPECT_EQ(c->GetTicks(), 3600u);
  c->Stop();
  EXPECT_EQ(c->GetTime(), 0.0f);
  c->SetTime(0.5f);
  c->Pause();  // a jump: marked paused, so that Play keeps the time
  c->Play();
  c->SetSpeed(1.0f);
  Frame(c, 0.0625);
  EXPECT_EQ(c->GetTicks(), 2700u);
}

TEST_F(AnimationControllerTest, ReleaseGivesTheNodesTheirOwnMatricesBack) {
  HvNode* model = Model();
  HvNode* mover = model->FindNode("mover");
  D3DXMATRIX pre;
  mover->SetMatrix(HvMatrixPreTransform, *D3DXMatrixTranslation(&pre, 0, 5, 0));
  HvAnimationController* c = new HvAnimationController(model);
  c->Play();
  Frame(c, 0.5);
  EXPECT_NEAR(X(model), 50, Near);
  EXPECT_EQ(mover->GetMatrix(HvMatrixWorld)._42, 0.0f);  // position keys replace the whole frame matrix
  ASSERT_TRUE(c->Release());
  EXPECT_TRUE(c->HasFlag(HvFlags::Released));
  EXPECT_EQ(c->GetTrackCount(), 0u);
  model->Refresh();
  EXPECT_EQ(X(model), 0.0f);
  EXPECT_EQ(mover->GetMatrix(HvMatrixWorld)._42, 5.0f);
}

TEST_F(AnimationControllerTest, PoolUpdatesControllersAndDropsUnreferencedOnes) {
  HvNode* model = Model();
  HvRef<HvAnimationController> c(new HvAnimationController(model));
  c->Play();
  HvObjectPool* pool = core->GetPool(HvPoolAnimation);
  HvTimer::SetFixedStep(0.5);
  HvTimer::BeginFrameTurn();
  HvTimer::Tick();
  ASSERT_TRUE(pool->Update());
  EXPECT_NEAR(X(model), 50, Near);
  c.Reset();
  ASSERT_TRUE(pool->Update());
  EXPECT_EQ(pool->GetCount(), 0u);
}
