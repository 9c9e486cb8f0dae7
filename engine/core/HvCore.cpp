#include "HvCore.h"
#include "HvMath.h"
#include "HvMessageBox.h"
#include "HvStartupTimes.h"
#include "HvTimer.h"
#include "HvTrace.h"
#include "../config/HvConfig.h"
#include "../render/HvAdapter.h"
#include "../render/HvAlphaCollector.h"
#include "../render/HvCamera.h"
#include "../render/HvCameraProperty.h"
#include "../render/HvDevice.h"
#include "../render/HvNode.h"
#include "../ui2d/HvFont.h"
#include "../ui2d/HvScreenGrab.h"
#include "../ui2d/HvSpriteCollector.h"
#include <d3dx9.h>
#include <psapi.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

HvCore* HvCore::instance = nullptr;

namespace {
// Pool-only bits of each kind of pool.
const uint32_t geometryBits = HvFlags::AutoCollect | HvFlags::SkipStartup | HvFlags::SkipRender | HvFlags::SkipUpdate |
                              HvFlags::SkipCheckCaps;                       // 0x2B40
const uint32_t nodeBits = geometryBits | HvFlags::SkipDeviceReset;          // 0x2F40
const uint32_t animationBits = nodeBits & ~HvFlags::SkipUpdate;             // 0x2740: members are updated
const uint32_t collectorBits = HvFlags::AutoCollect | HvFlags::SkipUpdate | HvFlags::SkipCheckCaps;  // 0x2840

struct PoolDesc {
  HvPoolIndex index;
  const char* name;
  uint32_t bits;
};

// In creation order; each pool is stored at its index.
const PoolDesc poolTable[] = {
  {HvPoolApplication, "Application object pool", 0},
  {HvPoolGeometry, "Geometry pool", geometryBits},
  {HvPoolVertexShader, "Vertex Shader pool", nodeBits},
  {HvPoolNode, "Node pool", nodeBits},
  {HvPoolCamera, "Camera pool", nodeBits},
  {HvPoolTexture, "Texture pool", geometryBits},
  {HvPoolFont, "Font pool", collectorBits},
  {HvPoolAnimation, "Animation controller pool", animationBits},
  {HvPoolAlphaCollector, "Alpha collector pool", nodeBits},
  {HvPoolSprite, "Sprite pool", nodeBits},
  {HvPoolSpriteCollector, "Sprite collector", collectorBits},
};
static_assert(sizeof poolTable / sizeof poolTable[0] == HvPoolCount, "one entry per pool");
static_assert(geometryBits == 0x2B40 && nodeBits == 0x2F40 && animationBits == 0x2740 && collectorBits == 0x2840,
              "pool flag words");
}

HvCore::HvCore(const char* name) : HvEngineObject(name) {
  srand(unsigned(time(nullptr)));
  HvFillSineTable();
  HvTimer::Init();
  HvTraceOpen("AppTrack.txt");
}

HvCore::~HvCore() {
  for (int i = HvPoolCount - 1; i >= 0; --i) pools[i].Reset();
  screenGrab.Reset();
  defaultSpriteCollector.Reset();
  for (int pass = HvPassCount - 1; pass >= 0; --pass) alphaCollectors[pass].Reset();
  defaultFont.Reset();
  sceneRoot.Reset();
  defaultCamera.Reset();
  device.Reset();
  config.Reset();
  adapter.Reset();
}

HvFont* HvCore::GetDefaultFont() const { return defaultFont.Get(); }
HvScreenGrab* HvCore::GetScreenGrab() const { return screenGrab.Get(); }

HvEngineObjectPool* HvCore::GetEnginePool(uint32_t index) const {
  return static_cast<HvEngineObjectPool*>(pools[index].Get());
}

template <class Op> bool HvCore::ForPools(uint32_t first, Op op) {
  for (uint32_t i = first; i < HvPoolCount; ++i)
    if (!op(pools[i].Get())) return false;
  return true;
}

// Pool 0 holds plain objects and takes no part in frame and device-reset broadcasts.
template <class Op> bool HvCore::ForEnginePools(Op op) {
  return ForPools(1, [&](HvObjectPool* p) { return op(static_cast<HvEngineObjectPool*>(p)); });
}

