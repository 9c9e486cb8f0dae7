// The invisible object that ends the show, counts the frames of its three sections and, after a
// full benchmark run, computes the score and writes "Results.htm".
#pragma once
#include "BenchmarkReport.h"
#include "CObject.h"

class CFPSCounter;

class CObjectBenchmark : public CObject {
public:
  // Show times at which each section starts, and the end of the show.
  static constexpr float kSectionStart[4] = {kFirstSection, 71.0f, 137.0f, kShowEnd};

  explicit CObjectBenchmark(const char* name);
  ~CObjectBenchmark() override;

  bool ScheduleEvents() override;
  bool OnEvent(float progress, const std::string& name) override;
  bool Update() override;
  bool Release() override;

  int32_t GetScore() const { return score; }
  int32_t GetSectionFrames(int i) const { return sectionFrames[i]; }
  int32_t GetSection() const { return section; }  // 0 to 2 once the first section began, else -1

private:
  int32_t totalFrames = 0;        // every frame of the show
  int32_t minFps = 0x7FFFFFFF;
  int32_t maxFps = 0;
  HvRef<CFPSCounter> fpsCounter;  // found at the first update
  int32_t section = -1;           // running section, -1 before the first
  int32_t sectionFrames[3] = {};
  int32_t score = 0;
};
