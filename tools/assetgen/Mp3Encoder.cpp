#include "Mp3Encoder.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

extern char** environ;

bool WriteWav(const std::string& path, const Stereo& audio) {
  const uint32_t frames = uint32_t(audio.Frames()), bytes = frames * 4;
  std::vector<uint8_t> out;
  out.reserve(44 + bytes);
  auto u16 = [&](uint32_t v) { out.push_back(uint8_t(v)); out.push_back(uint8_t(v >> 8)); };
  auto u32 = [&](uint32_t v) { u16(v); u16(v >> 16); };
  auto tag = [&](const char* s) { out.insert(out.end(), s, s + 4); };
  tag("RIFF");
  u32(36 + bytes);
  tag("WAVE");
  tag("fmt ");
  u32(16);
  u16(1);  // PCM
  u16(2);
  u32(kSampleRate);
  u32(kSampleRate * 4);
  u16(4);
  u16(16);
  tag("data");
  u32(bytes);
  auto sample = [](float v) { return uint32_t(uint16_t(int16_t(std::lround(std::fmax(-1.0f, std::fmin(1.0f, v)) * 32767)))); };
  for (uint32_t i = 0; i < frames; ++i) {
    u16(sample(audio.l[i]));
    u16(sample(audio.r[i]));
  }
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool written = std::fwrite(out.data(), 1, out.size(), f) == out.size();
  return std::fclose(f) == 0 && written;
}

Mp3Encoder::~Mp3Encoder() { Finish(); }

bool Mp3Encoder::Start(const Stereo& audio, const std::string& mp3Path) {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/orvanta-soundtrack-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back(0);
  int fd = mkstemp(name.data());
  if (fd < 0) return false;
  close(fd);
  wavPath_ = name.data();
  if (!WriteWav(wavPath_, audio)) return false;
  // -q 5: good quality at a fraction of the time of -q 2; no ReplayGain scan (saves a pass).
  std::vector<std::string> args = {"lame", "--quiet", "-q", "5", "-b", "160", "--cbr", "-m", "j",
                                   "--noreplaygain", wavPath_, mp3Path};
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  if (posix_spawnp(&pid_, "lame", nullptr, nullptr, argv.data(), environ) != 0) {
    pid_ = -1;
    return false;
  }
  return true;
}

bool Mp3Encoder::Finish() {
  bool ok = false;
  if (pid_ > 0) {
    int status = 0;
    ok = waitpid(pid_, &status, 0) == pid_ && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    pid_ = -1;
  }
  if (!wavPath_.empty()) {
    std::remove(wavPath_.c_str());
    wavPath_.clear();
  }
  return ok;
}