HvConfig* HvCore::CreateConfig() { return new HvConfig; }

void HvCore::SetDevice(HvDevice* d) { device = d; }

bool HvCore::CreateEngineObjects() {
  for (const PoolDesc& d : poolTable) {
    HvObjectPool* pool = d.index == HvPoolApplication ? new HvObjectPool(d.name) : new HvEngineObjectPool(d.name);
    pool->SetFlag(d.bits);
    pools[d.index] = pool;
  }
  defaultFont = new HvFont("Arial");
  screenGrab = new HvScreenGrab("ScreenShot", "");

  defaultSpriteCollector = new HvSpriteCollector("Default sprite collector");
  for (uint32_t pass = 0; pass < HvPassCount; ++pass)
    alphaCollectors[pass] = new HvAlphaCollector(("Alpha collector for pass " + std::to_string(pass)).c_str());

  sceneRoot = new HvNode("__SceneRoot__");
  defaultCamera = new HvCamera("Default_camera");
  for (uint32_t pass = 0; pass < HvPassCount; ++pass) {
    sceneRoot->AddProperty(new HvCameraProperty(defaultCamera.Get()), pass);
    sceneRoot->SetPassMode(pass, pass == 0 ? HvPassDraw : HvPassSkip);
  }
  return true;
}

bool HvCore::Initialize() {
  if (!CreateEngineObjects()) return false;

  adapter = new HvAdapter;
  {
    HvStartupStep step("device creation");  // with the device itself in Create
    if (!adapter->Create()) return false;
  }
  HvDisplayMode desktop;
  if (!adapter->GetCurrentDisplayMode(desktop)) return false;
  adapter->LogAdapterInfo();

  config = CreateConfig();
  D3DCAPS9 caps = adapter->GetDeviceCaps();
  if (!config->CheckCaps(&caps)) return false;
  HvStartupStep step("configuration dialog");  // the user's time when it is shown
  return config->RunDialog(settings, desktop);
}

bool HvCore::Start() {
  if (!Initialize() || !CheckCoreCaps(adapter->GetDeviceCaps()) || !CreateApplicationObjects()) return false;
  D3DCAPS9 caps = adapter->GetDeviceCaps();
  if (!ForPools(0, [&](HvObjectPool* p) { return p->CheckCaps(&caps); })) return false;
  if (!ForPools(0, [](HvObjectPool* p) { return p->Initialize(); })) return false;
  {
    HvStartupStep step("main window");
    window = CreateMainWindow();
  }
  if (window && automation.closeWhileLoading) PostMessageA(window, WM_CLOSE, 0, 0);
  if (!window || !Create()) return false;
  if (!ForPools(0, [](HvObjectPool* p) { return p->Create(); })) return false;
  if (!ForPools(0, [](HvObjectPool* p) { return p->PostCreate(); })) return false;
  if (!PostCreate()) return false;
  if (!settings.windowed) {
    SetCursor(nullptr);
    ShowCursor(FALSE);
  }
  return true;
}

bool HvCore::Create() {
  HvStartupStep step("device creation");
  device = adapter->CreateDevice(settings);
  return bool(device);
}

bool HvCore::PostCreate() {
  return ForPools(0, [](HvObjectPool* p) { p->Describe(); return true; });
}

