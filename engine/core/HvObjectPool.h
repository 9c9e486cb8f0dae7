// Named pools of objects. The core broadcasts each lifecycle operation to its eleven pools in index
// order; a pool forwards it to its members in insertion order, stopping at the first failure, unless
// one of its Skip bits says otherwise. AutoCollect pools drop members that nobody else references.
#pragma once
#include "HvObject.h"
#include <vector>

class HvObjectPool : public HvObject {
public:
  using HvObject::HvObject;
  ~HvObjectPool() override;

  void Add(HvObject* member);          // appends, taking a reference
  void Remove(HvObject* member);       // erases the first entry, dropping the pool's reference
  HvObject* FindByName(const std::string& name) const;  // first exact match; no reference taken
  size_t GetCount() const { return members.size(); }
  HvObject* GetMember(size_t index) const { return members[index]; }

  void Describe() override;
  bool Initialize() override;
  bool Create() override;
  bool PostCreate() override;
  bool Update() override;
  bool Shutdown() override;
  bool Release() override;
  bool Finalize() override;
  bool CheckCaps(const D3DCAPS9* caps) override;

protected:
  // Calls op on every member in order unless the pool has skipBit; stops at the first false.
  template <class Op> bool Forward(uint32_t skipBit, Op op) {
    if (HasFlag(skipBit)) return true;
    for (size_t i = 0; i < members.size(); ++i)
      if (!op(members[i])) return false;
    return true;
  }

private:
  std::vector<HvObject*> members;  // each holds one reference
};

// Holds HvEngineObjects only, and also forwards the frame and device-reset operations.
class HvEngineObjectPool : public HvObjectPool {
public:
  using HvObjectPool::HvObjectPool;

  bool BeginFrame();
  bool Render();
  bool EndFrame();
  bool OnDeviceLost();
  bool ResetDevice();
  bool OnDeviceReset();

private:
  template <class Op> bool ForwardEngine(uint32_t skipBit, Op op) {
    return Forward(skipBit, [&](HvObject* m) { return op(static_cast<HvEngineObject*>(m)); });
  }
  template <class Op> bool ForwardFrame(Op op) {
    return !HasFlag(HvFlags::Active) || ForwardEngine(HvFlags::SkipRender, op);
  }
};
