#include "CEventCollector.h"
#include "CCore.h"
#include "scenes/CObject.h"
#include "../engine/core/HvTimer.h"

CEventCollector::CEventCollector() = default;
CEventCollector::~CEventCollector() = default;

void CEventCollector::AddEvent(float time, CObject* target, const std::string& name) {
  records.push_back({Instant, time, time, name, target, false});
}

void CEventCollector::AddTimedEvent(float start, float duration, CObject* target, const std::string& name) {
  records.push_back({Timed, start, start + duration, name, target, false});
}

void CEventCollector::DispatchEvents() {
  DispatchAt(float(HvTimer::Now()), static_cast<CCore*>(HvCore::GetInstance())->GetShowStartOffset());
}

void CEventCollector::DispatchAt(float now, float startOffset) {
  if (startTime == -1.0f) startTime = now - startOffset;  // the first dispatch is show time 0
  const float t = now - startTime;
  // By index, re-reading the size: a target may schedule further events while it handles one.
  for (size_t i = 0; i < records.size(); ++i) {
    Record& r = records[i];
    if (r.finished || r.start > t) continue;
    float progress;
    if (r.kind == Instant) progress = 0.0f;
    else if (t > r.end || !(r.end > r.start)) progress = 1.0f;  // stepped past the end, or no interval at all
    else progress = (t - r.start) / (r.end - r.start);
    r.finished = r.kind == Instant || progress >= 1.0f - 0.001f;
    HvRef<CObject> target = r.target;  // the record may move if OnEvent adds events
    const std::string name = r.name;
    target->OnEvent(progress, name);
  }
}