void HvCore::Run() {
  HvStartupTimes::End();  // the program's entry began it
  if (automation.noMessageBoxes) HvSetMessageBoxLogging(true);
  HvTimer::SetFixedStep(automation.step);
  if (automation.step > 0) srand(1);  // reproducible runs: the same random choices too
  if (Start() && (automation.capturePath.empty() || capture.Open(automation.capturePath))) {
    HvStartupTimes::Begin("first frame");  // ends with the first Present
    if (!automation.profilePath.empty()) profiler.Start();
    if (!automation.frameLogPath.empty()) {
      // Room for five minutes of show at 500 frames/s, or at the fixed step, within 16 MB.
      const double frames = automation.step > 0 ? 300 / automation.step : 300 * 500.0;
      frameLog.Start(size_t(std::min(frames, double(1 << 20))));
    }
    MSG msg = {};
    while (msg.message != WM_QUIT) {
      if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
        continue;
      }
      HvTimer::BeginFrameTurn();
      if (!Tick() || !CheckDevice() || !RenderFrame()) PostQuitMessage(0);
      ++statistics.frames;
      if (HvStartupTimes::IsRecording()) {
        HvStartupTimes::EndRecord();
        statistics.startup = HvStartupTimes::Total();
      }
      statistics.showTime = HvTimer::Now();
      profiler.SetShowTime(statistics.showTime);
      if (!automation.frameLogPath.empty()) frameLog.Add(statistics.showTime, GetFrameSection());
      QuitWhenDue();
      if (quitRequested && window) SendMessageA(window, WM_DESTROY, 0, 0);
    }
  }
  profiler.Stop();
  if (!automation.profilePath.empty() && !profiler.Write(automation.profilePath))
    fprintf(stderr, "cannot write %s\n", automation.profilePath.c_str());
  if (!automation.frameLogPath.empty() && !frameLog.Write(automation.frameLogPath))
    fprintf(stderr, "cannot write %s\n", automation.frameLogPath.c_str());
  Stop();
  if (automation.printFps) PrintStatistics();
}

void HvCore::PrintStatistics() {
  const HvRunStatistics& s = statistics;
  printf("%ld frames in %.2f s: %.1f frames/s\n", s.frames, s.showTime, s.showTime > 0 ? s.frames / s.showTime : 0.0);
  PrintStartup();
  PROCESS_MEMORY_COUNTERS memory = {};
  if (GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory))
    printf("peak memory: %.0f MB\n", memory.PeakWorkingSetSize / 1048576.0);
  printf("device references left: %lu\n", s.deviceReferencesLeft);
  fflush(stdout);
}

void HvCore::PrintStartup() {
  if (HvStartupTimes::IsRecording()) {
    printf("start-up: no frame presented\n");
    return;
  }
  printf("start-up: %.2f s from entering WinMain to the first presented frame\n", statistics.startup);
  double steps = 0;
  for (const HvStartupTimes::Step& step : HvStartupTimes::Steps()) {
    printf("start-up step: %s: %.3f s", step.name.c_str(), step.seconds);
    if (step.count > 1) printf(" (%d times)", step.count);
    printf("\n");
    steps += step.seconds;
  }
  printf("start-up step: the rest: %.3f s\n", statistics.startup - steps);
}

bool HvCore::Update() {
  if (HasFlag(HvFlags::FirstFrame)) HvTimer::Reset();
  HvTimer::Tick();
  if (!ForPools(0, [](HvObjectPool* p) { return p->Update(); })) return false;
  ClearFlag(HvFlags::FirstFrame);
  return true;
}

bool HvCore::BeginFrame() {
  return device->BeginFrame() && ForEnginePools([](HvEngineObjectPool* p) { return p->BeginFrame(); });
}

bool HvCore::Render() {
  for (uint32_t pass = 0; pass < HvPassCount; ++pass)
    if (!sceneRoot->RenderPass(pass) || !alphaCollectors[pass]->Render(pass)) return false;
  return ForEnginePools([](HvEngineObjectPool* p) { return p->Render(); });
}

bool HvCore::EndFrame() {
  if (!ForEnginePools([](HvEngineObjectPool* p) { return p->EndFrame(); })) return false;
  for (uint32_t pass = 0; pass < HvPassCount; ++pass)
    if (!alphaCollectors[pass]->EndFrame()) return false;
  GrabDueFrames();
  const bool captured = CaptureFrame();
  return device->EndFrame() && captured;
}

HRESULT HvCore::TestCooperativeLevel() const {
  if (automation.loseDeviceAt >= 0 && HvTimer::Now() >= automation.loseDeviceAt) return D3DERR_DEVICELOST;
  return device->GetD3DDevice()->TestCooperativeLevel();
}

bool HvCore::CheckDevice() {
  if (TestCooperativeLevel() != D3DERR_DEVICELOST) return true;
  ForEnginePools([](HvEngineObjectPool* p) { return p->OnDeviceLost(); });
  device->ResetDevice();
  ForEnginePools([](HvEngineObjectPool* p) { return p->ResetDevice(); });
  return ForEnginePools([](HvEngineObjectPool* p) { return p->OnDeviceReset(); });
}

