// The timeline's delivery rules, the scene objects' common reactions and the letterbox geometry.
#include "SceneFixture.h"
#include "app/CEventCollector.h"
#include "app/scenes/CObject.h"
#include "app/scenes/CObjectBlackBar.h"
#include "engine/render/HvMaterialProperty.h"
#include "engine/render/HvNode.h"
#include <gtest/gtest.h>
#include <vector>

namespace {
struct Delivery {
  std::string target, name;
  float progress;
  bool operator==(const Delivery& o) const { return target == o.target && name == o.name && progress == o.progress; }
};
std::vector<Delivery> deliveries;

class Listener : public CObject {
public:
  using CObject::CObject;
  bool OnEvent(float progress, const std::string& name) override {
    deliveries.push_back({GetName(), name, progress});
    return CObject::OnEvent(progress, name);
  }
};

class TimelineTest : public ::testing::Test {
protected:
  TimelineTest() { deliveries.clear(); }
  // Frames at these show times (the first defines show time 0 at engine time 100).
  void Frames(std::initializer_list<float> times) {
    for (float t : times) events->DispatchAt(100.0f + t, 0.0f);
  }
  HvRef<CEventCollector> events = new CEventCollector;
  HvRef<Listener> a = new Listener("a"), b = new Listener("b");
};
}

TEST_F(TimelineTest, FirstDispatchFixesShowTimeZero) {
  EXPECT_EQ(events->GetStartTime(), -1.0f);
  events->DispatchAt(42.5f, 0.0f);
  EXPECT_EQ(events->GetStartTime(), 42.5f);
  events->DispatchAt(50.0f, 0.0f);
  EXPECT_EQ(events->GetStartTime(), 42.5f);
  HvRef<CEventCollector> offset = new CEventCollector;
  offset->DispatchAt(42.5f, 2.5f);
  EXPECT_EQ(offset->GetStartTime(), 40.0f);
}

TEST_F(TimelineTest, InstantEventIsDeliveredOnceAtTheFirstFrameAtOrPastItsTime) {
  events->AddEvent(1.0f, a.Get(), "turn_on");
  Frames({0, 0.98f, 1.03f, 1.5f});
  EXPECT_EQ(deliveries, (std::vector<Delivery>{{"a", "turn_on", 0.0f}}));
}

TEST_F(TimelineTest, TimedEventRunsItsProgressAndFinishesPastItsEnd) {
  events->AddTimedEvent(10.0f, 2.0f, a.Get(), "fade");
  Frames({0, 9.9f, 10.5f, 11.0f, 12.4f, 13.0f});
  EXPECT_EQ(deliveries, (std::vector<Delivery>{{"a", "fade", 0.25f}, {"a", "fade", 0.5f}, {"a", "fade", 1.0f}}));
}

TEST_F(TimelineTest, TimedEventFinishesAtItsEndOrNearlyThere) {
  events->AddTimedEvent(2.0f, 2.0f, a.Get(), "exact");
  events->AddTimedEvent(2.0f, 1000.0f, b.Get(), "long");
  Frames({0, 4.0f, 1001.5f, 1002.0f});
  ASSERT_EQ(deliveries.size(), 3u);
  EXPECT_EQ(deliveries[0], (Delivery{"a", "exact", 1.0f}));
  EXPECT_EQ(deliveries[2].target, "b");  // 0.9995: finished without ever seeing 1.0
  EXPECT_GT(deliveries[2].progress, 0.999f);
  EXPECT_LT(deliveries[2].progress, 1.0f);
}

TEST_F(TimelineTest, SkippedTimedEventArrivesOnceWithProgressOne) {
  events->AddTimedEvent(5.0f, 1.0f, a.Get(), "blink");
  Frames({0, 4.9f, 7.0f, 8.0f});
  EXPECT_EQ(deliveries, (std::vector<Delivery>{{"a", "blink", 1.0f}}));
}

TEST_F(TimelineTest, ZeroDurationEventArrivesOnceWithProgressOne) {
  events->AddTimedEvent(5.0f, 0.0f, a.Get(), "tick");
  Frames({0, 5.0f, 6.0f});
  EXPECT_EQ(deliveries, (std::vector<Delivery>{{"a", "tick", 1.0f}}));
}

TEST_F(TimelineTest, EventsOfOneFrameArriveInInsertionOrder) {
  events->AddEvent(3.0f, b.Get(), "second");
  events->AddEvent(1.0f, a.Get(), "first");
  events->AddTimedEvent(0.0f, 10.0f, b.Get(), "third");
  Frames({0, 5.0f});
  EXPECT_EQ(deliveries, (std::vector<Delivery>{{"b", "third", 0}, {"b", "second", 0}, {"a", "first", 0},
                                               {"b", "third", 0.5f}}));
}

