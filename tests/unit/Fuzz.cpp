#include "Fuzz.h"
#include <windows.h>
#include <psapi.h>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace {
// A case still running after this long is taken for a hang: the process ends with its number, since
// a hung loader cannot be interrupted from inside.
const double CaseLimitSeconds = 60;
const double SlowCaseSeconds = 2;  // named in the output

double Now() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return double(counter.QuadPart) / double(frequency.QuadPart);
}

double EnvNumber(const char* name, double otherwise) {
  const char* v = getenv(name);
  return v && *v ? atof(v) : otherwise;
}

size_t PeakMemory() {
  PROCESS_MEMORY_COUNTERS memory = {};
  memory.cb = sizeof memory;
  GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
  return memory.PeakWorkingSetSize;
}

// One watchdog for the process, looking at the case that runs now.
std::atomic<double> caseStart{0};
char caseName[512];
std::atomic<bool> watchdogStarted{false};

void Watch() {
  for (;;) {
    Sleep(500);
    const double start = caseStart.load();
    if (start > 0 && Now() - start > CaseLimitSeconds) {
      fprintf(stderr, "fuzz: %s still running after %.0f s\n", caseName, CaseLimitSeconds);
      fflush(stderr);
      TerminateProcess(GetCurrentProcess(), 3);
    }
  }
}
}  // namespace

FuzzRun::FuzzRun(const char* reader, double defaultSeconds) : reader(reader) {
  seconds = EnvNumber("ORVANTA_FUZZ_SECONDS", defaultSeconds);
  first = int(EnvNumber("ORVANTA_FUZZ_FIRST", 0));
  const double cases = EnvNumber("ORVANTA_FUZZ_CASES", 0);
  end = cases > 0 ? first + int(cases) : 0;
  number = first - 1;
  peakBefore = PeakMemory();
  started = Now();
  if (!watchdogStarted.exchange(true)) std::thread(Watch).detach();
}

FuzzRun::~FuzzRun() {
  caseStart = 0;
  const int cases = number - first + (number >= first && caseStarted > 0 ? 1 : 0);
  const double peakGrowth = double(PeakMemory() - peakBefore) / 1048576.0;
  printf("[ fuzz     ] %s: %d cases (from %d), %d loaded, %.1f s, slowest case %.0f ms, peak memory +%.0f MB\n",
         reader, cases, first, loaded, Now() - started, slowest * 1000, peakGrowth);
  // A count larger than the bytes after it must be refused before anything is allocated for it; a
  // few of the show's textures or models in memory at once stay well under this.
  EXPECT_LT(peakGrowth, 768.0) << reader << ": runaway allocation";
}

bool FuzzRun::Next() {
  const double now = Now();
  if (caseStarted > 0) {
    slowest = std::max(slowest, now - caseStarted);
    if (now - caseStarted > SlowCaseSeconds) printf("[ fuzz     ] slow: %s took %.1f s\n", Where().c_str(), now - caseStarted);
  }
  caseStarted = 0;
  caseStart = 0;
  if (end > 0 ? number + 1 >= end : now - started >= seconds) return false;
  ++number;
  uint32_t name = 2166136261u;  // FNV-1a of the reader's name: the same on every machine
  for (const char* c = reader; *c; ++c) name = (name ^ uint8_t(*c)) * 16777619u;
  std::seed_seq seed{name, uint32_t(number)};
  random.seed(seed);
  description.clear();
  caseStarted = now;
  snprintf(caseName, sizeof caseName, "%s case %d", reader, number);
  caseStart = now;
  return true;
}

void FuzzRun::Describe(const std::string& what) {
  description = what;
  snprintf(caseName, sizeof caseName, "%s", Where().c_str());
  if (getenv("ORVANTA_FUZZ_TRACE")) {
    fprintf(stdout, "fuzz: %s\n", caseName);
    fflush(stdout);
  }
}

std::string FuzzRun::Where() const {
  return std::string(reader) + " case " + std::to_string(number) + " (" + description + ")";
}

void FuzzFlipBytes(std::string& bytes, FuzzRun& run, unsigned count, const std::string& special) {
  if (bytes.empty()) return;
  for (; count > 0; --count) {
    char& b = bytes[run.Below(unsigned(bytes.size()))];
    b = run.Below(2) && !special.empty() ? special[run.Below(unsigned(special.size()))] : char(b ^ (1 + run.Below(255)));
  }
}

std::string FuzzReadFile(const std::string& path) {
  std::ostringstream bytes;
  bytes << std::ifstream(path, std::ios::binary).rdbuf();
  return bytes.str();
}

bool FuzzWriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  return bool(out.flush());
}
