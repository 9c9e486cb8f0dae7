// The demo's application object.
#pragma once
#include "../engine/core/HvCore.h"

// The run mode: chosen in the configuration dialog, turned into an aborted mode when the show is cut short.
enum CRunMode : uint32_t {
  CModeNotChosen = 0,
  CModeBenchmark = 1,
  CModeDemo = 2,
  CModeBenchmarkAborted = 3,
  CModeDemoAborted = 4,
};

class CCore : public HvCore {
public:
  CCore();

  HvConfig* CreateConfig() override;  // the demo's dialog, CConfig

  uint32_t GetMode() const { return mode; }
  void SetMode(uint32_t newMode) { mode = newMode; }
  int32_t GetScore() const { return score; }   // the benchmark's score; -1 until the benchmark sets it
  void SetScore(int32_t newScore) { score = newScore; }

private:
  uint32_t mode = CModeNotChosen;
  int32_t score = -1;
};
