// The frame log of an automated run (--frame-log FILE): one entry per frame, kept in memory while the
// show runs and written as CSV when it ends, so that the run pays for a store into reserved memory per
// frame and no file access. A line per frame after a header:
//   frame,show_time_s,frame_time_ms,section
// frame counts from 1; show time is the engine clock at the end of the frame, when it was presented;
// frame time is the clock's advance since the end of the previous frame (the first frame's is measured
// from the clock's reset in that frame, so loading never counts); section is what the application counts
// the frame for (the benchmark's sections 1 to 3, 0 for none).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

class HvFrameLog {
public:
  // Reserves room for `frames` entries up front (a longer run grows the buffer once in a while).
  void Start(size_t frames);
  void Add(double showTime, int32_t section);  // at the end of each frame, after Start
  size_t GetCount() const { return entries.size(); }
  bool Write(const std::string& path) const;

private:
  struct Entry {
    double showTime;   // s
    float frameTime;   // ms
    int32_t section;
  };
  std::vector<Entry> entries;
  double lastShowTime = 0;
};
