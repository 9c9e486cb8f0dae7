// Where the start-up goes, for the end-of-run statistics (--fps): named steps timed on the engine
// clock from the program's entry to its first presented frame. A step begun inside another one pauses
// the outer one, so every second counts once; time outside any step is "the rest". Steps outside that
// span (or in programs that never begin the record, like the tests) cost a flag test and nothing else.
#pragma once
#include <string>
#include <vector>

class HvStartupTimes {
public:
  struct Step {
    std::string name;
    double seconds = 0;
    int count = 0;  // how often it was begun
  };

  static void BeginRecord();  // at the program's entry
  static void EndRecord();    // after the first presented frame
  static bool IsRecording();
  static double Total();      // s, from BeginRecord to EndRecord (or to now while recording)
  static const std::vector<Step>& Steps();  // in the order they first began

  static void Begin(const std::string& name);
  static void End();
  // Begins `name` unless a step is under way, whose time it then stays: the texture loads of a model
  // count as that model's.
  static bool BeginOutermost(const std::string& name);
};

// Times one step for the length of a scope.
class HvStartupStep {
public:
  explicit HvStartupStep(const char* name, bool outermost = false);
  explicit HvStartupStep(const std::string& name, bool outermost = false);
  ~HvStartupStep();
  HvStartupStep(const HvStartupStep&) = delete;
  HvStartupStep& operator=(const HvStartupStep&) = delete;

private:
  bool begun;
};
