// The engine's object model: intrusive reference counts, named objects with a flag word and a fixed
// set of lifecycle operations, and engine objects that also render and survive device resets.
#pragma once
#include <cstdint>
#include <string>

struct _D3DCAPS9;
typedef struct _D3DCAPS9 D3DCAPS9;

// Flag bits of every HvObject; the pool-only bits steer what a pool forwards to its members.
namespace HvFlags {
enum : uint32_t {
  Active          = 0x02,    // takes part in updates; a node is drawn
  FirstFrame      = 0x04,    // set at construction, cleared by the first successful Update
  Released        = 0x10,    // the Release phase has freed the object's resources
  Changed         = 0x20,    // derived state (matrices, device objects) is stale until Refresh
  AutoCollect     = 0x40,    // pool: Update first removes members only the pool references
  SkipStartup     = 0x100,   // pool: no Initialize, Create, PostCreate
  SkipRender      = 0x200,   // pool: no BeginFrame, Render, EndFrame
  SkipDeviceReset = 0x400,   // pool: no OnDeviceLost, ResetDevice, OnDeviceReset
  SkipUpdate      = 0x800,   // pool: members are not updated
  SkipShutdown    = 0x1000,  // pool: no Shutdown, Release, Finalize
  SkipCheckCaps   = 0x2000,  // pool: no CheckCaps
};
}

// Root of every counted engine class. Whoever stores a pointer takes a reference (HvRef does this);
// the last DropRef destroys the object. A new object lives only once somebody takes it.
class HvRefCount {
public:
  HvRefCount() { ++live; }
  HvRefCount(const HvRefCount&) = delete;
  HvRefCount& operator=(const HvRefCount&) = delete;
  virtual ~HvRefCount() { --live; }

  void AddRef() { ++refCount; }
  void DropRef() { if (--refCount == 0) delete this; }
  uint32_t GetRefCount() const { return refCount; }
  static long GetLiveCount() { return live; }  // counted objects in existence; 0 once the core is gone

private:
  uint32_t refCount = 0;
  static long live;
};

// A counted reference: takes a reference when it stores a pointer, drops it when it lets go.
// Storing the same object again takes the new reference before dropping the old one.
template <class T> class HvRef {
public:
  HvRef() = default;
  HvRef(T* p) : ptr(p) { if (ptr) ptr->AddRef(); }
  HvRef(const HvRef& o) : HvRef(o.ptr) {}
  template <class U> HvRef(const HvRef<U>& o) : HvRef(o.Get()) {}
  ~HvRef() { if (ptr) ptr->DropRef(); }
  HvRef& operator=(T* p) {
    if (p) p->AddRef();
    T* old = ptr;
    ptr = p;
    if (old) old->DropRef();
    return *this;
  }
  HvRef& operator=(const HvRef& o) { return *this = o.ptr; }

  T* Get() const { return ptr; }
  T* operator->() const { return ptr; }
  T& operator*() const { return *ptr; }
  explicit operator bool() const { return ptr != nullptr; }
  void Reset() { *this = nullptr; }

private:
  T* ptr = nullptr;
};

class HvObject : public HvRefCount {
public:
  explicit HvObject(const char* name);

  std::string GetName() const { return name; }
  void SetName(const std::string& newName) { name = newName; }
  uint32_t GetFlags() const { return flags; }
  bool HasFlag(uint32_t bits) const { return (flags & bits) == bits; }
  void SetFlag(uint32_t bits) { flags |= bits; }
  void ClearFlag(uint32_t bits) { flags &= ~bits; }
  void SetFlag(uint32_t bits, bool on) { on ? SetFlag(bits) : ClearFlag(bits); }

  // Lifecycle, in slot order. false aborts the caller's sequence.
  virtual void Describe();
  virtual bool Initialize() { return true; }  // before window and device exist
  virtual bool Create() { return true; }      // after the device exists
  virtual bool PostCreate() { return true; }  // after every pool has run Create
  virtual bool Update() { ClearFlag(HvFlags::FirstFrame); return true; }
  virtual bool Shutdown() { return true; }
  virtual bool Release() { return true; }     // free resources
  virtual bool Finalize() { return true; }
  virtual bool CheckCaps(const D3DCAPS9*) { return true; }

private:
  std::string name;
  uint32_t flags = HvFlags::Active | HvFlags::FirstFrame;
};

class HvEngineObject : public HvObject {
public:
  using HvObject::HvObject;

  virtual bool BeginFrame() { return true; }
  virtual bool Render() { return true; }
  virtual bool EndFrame() { return true; }
  virtual bool OnDeviceLost() { return true; }   // release what does not survive a reset
  virtual bool ResetDevice() { return true; }
  virtual bool OnDeviceReset() { return true; }  // re-create what OnDeviceLost released
  virtual bool Refresh() { ClearFlag(HvFlags::Changed); return true; }
};
