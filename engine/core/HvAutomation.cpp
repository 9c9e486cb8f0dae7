#include "HvAutomation.h"
#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {
// A number in [0, 1e6] s with nothing after it.
bool ParseSeconds(const std::string& text, double& value) {
  char* end = nullptr;
  value = strtod(text.c_str(), &end);
  return !text.empty() && *end == 0 && value >= 0 && value <= 1e6;
}

bool ParseResolution(const std::string& text, uint32_t& w, uint32_t& h) {
  char* end = nullptr;
  unsigned long width = strtoul(text.c_str(), &end, 10);
  if (end == text.c_str() || *end != 'x') return false;
  const char* rest = end + 1;
  unsigned long height = strtoul(rest, &end, 10);
  if (end == rest || *end != 0 || width < 64 || height < 64 || width > 8192 || height > 8192) return false;
  w = uint32_t(width);
  h = uint32_t(height);
  return true;
}

// Ascending show times separated by commas, at least one.
bool ParseTimes(const std::string& text, std::vector<double>& times) {
  times.clear();
  for (size_t start = 0; start <= text.size();) {
    const size_t comma = std::min(text.find(',', start), text.size());
    double t;
    if (!ParseSeconds(text.substr(start, comma - start), t)) return false;
    times.push_back(t);
    start = comma + 1;
  }
  std::sort(times.begin(), times.end());
  return true;
}

struct Option {
  const char* name;
  const char* value;    // what the value looks like; null: the option takes none
  const char* meaning;  // one line
  bool (*apply)(HvAutomation& o, const std::string& value);  // false: a bad value
  const char* needs = nullptr;  // another option without which this one is refused
};

// The one list of options: parsing, --help, the error message and README.md follow it.
const Option options[] = {
  {"--mode", "demo|benchmark", "the show with its music, or the benchmark (default demo)",
   [](HvAutomation& o, const std::string& v) {
     if (v != "demo" && v != "benchmark") return false;
     o.mode = v == "demo" ? 2 : 1;
     return o.skipDialog = true;
   }},
  {"--res", "WxH", "resolution, 64 to 8192 each way (default 1024x768)",
   [](HvAutomation& o, const std::string& v) { return ParseResolution(v, o.width, o.height) && (o.skipDialog = true); }},
  {"--depth", "32|16", "bits per pixel of a full-screen display (default 32)",
   [](HvAutomation& o, const std::string& v) {
     if (v != "32" && v != "16") return false;
     o.depth = uint32_t(atoi(v.c_str()));
     return o.skipDialog = true;
   }},
  {"--windowed", nullptr, "a window instead of full screen",
   [](HvAutomation& o, const std::string&) { return o.windowed = o.skipDialog = true; }},
  {"--step", "S", "every frame advances show time by exactly S seconds (0 < S <= 10); random choices repeat",
   [](HvAutomation& o, const std::string& v) { return ParseSeconds(v, o.step) && o.step > 0 && o.step <= 10; }},
  {"--grab", "T1,T2,...", "save the first frame at or past each show time as ScreenShot_NNN.bmp",
   [](HvAutomation& o, const std::string& v) { return ParseTimes(v, o.grabTimes); }},
  {"--out", "DIR", "folder for those pictures (default: the start folder)",
   [](HvAutomation& o, const std::string& v) { o.outDir = v; return !v.empty(); }},
  {"--quit-at", "T", "end the show at show time T as if Escape had been pressed",
   [](HvAutomation& o, const std::string& v) { return ParseSeconds(v, o.quitAt); }},
  {"--close-while-loading", nullptr, "close the window as soon as it exists, as a user would while it loads",
   [](HvAutomation& o, const std::string&) { return o.closeWhileLoading = true; }},
  {"--lose-device-at", "T", "from show time T on the device counts as lost (the show then ends)",
   [](HvAutomation& o, const std::string& v) { return ParseSeconds(v, o.loseDeviceAt); }},
  {"--fps", nullptr, "at the end print frame rates, start-up time, peak memory and what was left behind",
   [](HvAutomation& o, const std::string&) { return o.printFps = true; }},
  {"--profile", "FILE", "write where the frame loop spends its time to FILE",
   [](HvAutomation& o, const std::string& v) { o.profilePath = v; return !v.empty(); }},
  {"--capture", "PATH", "write each frame's pixels to PATH, a pipe or FIFO (BGRA, top row first); no music",
   [](HvAutomation& o, const std::string& v) { o.capturePath = v; return !v.empty(); }, "--step"},
  {"--capture-from", "T", "the first frame written by --capture is the first at or past show time T (default 0)",
   [](HvAutomation& o, const std::string& v) { return ParseSeconds(v, o.captureFrom); }, "--capture"},
  {"--frame-log", "FILE", "write a CSV line per frame (number, show time, frame time, section) to FILE at the end",
   [](HvAutomation& o, const std::string& v) { o.frameLogPath = v; return !v.empty(); }},
  {"--no-message-boxes", nullptr, "message boxes become lines on standard error; the dialog takes its defaults",
   [](HvAutomation& o, const std::string&) { return o.noMessageBoxes = o.skipDialog = true; }},
  {"--help", nullptr, "print this list and exit",
   [](HvAutomation& o, const std::string&) { return o.help = true; }},
};

const Option* Find(const std::string& name) {
  for (const Option& option : options)
    if (name == option.name) return &option;
  return nullptr;
}

std::string Synopsis(const Option& option) {
  return option.value ? std::string(option.name) + " " + option.value : option.name;
}
}

bool HvParseAutomation(int argc, char** argv, HvAutomation& o, std::string& error) {
  error.clear();
  auto fail = [&](const std::string& why) {
    if (error.empty()) error = why;
  };
  std::vector<const Option*> given;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg.compare(0, 2, "--") != 0) continue;  // not an option: a file dropped on the program, say
    const Option* option = Find(arg);
    if (!option) {
      fail("unknown option " + arg);
      continue;
    }
    std::string value;
    if (option->value) {
      if (i + 1 >= argc || strncmp(argv[i + 1], "--", 2) == 0) {
        fail("option " + arg + " needs a value: " + Synopsis(*option));
        continue;
      }
      value = argv[++i];
    }
    if (!option->apply(o, value)) fail("bad value '" + value + "' for " + Synopsis(*option));
    given.push_back(option);
  }
  for (const Option* option : given)
    if (option->needs && std::find(given.begin(), given.end(), Find(option->needs)) == given.end())
      fail("option " + std::string(option->name) + " needs " + Synopsis(*Find(option->needs)));
  return error.empty();
}

std::string HvAutomationUsage() {
  size_t width = 0;
  for (const Option& option : options) width = std::max(width, Synopsis(option).size());
  std::string text =
      "Usage: Orvanta.exe [options]\n"
      "Without options the show starts with its configuration dialog; --mode, --res, --depth and --windowed\n"
      "choose for it and skip it. Arguments that do not start with -- are ignored.\n";
  for (const Option& option : options) {
    const std::string synopsis = Synopsis(option);
    text += "  " + synopsis + std::string(width - synopsis.size() + 2, ' ') + option.meaning + "\n";
  }
  return text;
}