bool HvCore::Stop() {
  if (!Shutdown() || !ForPools(0, [](HvObjectPool* p) { return p->Shutdown(); })) return false;
  if (!ForPools(0, [](HvObjectPool* p) { return p->Release(); }) || !Release()) return false;
  return ForPools(0, [](HvObjectPool* p) { return p->Finalize(); }) && Finalize();
}

bool HvCore::Finalize() {
  screenGrab.Reset();
  capture.Close();  // its surface before the device; the encoder sees the end of the frames
  if (device) {
    if (!device->Release()) return false;
    statistics.deviceReferencesLeft = device->GetReferencesLeft();
    device.Reset();
  }
  if (adapter) {
    if (!adapter->Release()) return false;
    adapter.Reset();
  }
  if (config) {
    if (!config->Release()) return false;
    config.Reset();
  }
  if (!settings.windowed) ShowCursor(TRUE);
  return true;
}

HWND HvCore::CreateMainWindow() {
  HINSTANCE module = GetModuleHandleA(nullptr);
  const std::string name = GetName();
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  wc.style = CS_CLASSDC;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = module;
  wc.hbrBackground = HBRUSH(GetStockObject(BLACK_BRUSH));
  wc.lpszClassName = name.c_str();
  if (!RegisterClassExA(&wc)) {
    HvMessageBox("Error while registering window class", name.c_str(), MB_ICONEXCLAMATION);
    return nullptr;
  }
  const int width = int(settings.displayWidth) + GetSystemMetrics(SM_CXFIXEDFRAME) + GetSystemMetrics(SM_CXEDGE) +
                    GetSystemMetrics(SM_CXBORDER);
  const int height = int(settings.displayHeight) + GetSystemMetrics(SM_CYFIXEDFRAME) + GetSystemMetrics(SM_CYEDGE) +
                     GetSystemMetrics(SM_CYBORDER) + GetSystemMetrics(SM_CYCAPTION);
  const DWORD style = settings.windowed
                          ? WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX
                          : WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  HWND w = CreateWindowExA(WS_EX_APPWINDOW, name.c_str(), name.c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT, width,
                           height, nullptr, nullptr, module, nullptr);
  if (!w) {
    HvMessageBox("Error while creating window", name.c_str(), MB_ICONEXCLAMATION);
    return nullptr;
  }
  BringWindowToTop(w);
  SetFocus(w);
  ShowWindow(w, SW_SHOWNORMAL);
  UpdateWindow(w);
  settings.deviceWindow = w;
  return w;
}

LRESULT CALLBACK HvCore::WindowProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
  HvCore* core = instance;
  if (core) core->OnWindowMessage(w, message, wParam, lParam);
  const bool quit = message == WM_DESTROY || message == WM_CLOSE || (message == WM_KEYDOWN && wParam == VK_ESCAPE);
  if (!quit || !core) return DefWindowProcA(w, message, wParam, lParam);
  PostQuitMessage(0);
  HWND own = core->window;
  core->window = nullptr;  // before DestroyWindow, whose WM_DESTROY comes back here
  if (own) DestroyWindow(own);
  return 0;
}

void HvCore::GrabDueFrames() {
  const double now = HvTimer::Now();
  for (; grabsDone < automation.grabTimes.size() && now >= automation.grabTimes[grabsDone]; ++grabsDone) {
    // The back buffer before Present: the frame itself, also in windowed mode. A failure was reported
    // by its message box; the show goes on.
    if (screenGrab) screenGrab->Grab(HvScreenGrab::BackBuffer, automation.outDir);
  }
}

bool HvCore::CaptureFrame() {
  if (!capture.IsOpen() || HvTimer::Now() < automation.captureFrom) return true;  // as for --grab: at or past
  return capture.Write(device->GetD3DDevice());
}

void HvCore::QuitWhenDue() {
  if (automation.quitAt >= 0 && window && HvTimer::Now() >= automation.quitAt) {
    automation.quitAt = -1;
    SendMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
  }
}
