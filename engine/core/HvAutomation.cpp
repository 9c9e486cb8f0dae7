#include "HvAutomation.h"
#include <algorithm>
#include <cstdlib>
#include <cstring>

// A number in [0, 1e6] s with nothing after it.
static bool ParseSeconds(const std::string& text, double& value) {
  char* end = nullptr;
  value = strtod(text.c_str(), &end);
  return !text.empty() && *end == 0 && value >= 0 && value <= 1e6;
}

static bool ParseResolution(const std::string& text, uint32_t& w, uint32_t& h) {
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

bool HvParseAutomation(int argc, char** argv, HvAutomation& o, std::string& error) {
  for (int i = 1; i < argc; ++i) {
    const std::string opt = argv[i];
    auto value = [&](std::string& v) {
      if (i + 1 >= argc) { error = "option " + opt + " needs a value"; return false; }
      v = argv[++i];
      return true;
    };
    auto bad = [&](const std::string& v, const char* expected) {
      error = "bad value '" + v + "' for " + opt + " (expected " + expected + ")";
      return false;
    };
    std::string v;
    if (opt == "--windowed") {
      o.windowed = o.skipDialog = true;
    } else if (opt == "--no-message-boxes") {
      o.noMessageBoxes = o.skipDialog = true;  // nobody there to answer: the dialog takes its defaults
    } else if (opt == "--fps") {
      o.printFps = true;
    } else if (opt == "--mode") {
      if (!value(v)) return false;
      if (v == "demo") o.mode = 2;
      else if (v == "benchmark") o.mode = 1;
      else return bad(v, "demo or benchmark");
      o.skipDialog = true;
    } else if (opt == "--res") {
      if (!value(v)) return false;
      if (!ParseResolution(v, o.width, o.height)) return bad(v, "WIDTHxHEIGHT, e.g. 1024x768");
      o.skipDialog = true;
    } else if (opt == "--depth") {
      if (!value(v)) return false;
      if (v != "32" && v != "16") return bad(v, "32 or 16");
      o.depth = uint32_t(atoi(v.c_str()));
      o.skipDialog = true;
    } else if (opt == "--step") {
      if (!value(v)) return false;
      if (!ParseSeconds(v, o.step) || o.step <= 0 || o.step > 10) return bad(v, "seconds per frame, above 0 and at most 10");
    } else if (opt == "--grab") {
      if (!value(v)) return false;
      o.grabTimes.clear();
      for (size_t start = 0; start <= v.size();) {
        size_t comma = std::min(v.find(',', start), v.size());
        double t;
        if (!ParseSeconds(v.substr(start, comma - start), t)) return bad(v, "show times in seconds separated by commas");
        o.grabTimes.push_back(t);
        start = comma + 1;
      }
      std::sort(o.grabTimes.begin(), o.grabTimes.end());
    } else if (opt == "--out") {
      if (!value(v)) return false;
      if (v.empty()) return bad(v, "a folder");
      o.outDir = v;
    } else if (opt == "--profile") {
      if (!value(v)) return false;
      if (v.empty()) return bad(v, "a file name");
      o.profilePath = v;
    } else if (opt == "--quit-at") {
      if (!value(v)) return false;
      if (!ParseSeconds(v, o.quitAt)) return bad(v, "a show time in seconds");
    } else if (opt == "--close-while-loading") {
      o.closeWhileLoading = true;
    } else if (opt == "--lose-device-at") {
      if (!value(v)) return false;
      if (!ParseSeconds(v, o.loseDeviceAt)) return bad(v, "a show time in seconds");
    } else {
      error = "unknown option '" + opt + "'";
      return false;
    }
  }
  return true;
}
