#include "HvFrameLog.h"
#include <cstdio>

void HvFrameLog::Start(size_t frames) {
  entries.clear();
  entries.reserve(frames);
  lastShowTime = 0;
}

void HvFrameLog::Add(double showTime, int32_t section) {
  // The clock starts again at 0 in the first frame: its frame time runs from there.
  const double since = entries.empty() ? 0.0 : lastShowTime;
  entries.push_back({showTime, float((showTime - since) * 1000.0), section});
  lastShowTime = showTime;
}

bool HvFrameLog::Write(const std::string& path) const {
  FILE* file = fopen(path.c_str(), "wb");  // Unix line ends on every system
  if (!file) return false;
  fputs("frame,show_time_s,frame_time_ms,section\n", file);
  long frame = 0;
  for (const Entry& e : entries) fprintf(file, "%ld,%.6f,%.4f,%d\n", ++frame, e.showTime, double(e.frameTime), int(e.section));
  return fclose(file) == 0;
}
