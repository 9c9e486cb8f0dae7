// The show's timeline. Every scene object schedules its own events at start-up; once per frame,
// before the objects update, the collector delivers each due event to its target's OnEvent with a
// progress: 0 for an instant event, 0..1 across a timed event's interval.
#pragma once
#include "../engine/core/HvObject.h"
#include <string>
#include <vector>

class CObject;

class CEventCollector : public HvRefCount {
public:
  CEventCollector();
  ~CEventCollector() override;

  void AddEvent(float time, CObject* target, const std::string& name);
  // duration > 0; a zero or negative duration is delivered once, with progress 1, at `start`
  void AddTimedEvent(float start, float duration, CObject* target, const std::string& name);

  void DispatchEvents();  // at the engine timer's Now, with the application's show start offset
  void DispatchAt(float now, float startOffset);

  float GetStartTime() const { return startTime; }  // -1 until the first dispatch

private:
  enum Kind : uint32_t { Timed = 0, Instant = 1 };
  struct Record {
    Kind kind;
    float start, end;  // show time, s
    std::string name;
    HvRef<CObject> target;
    bool finished;
  };
  std::vector<Record> records;  // in the order added; never removed
  float startTime = -1.0f;      // engine time at which the show began
};
