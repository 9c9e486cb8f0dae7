// The engine's application object: owns the adapter, the device, the configuration object and the
// eleven object pools, and runs the program: start-up, one frame per idle turn of the message loop,
// device-loss handling and shutdown. Applications derive from it and override its hooks.
#pragma once
#include "HvAutomation.h"
#include "HvDeviceSettings.h"
#include "HvFrameLog.h"
#include "HvObjectPool.h"
#include "HvProfiler.h"
#include "../ui2d/HvFrameCapture.h"
#include <windows.h>

class HvAdapter;
class HvAlphaCollector;
class HvCamera;
class HvConfig;
class HvDevice;
class HvNode;
class HvFont;
class HvScreenGrab;
class HvSpriteCollector;

// Index of each pool in the core's pool array: the order of every broadcast.
enum HvPoolIndex : uint32_t {
  HvPoolApplication, HvPoolGeometry, HvPoolNode, HvPoolAnimation, HvPoolVertexShader, HvPoolTexture,
  HvPoolCamera, HvPoolAlphaCollector, HvPoolSprite, HvPoolSpriteCollector, HvPoolFont, HvPoolCount
};

// What an automated run reports at its end (--fps).
struct HvRunStatistics {
  long frames = 0;
  double showTime = 0;       // s, at the end of the last frame
  double startup = 0;        // s, from entering the program to the first presented frame
  unsigned long deviceReferencesLeft = 0;
};

class HvCore : public HvEngineObject {
public:
  explicit HvCore(const char* name);
  ~HvCore() override;

  static HvCore* GetInstance() { return instance; }
  static void SetInstance(HvCore* core) { instance = core; }

  void Run();  // the program's main loop; returns when the program ends

  // HvObject / HvEngineObject operations
  bool Initialize() override;
  // Initialize's first steps, usable without a device: the pools, the alpha collectors, the scene
  // root with a camera property per pass and the default camera.
  bool CreateEngineObjects();
  bool Create() override;
  bool PostCreate() override;
  bool Update() override;
  bool Finalize() override;
  bool BeginFrame() override;
  bool Render() override;
  bool EndFrame() override;

  // Hooks, in slot order
  virtual HvConfig* CreateConfig();
  virtual bool CheckCoreCaps(D3DCAPS9) { return true; }
  virtual HWND CreateMainWindow();
  virtual bool CreateApplicationObjects() { return true; }
  virtual bool Start();
  virtual bool Tick() { return Update(); }
  virtual bool RenderFrame() { return BeginFrame() && Render() && EndFrame(); }
  virtual bool CheckDevice();
  virtual bool Stop();
  virtual bool OnWindowMessage(HWND, UINT, WPARAM, LPARAM) { return true; }
  virtual void PrintStatistics();  // on standard output, after Stop
  // The part of the show the frame just finished counted for, for the frame log; 0: none.
  virtual int32_t GetFrameSection() const { return 0; }
  const HvRunStatistics& GetStatistics() const { return statistics; }

  HvAdapter* GetAdapter() const { return adapter.Get(); }
  HvDevice* GetDevice() const { return device.Get(); }
  HvNode* GetSceneRoot() const { return sceneRoot.Get(); }
  HvCamera* GetDefaultCamera() const { return defaultCamera.Get(); }
  HvAlphaCollector* GetAlphaCollector(uint32_t pass) const { return alphaCollectors[pass].Get(); }
  HvSpriteCollector* GetDefaultSpriteCollector() const { return defaultSpriteCollector.Get(); }
  HvConfig* GetConfig() const { return config.Get(); }
  HvFont* GetDefaultFont() const;
  HvScreenGrab* GetScreenGrab() const;
  HvDeviceSettings& GetSettings() { return settings; }
  HWND GetWindow() const { return window; }
  HvObjectPool* GetPool(uint32_t index) const { return pools[index].Get(); }
  HvEngineObjectPool* GetEnginePool(uint32_t index) const;  // index 1..10
  void RequestQuit() { quitRequested = true; }
  bool IsQuitRequested() const { return quitRequested; }

  const HvAutomation& GetAutomation() const { return automation; }
  void SetAutomation(const HvAutomation& options) { automation = options; }

protected:
  void SetDevice(HvDevice* d);  // for cores that make their device themselves
  // The device's TestCooperativeLevel, or D3DERR_DEVICELOST once the automation's loss time is reached.
  HRESULT TestCooperativeLevel() const;

  HWND window = nullptr;

private:
  static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
  template <class Op> bool ForPools(uint32_t first, Op op);
  template <class Op> bool ForEnginePools(Op op);
  void GrabDueFrames();     // automation: pictures at chosen show times
  void QuitWhenDue();       // automation: Escape at a chosen show time
  void PrintStartup();      // the start-up and each of its steps (HvStartupTimes)
  bool CaptureFrame();      // automation: the frame to the encoder, from the chosen show time on

  static HvCore* instance;

  HvRef<HvAdapter> adapter;
  HvRef<HvConfig> config;
  HvRef<HvDevice> device;
  HvRef<HvNode> sceneRoot;
  HvRef<HvAlphaCollector> alphaCollectors[4];  // one per render pass
  HvRef<HvSpriteCollector> defaultSpriteCollector;
  HvRef<HvCamera> defaultCamera;
  HvRef<HvFont> defaultFont;
  HvRef<HvScreenGrab> screenGrab;
  HvDeviceSettings settings = {};
  bool quitRequested = false;
  HvRef<HvObjectPool> pools[HvPoolCount];

  HvAutomation automation;
  size_t grabsDone = 0;
  HvRunStatistics statistics;
  HvProfiler profiler;      // automation: where the frame-loop thread spends its time
  HvFrameLog frameLog;      // automation: every frame's time
  HvFrameCapture capture;   // automation: every frame's pixels to an encoder
};
