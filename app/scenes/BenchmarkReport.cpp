#include "BenchmarkReport.h"
#include <cstdio>

int ComputeScore(const int sectionFrames[3]) {
  float score = 0;
  for (int i = 0; i < 3; ++i) score += float(sectionFrames[i]) * kSectionWeights[i];
  return int(score * 1.0f);
}

int AverageFps(int totalFrames) { return int(float(totalFrames) / (kShowEnd - kFirstSection)); }

std::string SystemName(DWORD major, DWORD minor, DWORD platform) {
  struct Row { DWORD major, minor; int platform; const char* name; };  // platform -1: any
  static const Row rows[] = {
    {3, 0, -1, "Windows NT 3.51"}, {3, 1, -1, "Windows 3.1"},   {4, 0, VER_PLATFORM_WIN32_NT, "Windows NT 4.0"},
    {4, 0, VER_PLATFORM_WIN32_WINDOWS, "Windows 95"},           {4, 10, -1, "Windows 98"},
    {4, 90, -1, "Windows ME"},     {5, 0, -1, "Windows 2000"},  {5, 1, -1, "Windows XP"},
    {5, 2, -1, "Windows Server 2003"}, {6, 0, -1, "Windows Vista"}, {6, 1, -1, "Windows 7"},
    {6, 2, -1, "Windows 8"},       {6, 3, -1, "Windows 8.1"},   {10, 0, -1, "Windows 10"},
  };
  for (const Row& r : rows)
    if (r.major == major && r.minor == minor && (r.platform < 0 || DWORD(r.platform) == platform)) return r.name;
  char name[48];
  snprintf(name, sizeof name, "Windows %lu.%lu", (unsigned long)major, (unsigned long)minor);
  return name;
}

// "0%d" below 10, "%d" otherwise.
static std::string TwoDigits(int v) {
  char text[16];
  snprintf(text, sizeof text, v < 10 ? "0%d" : "%d", v);
  return text;
}

std::string FormatCreationLine(const SYSTEMTIME& t) {
  return "Created: " + std::to_string(t.wDay) + "/" + TwoDigits(t.wMonth) + "/" + std::to_string(t.wYear) + " " +
         TwoDigits(t.wHour) + ":" + TwoDigits(t.wMinute) + ":" + TwoDigits(t.wSecond);
}

static std::string Row(const char* label, const std::string& value) {
  return std::string("<tr><td class='l'>") + label + "</td><td class='r'>" + value + "</td></tr>";
}

std::string FormatReport(const BenchmarkFigures& f) {
  std::string r =
      "<html> <head> <title>:: Orvanta Benchmark Results ::</title> <style type=\"text/css\"> body { color: #C8C8C8; "
      "background-color: #506478; font-family: Arial,Helvetica } td.l { color: #000000; background-color: #c0c0d0 } "
      "td.r { color: #000000; background-color: #CDCDCD } td.h { font-weight: bold } </style> </head> <body> <center> "
      "<br> <h1>Orvanta Benchmark Results</h1> <br> <table border=\"3\" cellpadding=\"3\" cellspacing=\"0\" "
      "style=\"border-collapse: collapse; font-size:17px;\" width=\"70%\" bgcolor=\"#000033\" bordercolor=\"#000066\">"
      "<tr><td class='h' colspan=2><font size=\"4\">Statistics</font></tr></td>";
  r += Row("Score", std::to_string(f.score));
  r += Row("Average frames per second", std::to_string(AverageFps(f.totalFrames)) + " FPS");
  r += Row("Minimum frames per second", std::to_string(f.minFps) + " FPS");
  r += Row("Maximum frames per second", std::to_string(f.maxFps) + " FPS");
  r += Row("Total frames rendered", std::to_string(f.totalFrames));
  r += "<tr><td class='h' colspan=2><font size=\"4\">Computer information</font></tr></td>";
  if (f.hasProcessorName) r += Row("Processor", f.processorName);
  if (f.hasProcessorMhz) r += Row("Processor speed", std::to_string(f.processorMhz));
  r += Row("Operating System", f.systemName + " " + f.servicePack);
  r += Row("Graphics card", f.graphicsCard);
  r += "</table> </center> <br> <br>";
  r += FormatCreationLine(f.created);
  r += "<br> <hr> </body> </html>";
  return r;
}

void GatherComputerInformation(BenchmarkFigures& f) {
  HKEY key;
  f.hasProcessorName = f.hasProcessorMhz = false;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Hardware\\Description\\System\\CentralProcessor\\0", 0, KEY_QUERY_VALUE,
                    &key) == ERROR_SUCCESS) {
    char name[256] = {};
    DWORD size = sizeof name - 1;  // keeps a terminator even if the value has none
    if (RegQueryValueExA(key, "ProcessorNameString", nullptr, nullptr, LPBYTE(name), &size) == ERROR_SUCCESS) {
      f.hasProcessorName = true;
      f.processorName = name;
    }
    DWORD mhz = 0;
    size = sizeof mhz;
    if (RegQueryValueExA(key, "~MHz", nullptr, nullptr, LPBYTE(&mhz), &size) == ERROR_SUCCESS) {
      f.hasProcessorMhz = true;
      f.processorMhz = int(mhz);
    }
    RegCloseKey(key);
  }
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof version;
  GetVersionExA(&version);
  f.systemName = SystemName(version.dwMajorVersion, version.dwMinorVersion, version.dwPlatformId);
  f.servicePack = version.szCSDVersion;
  GetLocalTime(&f.created);
}

void WriteReport(const BenchmarkFigures& f) {
  FILE* file = fopen("Results.htm", "wt");
  if (!file) return;
  fputs(FormatReport(f).c_str(), file);
  fclose(file);
}