TEST_F(TimelineTest, SwitchedOffObjectsStillReceiveEvents) {
  events->AddEvent(1.0f, a.Get(), "turn_off");
  events->AddEvent(2.0f, a.Get(), "turn_on");
  Frames({0, 1.0f});
  EXPECT_FALSE(a->HasFlag(HvFlags::Active));
  Frames({2.0f});
  EXPECT_TRUE(a->HasFlag(HvFlags::Active));
}

TEST_F(TimelineTest, TheCollectorKeepsItsTargetsAlive) {
  events->AddEvent(1.0f, a.Get(), "x");
  EXPECT_EQ(a->GetRefCount(), 2u);
  events.Reset();
  EXPECT_EQ(a->GetRefCount(), 1u);
}

TEST_F(TimelineTest, EventProgressLastsOneFrame) {
  a->OnEvent(0.0f, "anything");
  EXPECT_EQ(a->GetEventProgress(), 0.0f);
  a->Update();
  EXPECT_EQ(a->GetEventProgress(), -1.0f);
  EXPECT_FALSE(a->HasFlag(HvFlags::FirstFrame));
}

using SceneObjectTest = SceneTest;

TEST_F(SceneObjectTest, TurnOnAndOffSwitchObjectAndNodeByExactName) {
  HvRef<CObject> object = new CObject("o");
  object->OnEvent(0, "turn_off");
  EXPECT_FALSE(object->HasFlag(HvFlags::Active));  // no node: only the object
  object->SetNode(new HvNode("n"));
  object->OnEvent(0, "turn_on");
  EXPECT_TRUE(object->HasFlag(HvFlags::Active) && object->GetNode()->HasFlag(HvFlags::Active));
  object->OnEvent(0, "Turn_off");
  EXPECT_TRUE(object->HasFlag(HvFlags::Active) && object->GetNode()->HasFlag(HvFlags::Active));
  object->OnEvent(0, "turn_off");
  EXPECT_FALSE(object->HasFlag(HvFlags::Active) || object->GetNode()->HasFlag(HvFlags::Active));
}

TEST_F(SceneObjectTest, ReleaseDetachesOnlyAnAttachedNode) {
  HvRef<CObject> attached = new CObject("a"), loose = new CObject("b");
  attached->SetNode(new HvNode("x"));
  loose->SetNode(new HvNode("y"));
  root->AddChild(attached->GetNode());
  EXPECT_TRUE(attached->Release() && loose->Release());
  EXPECT_EQ(attached->GetNode()->GetParent(), nullptr);
  EXPECT_EQ(root->GetChildCount(), 0u);
}

TEST_F(SceneObjectTest, SubtreeMaterialSetsWhatIsGivenWherePassesHaveMaterials) {
  HvRef<HvNode> top = new HvNode("top");
  HvNode* child = new HvNode("child");  // no material of its own; its child has one in pass 2
  HvNode* grandchild = new HvNode("grandchild");
  top->AddChild(child);
  child->AddChild(grandchild);
  HvRef<HvMaterial> m0 = new HvMaterial, m2 = new HvMaterial;
  top->AddProperty(new HvMaterialProperty(m0.Get()), 0);
  grandchild->AddProperty(new HvMaterialProperty(m2.Get()), 2);

  CObject::SetSubtreeMaterial(top.Get(), nullptr, nullptr, nullptr);
  EXPECT_EQ(m0->color[0], 0.0f);
  EXPECT_EQ(m0->power, 0.0f);

  const float red[4] = {1, 0, 0, 0.5f};
  const float power = 12;
  CObject::SetSubtreeMaterial(top.Get(), red, nullptr, &power);
  for (HvMaterial* m : {m0.Get(), m2.Get()}) {
    EXPECT_EQ(m->color[0], 1.0f);
    EXPECT_EQ(m->color[3], 0.5f);
    EXPECT_EQ(m->specular[3], 1.0f);  // not given: unchanged
    EXPECT_EQ(m->power, 12.0f);
  }
}

TEST(BlackBarTest, BarsCoverFifteenPercentAndReachPastTheEdges) {
  float v[12][3];
  BlackBarCorners(640, 480, v);
  float topMin = 1e9f, topMax = -1e9f, bottomMin = 1e9f, bottomMax = -1e9f, xMin = 1e9f, xMax = -1e9f;
  for (int i = 0; i < 12; ++i) {
    float& lo = i < 6 ? topMin : bottomMin;
    float& hi = i < 6 ? topMax : bottomMax;
    lo = std::min(lo, v[i][1]), hi = std::max(hi, v[i][1]);
    xMin = std::min(xMin, v[i][0]), xMax = std::max(xMax, v[i][0]);
    EXPECT_EQ(v[i][2], 0.0f);
  }
  EXPECT_EQ(topMin, -1.0f);
  EXPECT_EQ(topMax, 72.0f);
  EXPECT_EQ(bottomMin, 408.0f);
  EXPECT_EQ(bottomMax, 481.0f);
  EXPECT_EQ(xMin, -1.0f);
  EXPECT_EQ(xMax, 641.0f);
}
