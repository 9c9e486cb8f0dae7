#include "HvStartupTimes.h"
#include "HvTimer.h"

namespace {
bool recording;
double recordStart, recordEnd;
std::vector<HvStartupTimes::Step> steps;
std::vector<size_t> open;  // indices into steps, innermost last
double lastSwitch;         // clock reading when the innermost open step last resumed

// Charges the time since the last switch to the innermost open step.
void Charge(double now) {
  if (!open.empty()) steps[open.back()].seconds += now - lastSwitch;
  lastSwitch = now;
}
}

void HvStartupTimes::BeginRecord() {
  steps.clear();
  open.clear();
  recording = true;
  recordStart = lastSwitch = HvTimer::Clock();
}

void HvStartupTimes::EndRecord() {
  if (!recording) return;
  const double now = HvTimer::Clock();
  while (!open.empty()) End();
  recording = false;
  recordEnd = now;
}

bool HvStartupTimes::IsRecording() { return recording; }

double HvStartupTimes::Total() { return (recording ? HvTimer::Clock() : recordEnd) - recordStart; }

const std::vector<HvStartupTimes::Step>& HvStartupTimes::Steps() { return steps; }

void HvStartupTimes::Begin(const std::string& name) {
  if (!recording) return;
  Charge(HvTimer::Clock());
  size_t i = 0;
  while (i < steps.size() && steps[i].name != name) ++i;
  if (i == steps.size()) steps.push_back({name, 0, 0});
  ++steps[i].count;
  open.push_back(i);
}

void HvStartupTimes::End() {
  if (!recording || open.empty()) return;
  Charge(HvTimer::Clock());
  open.pop_back();
}

bool HvStartupTimes::BeginOutermost(const std::string& name) {
  if (!recording || !open.empty()) return false;
  Begin(name);
  return true;
}

HvStartupStep::HvStartupStep(const char* name, bool outermost) : HvStartupStep(std::string(name), outermost) {}

HvStartupStep::HvStartupStep(const std::string& name, bool outermost) : begun(HvStartupTimes::IsRecording()) {
  if (!begun) return;
  if (outermost) begun = HvStartupTimes::BeginOutermost(name);
  else HvStartupTimes::Begin(name);
}

HvStartupStep::~HvStartupStep() {
  if (begun) HvStartupTimes::End();
}
