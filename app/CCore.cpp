#include "CCore.h"
#include "CConfig.h"
#include "CEventCollector.h"
#include "CMusic.h"
#include "scenes/CFPSCounter.h"
#include "scenes/CObjectBenchmark.h"
#include "scenes/CObjectBlackBar.h"
#include "scenes/CObjectBlob.h"
#include "scenes/CObjectCredits.h"
#include "scenes/CObjectFlash.h"
#include "scenes/CObjectLogo.h"
#include "scenes/CObjectRoom.h"
#include "scenes/CObjectShader.h"
#include "scenes/CObjectStar.h"
#include "scenes/CObjectStation.h"
#include "scenes/CObjectTunnel.h"
#include "../engine/core/HvStartupTimes.h"
#include "../engine/core/HvTimer.h"
#include "../engine/render/HvClearProperty.h"
#include "../engine/render/HvDevice.h"
#include "../engine/render/HvNode.h"
#include <algorithm>
#include <cstdio>

static const char* const kMusicFile = "Msx\\Orvanta by Brenholt.mp3";

CCore::CCore() : HvCore(kName) {}

HvConfig* CCore::CreateConfig() { return new CConfig; }

CCore::~CCore() {
  // The music and the timeline go before the engine part.
  music.Reset();
  eventCollector.Reset();
}

bool CCore::CreateApplicationObjects() {
  {
    HvStartupStep step("unpacking");
    if (!package.ExtractTo("Orvanta.pac", "orvanta_data", dataFolder)) return false;
  }
  GetCurrentDirectoryA(260, savedDirectory);
  SetCurrentDirectoryA(dataFolder);

  auto* clear = new HvClearProperty;  // every frame starts opaque black
  clear->flags = D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER;
  clear->color[0] = clear->color[1] = clear->color[2] = 0, clear->color[3] = 1;
  clear->depth = 1.0f;
  clear->stencil = 0;
  GetSceneRoot()->AddProperty(clear, 0);

  eventCollector = new CEventCollector;
  AddSceneObjects();
  return true;
}

// In this order: the order of their start-up, their updates in each frame and their events.
void CCore::AddSceneObjects() {
  HvObjectPool* pool = GetPool(HvPoolApplication);
  auto* fps = new CFPSCounter("FPS Counter");
  fps->SetVisible(mode == Benchmark);
  pool->Add(fps);
  benchmark = new CObjectBenchmark("Benchmark");
  pool->Add(benchmark);
  if (mode == Demo) pool->Add(new CObjectBlackBar("Black_bars"));
  pool->Add(new CObjectFlash("Flash_Screen"));
  pool->Add(new CObjectLogo("Logo"));
  pool->Add(new CObjectTunnel("Tunnel"));
  pool->Add(new CObjectBlob("Effect_3d_blobs"));
  pool->Add(new CObjectShader("Shader_Overlay"));
  pool->Add(new CObjectStation("SpaceStation"));
  pool->Add(new CObjectStar("Star"));
  pool->Add(new CObjectRoom("Room"));
  pool->Add(new CObjectCredits("Credits"));
}

bool CCore::Create() {
  if (mode == Demo && GetAutomation().capturePath.empty()) {  // a capture takes its sound from the file
    CMusic::SetPlayLogging(GetAutomation().noMessageBoxes);
    music = new CMusic;
    if (!music->Load(kMusicFile, showStartOffset)) return false;
  }
  return HvCore::Create();
}

bool CCore::PostCreate() {
  HvObjectPool* pool = GetPool(HvPoolApplication);
  for (size_t i = 0; i < pool->GetCount(); ++i) {
    auto* object = dynamic_cast<CObject*>(pool->GetMember(i));
    if (object && !object->ScheduleEvents()) return false;
  }
  SetCurrentDirectoryA(savedDirectory);
  {
    HvStartupStep step("removing the unpacked data");
    package.DeleteFolder(dataFolder);  // everything is in memory now
  }
  if (!GetSettings().windowed) {
    HvStartupStep step("full-screen pause");
    HvTimer::Wait(1.0f);
  }
  return HvCore::PostCreate();
}

bool CCore::Update() {
  if (HasFlag(HvFlags::FirstFrame)) {
    if (music && !music->Play()) return false;
    HvTimer::Reset();
  }
  eventCollector->DispatchEvents();
  return HvCore::Update();
}

bool CCore::Shutdown() {
  eventCollector.Reset();  // its records let go of the scene objects
  if (mode == Demo && music) {
    if (!music->Stop()) return false;
    music.Reset();
  }
  if (dataFolder[0]) {
    // After a start-up that failed while loading, the data folder is still the working directory,
    // and Windows does not remove a process's working directory.
    if (savedDirectory[0]) SetCurrentDirectoryA(savedDirectory);
    package.DeleteFolder(dataFolder);
  }
  return true;
}

bool CCore::CheckDevice() {
  if (TestCooperativeLevel() != D3DERR_DEVICELOST) return true;
  PostQuitMessage(0);  // the demo never resets a lost device
  HWND own = window;
  window = nullptr;  // before DestroyWindow, whose WM_DESTROY reaches the window procedure
  if (own) DestroyWindow(own);
  return false;
}

int32_t CCore::GetFrameSection() const { return benchmark ? benchmark->GetSection() + 1 : 0; }

void CCore::PrintStatistics() {
  HvCore::PrintStatistics();
  if (!benchmark) return;
  const double end = GetStatistics().showTime;  // a show cut short ends before the last section does
  for (int i = 0; i < 3; ++i) {
    const float* start = CObjectBenchmark::kSectionStart;
    const int32_t frames = benchmark->GetSectionFrames(i);
    const double seconds = std::min(double(start[i + 1]), end) - start[i];
    printf("section %d (%.1f-%.1f s): %d frames, %.1f frames/s\n", i + 1, start[i], start[i + 1], frames,
           seconds > 0 ? frames / seconds : 0.0);
  }
  fflush(stdout);
}
