// Pools: forwarding order and failure, skip bits, auto-collection, lookup, FirstFrame.
#include <gtest/gtest.h>
#include "engine/core/HvObjectPool.h"
#include <string>
#include <vector>

namespace {
std::vector<std::string> calls;  // "name:operation", in call order

// Records every lifecycle call; fails the operation named in `failOn`.
class Probe : public HvEngineObject {
public:
  explicit Probe(const char* name, std::string failOn = "") : HvEngineObject(name), failOn(std::move(failOn)) {}
  bool Initialize() override { return Log("Initialize"); }
  bool Create() override { return Log("Create"); }
  bool PostCreate() override { return Log("PostCreate"); }
  bool Update() override { return Log("Update") && HvEngineObject::Update(); }
  bool Shutdown() override { return Log("Shutdown"); }
  bool Release() override { return Log("Release"); }
  bool Finalize() override { return Log("Finalize"); }
  bool CheckCaps(const D3DCAPS9*) override { return Log("CheckCaps"); }
  bool BeginFrame() override { return Log("BeginFrame"); }
  bool Render() override { return Log("Render"); }
  bool EndFrame() override { return Log("EndFrame"); }
  bool OnDeviceLost() override { return Log("OnDeviceLost"); }
  bool ResetDevice() override { return Log("ResetDevice"); }
  bool OnDeviceReset() override { return Log("OnDeviceReset"); }
  ~Probe() override { calls.push_back(GetName() + ":destroyed"); }

private:
  bool Log(const char* op) {
    calls.push_back(GetName() + ":" + op);
    return failOn != op;
  }
  std::string failOn;
};

class PoolTest : public ::testing::Test {
protected:
  void SetUp() override { calls.clear(); }
  // A pool holding a, b (fails `failOn`), c, each referenced by the test too.
  void Fill(HvObjectPool& pool, const std::string& failOn = "") {
    a = new Probe("a");
    b = new Probe("b", failOn);
    c = new Probe("c");
    for (HvObject* o : {a.Get(), b.Get(), c.Get()}) pool.Add(o);
  }
  HvRef<Probe> a, b, c;
};
}

TEST_F(PoolTest, ForwardsInInsertionOrderAndStopsAtFirstFailure) {
  HvEngineObjectPool pool("p");
  Fill(pool, "Create");
  EXPECT_TRUE(pool.Initialize());
  EXPECT_FALSE(pool.Create());
  EXPECT_EQ(calls, (std::vector<std::string>{"a:Initialize", "b:Initialize", "c:Initialize", "a:Create", "b:Create"}));
}

TEST_F(PoolTest, EmptyPoolSucceedsEverywhere) {
  HvEngineObjectPool pool("p");
  pool.SetFlag(HvFlags::AutoCollect);
  EXPECT_TRUE(pool.Initialize() && pool.Create() && pool.PostCreate() && pool.Update() && pool.CheckCaps(nullptr) &&
              pool.BeginFrame() && pool.Render() && pool.EndFrame() && pool.OnDeviceLost() && pool.ResetDevice() &&
              pool.OnDeviceReset() && pool.Shutdown() && pool.Release() && pool.Finalize());
}

TEST_F(PoolTest, SkipBitsSuppressTheirOperationsAndSucceed) {
  HvEngineObjectPool pool("p");
  Fill(pool, "any");
  pool.SetFlag(HvFlags::SkipStartup | HvFlags::SkipRender | HvFlags::SkipDeviceReset | HvFlags::SkipUpdate |
               HvFlags::SkipShutdown | HvFlags::SkipCheckCaps);
  EXPECT_TRUE(pool.Initialize() && pool.Create() && pool.PostCreate() && pool.Update() && pool.CheckCaps(nullptr) &&
              pool.BeginFrame() && pool.Render() && pool.EndFrame() && pool.OnDeviceLost() && pool.ResetDevice() &&
              pool.OnDeviceReset() && pool.Shutdown() && pool.Release() && pool.Finalize());
  EXPECT_TRUE(calls.empty());
}

TEST_F(PoolTest, InactiveMembersAreNotUpdatedButStillDrawn) {
  HvEngineObjectPool pool("p");
  Fill(pool);
  b->ClearFlag(HvFlags::Active);
  EXPECT_TRUE(pool.Update() && pool.Render());
  EXPECT_EQ(calls, (std::vector<std::string>{"a:Update", "c:Update", "a:Render", "b:Render", "c:Render"}));
}

