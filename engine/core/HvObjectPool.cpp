#include "HvObjectPool.h"
#include "HvTrace.h"
#include <algorithm>

HvObjectPool::~HvObjectPool() {
  for (HvObject* m : members) m->DropRef();
}

void HvObjectPool::Add(HvObject* member) {
  member->AddRef();
  members.push_back(member);
}

void HvObjectPool::Remove(HvObject* member) {
  auto it = std::find(members.begin(), members.end(), member);
  if (it == members.end()) return;
  members.erase(it);
  member->DropRef();
}

HvObject* HvObjectPool::FindByName(const std::string& name) const {
  for (HvObject* m : members)
    if (m->GetName() == name) return m;
  return nullptr;
}

void HvObjectPool::Describe() {
  HvObject::Describe();
  for (HvObject* m : members) m->Describe();
}

bool HvObjectPool::Initialize() { return Forward(HvFlags::SkipStartup, [](HvObject* m) { return m->Initialize(); }); }
bool HvObjectPool::Create() { return Forward(HvFlags::SkipStartup, [](HvObject* m) { return m->Create(); }); }
bool HvObjectPool::PostCreate() { return Forward(HvFlags::SkipStartup, [](HvObject* m) { return m->PostCreate(); }); }
bool HvObjectPool::Shutdown() { return Forward(HvFlags::SkipShutdown, [](HvObject* m) { return m->Shutdown(); }); }
bool HvObjectPool::Release() { return Forward(HvFlags::SkipShutdown, [](HvObject* m) { return m->Release(); }); }
bool HvObjectPool::Finalize() { return Forward(HvFlags::SkipShutdown, [](HvObject* m) { return m->Finalize(); }); }

bool HvObjectPool::CheckCaps(const D3DCAPS9* caps) {
  return Forward(HvFlags::SkipCheckCaps, [caps](HvObject* m) { return m->CheckCaps(caps); });
}

bool HvObjectPool::Update() {
  if (HasFlag(HvFlags::AutoCollect)) {
    std::vector<HvObject*> orphans;
    for (HvObject* m : members) {
      if (m->GetRefCount() != 1) continue;
      m->Shutdown();
      m->Release();
      m->Finalize();
      orphans.push_back(m);
    }
    for (HvObject* m : orphans) {
      HvTraceWrite("Has been found and deleted object witch no references: " + m->GetName());
      Remove(m);
    }
  }
  if (HasFlag(HvFlags::Active) && !HasFlag(HvFlags::SkipUpdate)) {
    for (size_t i = 0; i < members.size(); ++i)
      if (members[i]->HasFlag(HvFlags::Active) && !members[i]->Update()) return false;
  }
  ClearFlag(HvFlags::FirstFrame);
  return true;
}

bool HvEngineObjectPool::BeginFrame() { return ForwardFrame([](HvEngineObject* m) { return m->BeginFrame(); }); }
bool HvEngineObjectPool::Render() { return ForwardFrame([](HvEngineObject* m) { return m->Render(); }); }
bool HvEngineObjectPool::EndFrame() { return ForwardFrame([](HvEngineObject* m) { return m->EndFrame(); }); }

bool HvEngineObjectPool::OnDeviceLost() {
  return ForwardEngine(HvFlags::SkipDeviceReset, [](HvEngineObject* m) { return m->OnDeviceLost(); });
}
bool HvEngineObjectPool::ResetDevice() {
  return ForwardEngine(HvFlags::SkipDeviceReset, [](HvEngineObject* m) { return m->ResetDevice(); });
}
bool HvEngineObjectPool::OnDeviceReset() {
  return ForwardEngine(HvFlags::SkipDeviceReset, [](HvEngineObject* m) { return m->OnDeviceReset(); });
}
