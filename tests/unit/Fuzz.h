// Shared by the fuzzing tests of the data readers (models, textures, the soundtrack): a run of
// mutated cases bounded by time, with a fixed seed per case, a watchdog for a case that hangs, and
// the few mutations every reader uses.
//
// Environment, for a developer who wants more than the short run of the test suite:
//   ORVANTA_FUZZ_SECONDS  seconds per reader (default: the reader's own share of about 90 s in all)
//   ORVANTA_FUZZ_CASES    run exactly this many cases per reader, whatever the time
//   ORVANTA_FUZZ_FIRST    number of the first case (to replay one: FIRST=n CASES=1)
//   ORVANTA_FUZZ_TRACE    print each case's number and mutation before it runs (to find a crash)
// Case n of a reader is always the same input: its random generator is seeded with (reader, n).
#pragma once
#include <cstdint>
#include <random>
#include <string>

class FuzzRun {
public:
  FuzzRun(const char* reader, double defaultSeconds);
  ~FuzzRun();  // prints the run's figures

  // Starts the next case; false when the time or the number of cases is used up.
  bool Next();
  int Case() const { return number; }
  std::mt19937& Random() { return random; }
  unsigned Below(unsigned n) { return n ? unsigned(random() % n) : 0; }
  // What the current case does, for the trace and for failure messages.
  void Describe(const std::string& what);
  const std::string& Description() const { return description; }
  std::string Where() const;  // "reader case n (what)"
  // Counts a case that loaded (the others failed cleanly).
  void Loaded() { ++loaded; }

private:
  const char* reader;
  std::mt19937 random;
  std::string description;
  int number = -1, first = 0, end = 0, loaded = 0;
  double seconds = 0, started = 0, caseStarted = 0, slowest = 0;
  size_t peakBefore = 0;
};

// Runs `action` with standard error captured; `messages` gets the number of message boxes it showed.
template <class F> std::string FuzzCapture(F action, int& messages);

// Mutations on raw bytes.
void FuzzFlipBytes(std::string& bytes, FuzzRun& run, unsigned count, const std::string& special);
std::string FuzzReadFile(const std::string& path);
bool FuzzWriteFile(const std::string& path, const std::string& bytes);

#include "engine/core/HvMessageBox.h"
#include <gtest/gtest.h>
template <class F> std::string FuzzCapture(F action, int& messages) {
  const unsigned before = HvMessageBoxCount();
  testing::internal::CaptureStderr();
  action();
  std::string log = testing::internal::GetCapturedStderr();
  messages = int(HvMessageBoxCount() - before);
  return log;
}
