#include "CObjectBenchmark.h"
#include "BenchmarkReport.h"
#include "CFPSCounter.h"
#include "../CCore.h"
#include "../CEventCollector.h"
#include "../../engine/render/HvAdapter.h"
#include <algorithm>

CObjectBenchmark::CObjectBenchmark(const char* name) : CObject(name) {}
CObjectBenchmark::~CObjectBenchmark() = default;

bool CObjectBenchmark::ScheduleEvents() {
  Events().AddEvent(kSectionStart[0], this, "scene_1");
  Events().AddEvent(kSectionStart[1], this, "scene_2");
  Events().AddEvent(kSectionStart[2], this, "scene_3");
  Events().AddEvent(kSectionStart[3], this, "end");
  return true;
}

bool CObjectBenchmark::OnEvent(float progress, const std::string& name) {
  if (name == "scene_1") section = 0;
  else if (name == "scene_2") section = 1;
  else if (name == "scene_3") section = 2;
  else if (name == "end") CCore::GetApp()->RequestQuit();
  return CObject::OnEvent(progress, name);
}

bool CObjectBenchmark::Update() {
  if (HasFlag(HvFlags::FirstFrame))
    fpsCounter = dynamic_cast<CFPSCounter*>(CCore::GetApp()->GetPool(HvPoolApplication)->FindByName("FPS Counter"));
  ++totalFrames;
  if (section != -1) {
    const int32_t fps = fpsCounter ? fpsCounter->GetFps() : 0;
    maxFps = std::max(maxFps, fps);
    minFps = std::min(minFps, fps);
    ++sectionFrames[section];
  }
  return CObject::Update();
}

bool CObjectBenchmark::Release() {
  CCore* app = CCore::GetApp();
  if (!app->IsQuitRequested()) {  // closed before the end
    if (app->GetMode() == CCore::Benchmark) app->SetMode(CCore::BenchmarkAborted);
    if (app->GetMode() == CCore::Demo) app->SetMode(CCore::DemoAborted);
  }
  if (app->GetMode() == CCore::Benchmark) {
    score = ComputeScore(sectionFrames);
    app->SetScore(score);
    BenchmarkFigures f = {};
    f.score = score;
    f.totalFrames = totalFrames;
    f.minFps = minFps;
    f.maxFps = maxFps;
    f.graphicsCard = app->GetAdapter() ? app->GetAdapter()->GetAdapterIdentifier().Description : "";
    GatherComputerInformation(f);
    WriteReport(f);
  }
  fpsCounter.Reset();
  return CObject::Release();
}
