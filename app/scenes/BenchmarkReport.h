// The benchmark's arithmetic and its report "Results.htm", apart from the object that gathers the
// figures so that both can be checked without a device.
#pragma once
#include <windows.h>
#include <string>

const float kSectionWeights[3] = {0.338188f, 0.331981f, 0.329831f};  // sum 1: a weighted mean of frames
const float kShowEnd = 235.8f;        // s, the "end" event
const float kFirstSection = 1.0f;     // s, the "scene_1" event

struct BenchmarkFigures {
  int score;
  int totalFrames;                 // every frame of the show, from show time 0
  int minFps, maxFps;
  bool hasProcessorName;
  std::string processorName;
  bool hasProcessorMhz;
  int processorMhz;
  std::string systemName;          // see SystemName
  std::string servicePack;         // may be empty
  std::string graphicsCard;
  SYSTEMTIME created;              // local time
};

int ComputeScore(const int sectionFrames[3]);
int AverageFps(int totalFrames);   // over the show from the first section to the end
// The name of a Windows version; versions without a name of their own get their numbers.
std::string SystemName(DWORD major, DWORD minor, DWORD platform);
std::string FormatCreationLine(const SYSTEMTIME& t);  // "Created: 4/03/2005 09:07:05"
std::string FormatReport(const BenchmarkFigures& f);  // the whole file, one line

// Reads processor, operating system and the time of day into `f`.
void GatherComputerInformation(BenchmarkFigures& f);
// Writes "Results.htm" in the working directory; silently nothing when it cannot be created.
void WriteReport(const BenchmarkFigures& f);