TEST_F(PoolTest, InactivePoolUpdatesAndDrawsNothingButStillCollects) {
  HvEngineObjectPool pool("p");
  pool.SetFlag(HvFlags::AutoCollect);
  Fill(pool);
  pool.ClearFlag(HvFlags::Active);
  a.Reset();
  EXPECT_TRUE(pool.Update() && pool.BeginFrame() && pool.Render() && pool.EndFrame());
  EXPECT_EQ(calls, (std::vector<std::string>{"a:Shutdown", "a:Release", "a:Finalize", "a:destroyed"}));
  EXPECT_EQ(pool.GetCount(), 2u);
}

TEST_F(PoolTest, AutoCollectRemovesOnlyUnreferencedMembersBeforeUpdating) {
  HvEngineObjectPool pool("p");
  pool.SetFlag(HvFlags::AutoCollect);
  Fill(pool, "Release");  // results of the collection phases are ignored
  b.Reset();
  EXPECT_TRUE(pool.Update());
  EXPECT_EQ(calls, (std::vector<std::string>{"b:Shutdown", "b:Release", "b:Finalize", "b:destroyed", "a:Update",
                                             "c:Update"}));
  ASSERT_EQ(pool.GetCount(), 2u);
  EXPECT_EQ(pool.GetMember(0), a.Get());
  EXPECT_EQ(pool.GetMember(1), c.Get());
}

TEST_F(PoolTest, WithoutAutoCollectUnreferencedMembersLive) {
  HvObjectPool pool("p");
  Fill(pool);
  a.Reset();
  EXPECT_TRUE(pool.Update());
  EXPECT_EQ(pool.GetCount(), 3u);
}

TEST_F(PoolTest, FailedUpdateStopsAndKeepsFirstFrame) {
  HvObjectPool pool("p");
  Fill(pool, "Update");
  EXPECT_FALSE(pool.Update());
  EXPECT_EQ(calls, (std::vector<std::string>{"a:Update", "b:Update"}));
  EXPECT_TRUE(pool.HasFlag(HvFlags::FirstFrame));
  EXPECT_TRUE(b->HasFlag(HvFlags::FirstFrame));
  EXPECT_FALSE(a->HasFlag(HvFlags::FirstFrame));

  HvObjectPool good("q");
  EXPECT_TRUE(good.Update());
  EXPECT_FALSE(good.HasFlag(HvFlags::FirstFrame));
}

TEST_F(PoolTest, FindByNameIsExactAndPrefersTheFirstAdded) {
  HvObjectPool pool("p");
  HvRef<Probe> first = new Probe("Node"), second = new Probe("Node");
  pool.Add(first.Get());
  pool.Add(second.Get());
  EXPECT_EQ(pool.FindByName("Node"), first.Get());
  EXPECT_EQ(pool.FindByName("node"), nullptr);
  EXPECT_EQ(pool.FindByName("Node "), nullptr);
  EXPECT_EQ(first->GetRefCount(), 2u);  // the lookup took no reference
}

TEST_F(PoolTest, RemoveKeepsOrderAndDestroysTheLastReference) {
  HvObjectPool pool("p");
  Fill(pool);
  b.Reset();
  pool.Remove(pool.GetMember(1));
  EXPECT_EQ(calls, (std::vector<std::string>{"b:destroyed"}));
  EXPECT_EQ(pool.GetMember(0), a.Get());
  EXPECT_EQ(pool.GetMember(1), c.Get());
}

TEST_F(PoolTest, DestroyingThePoolDropsItsMembers) {
  auto* pool = new HvObjectPool("p");
  pool->AddRef();
  pool->Add(new Probe("x"));
  pool->DropRef();
  EXPECT_EQ(calls, (std::vector<std::string>{"x:destroyed"}));
}

TEST(RefTest, StoringTheSameObjectAgainKeepsItAlive) {
  calls.clear();
  HvRef<Probe> r = new Probe("x");
  r = r.Get();
  EXPECT_EQ(r->GetRefCount(), 1u);
  HvRef<Probe> other = r;
  EXPECT_EQ(r->GetRefCount(), 2u);
  r.Reset();
  EXPECT_TRUE(calls.empty());
  other = nullptr;
  EXPECT_EQ(calls, (std::vector<std::string>{"x:destroyed"}));
}

TEST(ObjectTest, StartsActiveInItsFirstFrame) {
  HvObject o("o");
  EXPECT_EQ(o.GetFlags(), 6u);
  EXPECT_TRUE(o.Update());
  EXPECT_EQ(o.GetFlags(), unsigned(HvFlags::Active));
}
