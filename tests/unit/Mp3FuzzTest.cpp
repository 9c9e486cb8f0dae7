// Damaged and hostile soundtracks through the real music path: CMusic::Load (the MP3 scan: ID3
// skipping, frame headers, the info frame) and then the whole stream decoded through the system's
// codec, as playback would pull it. Seeds: the opening of the show's soundtrack (its info frame and
// the first seconds), and the test files with an ID3 tag and with MPEG-2 VBR frames.
#include "Fuzz.h"
#include "RealDevice.h"
#include "app/Audio.h"
#include "app/AudioMp3.h"
#include "app/CMusic.h"
#include <gtest/gtest.h>
#include <windows.h>
#include <algorithm>
#include <cstring>

namespace {
struct Mp3Seed {
  std::string name, bytes;
  std::vector<size_t> frames;  // where each frame (the info frame included) starts
};

Mp3Seed MakeSeed(const std::string& name, const std::string& bytes) {
  Mp3Seed seed{name, bytes, {}};
  AudioMp3Info info;
  const uint8_t* data = reinterpret_cast<const uint8_t*>(bytes.data());
  if (!AudioScanMp3(data, bytes.size(), info)) return seed;
  // The info frame, when there is one, lies just before the first audio frame.
  const std::string before = bytes.substr(0, info.firstFrame);
  const size_t tag = std::min({before.find("Info"), before.find("Xing"), before.find("VBRI")});
  if (tag != std::string::npos) seed.frames.push_back(before.rfind("\xFF", tag));
  size_t at = info.firstFrame;
  for (uint32_t size : info.frameSizes) {
    seed.frames.push_back(at);
    at += size;
  }
  return seed;
}

std::string Id3Tag(uint32_t size, bool footer, const std::string& body) {
  std::string tag = "ID3\x04";
  tag += '\0';
  tag += char(footer ? 0x10 : 0);
  for (int shift = 21; shift >= 0; shift -= 7) tag += char((size >> shift) & 0x7F);
  return tag + body;
}

std::string Mutate(const Mp3Seed& seed, std::string& bytes, FuzzRun& run) {
  // Frame positions are the seed's: they hold only while nothing before them has moved.
  const size_t frames = bytes.size() == seed.bytes.size() ? seed.frames.size() : 0;
  const size_t frame = frames ? seed.frames[run.Below(unsigned(frames))] : 0;
  switch (run.Below(9)) {
    case 0: {
      const unsigned flips = 1 + run.Below(6);
      FuzzFlipBytes(bytes, run, flips, std::string("\xFF\xFB\xE0\x00\x49", 5));
      return std::to_string(flips) + " bytes flipped";
    }
    case 1: {
      const size_t at = run.Below(2) && frames ? frame + run.Below(5) : run.Below(unsigned(bytes.size()));
      bytes.resize(std::min(bytes.size(), at));
      return "cut at byte " + std::to_string(at);
    }
    case 2: {  // an ID3v2 tag in front whose size runs past the end, or ends just short of it
      const uint32_t sizes[] = {0x0FFFFFFFu, uint32_t(bytes.size()), uint32_t(bytes.size() - 10), uint32_t(bytes.size() - 11),
                                uint32_t(bytes.size() - 20), 0, 0x7F7F7F7Fu};
      const uint32_t size = sizes[run.Below(7)];
      const bool footer = run.Below(2);
      bytes = Id3Tag(size, footer, "TIT2") + bytes;
      if (run.Below(3) == 0) bytes[7] = char(0x80);  // not a synchsafe size
      return "ID3 tag of " + std::to_string(size) + (footer ? " with footer" : "");
    }
    case 3: {  // a frame header broken: bitrate, sample rate, version, layer, channel mode, padding
      if (!frames) break;
      const uint8_t masks[] = {0xF0, 0x0C, 0x18, 0x06, 0xC0, 0x02, 0x01};
      const unsigned field = run.Below(7);
      const size_t byte = field < 2 ? 2 : field < 4 ? 1 : field == 4 ? 3 : field == 5 ? 2 : 1;
      uint8_t& b = reinterpret_cast<uint8_t&>(bytes[frame + byte]);
      b = uint8_t((b & ~masks[field]) | (uint8_t(run.Random()()) & masks[field]));
      return "frame header at byte " + std::to_string(frame) + " field " + std::to_string(field);
    }
    case 4: {  // a false info frame: an audio frame marked Xing / Info / VBRI, with absurd LAME figures
      if (frames < 2) break;
      const size_t at = seed.frames[run.Below(2)];
      const bool mono = (uint8_t(bytes[at + 3]) >> 6) == 3;
      const size_t tagAt = at + 4 + ((uint8_t(bytes[at + 1]) & 1) ? 0 : 2) + ((uint8_t(bytes[at + 1]) & 0x18) == 0x18 ? (mono ? 17 : 32) : (mono ? 9 : 17));
      const char* const names[] = {"Xing", "Info", "VBRI"};
      const unsigned kind = run.Below(3);
      std::string info = kind == 2 ? "VBRI" : std::string(names[kind]) + std::string("\0\0\0\x0F", 4);
      const size_t infoAt = kind == 2 ? at + 36 : tagAt;
      info += std::string(run.Below(2) ? 112 : 0, '\x55') + "LAME3.100" + std::string(12, '\xFF');
      bytes.replace(infoAt, std::min(info.size(), bytes.size() - infoAt), info.substr(0, bytes.size() - infoAt));
      return std::string("false ") + names[kind] + " frame at byte " + std::to_string(at);
    }
    case 5: {  // garbage between frames, with false sync words in it
      if (!frames) break;
      std::string garbage(1 + run.Below(run.Below(2) ? 8 : 3000), '\0');
      for (char& c : garbage) c = char(run.Below(3) == 0 ? 0xFF : run.Random()());
      bytes.insert(frame, garbage);
      return std::to_string(garbage.size()) + " bytes of garbage at byte " + std::to_string(frame);
    }
    case 6: {  // nothing but headers: every frame cut to its first bytes
      if (!frames) break;
      std::string headers = bytes.substr(0, seed.frames[0]);
      const size_t keep = 4 + run.Below(3) * 2;
      for (size_t f : seed.frames) headers += bytes.substr(f, keep);
      bytes = headers;
      return "frames cut to " + std::to_string(keep) + " bytes";
    }
    case 7: {  // only a tag, or a tag and a header
      bytes = Id3Tag(uint32_t(run.Below(64)), false, std::string(run.Below(64), '\0'));
      if (run.Below(2) && frames) bytes += seed.bytes.substr(seed.frames[0], 4);
      return "a tag only";
    }
    case 8: {  // a frame dropped or repeated, or frames of another stream spliced in
      if (frames < 3) break;
      const size_t i = run.Below(unsigned(frames - 1));
      const size_t from = seed.frames[i], to = seed.frames[i + 1];
      if (run.Below(2)) bytes.erase(from, to - from);
      else bytes.insert(to, bytes.substr(from, to - from));
      return "frame at byte " + std::to_string(from) + " dropped or repeated";
    }
  }
  FuzzFlipBytes(bytes, run, 1, "");
  return "1 byte flipped";
}

// Loads `bytes` as the soundtrack: it loads without a message and then decodes to its full length,
// or fails with exactly one message.
void Check(CMusic& music, const std::string& bytes, FuzzRun* run, const std::string& label) {
  const std::string file = TestFolder() + "fuzz.mp3";
  ASSERT_TRUE(FuzzWriteFile(file, bytes));
  int messages = 0;
  bool loaded = false;
  const std::string log = FuzzCapture([&] { loaded = music.Load(file.c_str()); }, messages);
  if (!loaded) {
    ASSERT_EQ(messages, 1) << label << ": " << log;
    ASSERT_TRUE(log.find("Msx file doesn't exist") != std::string::npos ||
                log.find("Only stereo sources are supported") != std::string::npos)
        << label << ": " << log;
    music.Stop();
    return;
  }
  ASSERT_EQ(messages, 0) << label << ": " << log;
  const uint32_t stream = music.GetStream();
  const uint64_t length = AudioStreamGetLength(stream);
  uint64_t total = 0;
  static char block[65536];
  while (uint32_t got = AudioStreamGetData(stream, block, sizeof block)) {
    total += got;
    ASSERT_LE(total, length) << label;
  }
  ASSERT_EQ(total, length) << label;
  if (run) run->Loaded();
  music.Stop();
}
}  // namespace

TEST(Mp3FuzzTest, DamagedSoundtracksLoadOrFailWithOneMessage) {
  HvSetMessageBoxLogging(true);
  HvRef<CMusic> music(new CMusic);
  const std::string soundtrack = FuzzReadFile(std::string(ORVANTA_TEST_DATA) + "\\Msx\\Orvanta by Brenholt.mp3");
  ASSERT_GT(soundtrack.size(), 65536u);
  const std::vector<Mp3Seed> seeds = {
      MakeSeed("the soundtrack's opening", soundtrack.substr(0, 49152)),
      MakeSeed("tagged.mp3", FuzzReadFile(std::string(ORVANTA_TEST_MUSIC) + "/tagged.mp3")),
      MakeSeed("vbr22.mp3", FuzzReadFile(std::string(ORVANTA_TEST_MUSIC) + "/vbr22.mp3")),
  };
  for (const Mp3Seed& seed : seeds) {
    ASSERT_GT(seed.frames.size(), 20u) << seed.name;
    Check(*music, seed.bytes, nullptr, seed.name);
  }
  EXPECT_EQ(seeds[0].bytes.compare(seeds[0].frames[0] + 36, 4, "Info"), 0) << "the soundtrack starts with an info frame";

  FuzzRun run("soundtrack", 20);
  while (run.Next()) {
    const Mp3Seed& seed = seeds[run.Below(unsigned(seeds.size()))];
    std::string bytes = seed.bytes;
    std::string what = Mutate(seed, bytes, run);
    if (run.Below(4) == 0) what += ", " + Mutate(seed, bytes, run);
    run.Describe(seed.name + ": " + what);
    Check(*music, bytes, &run, run.Where());
    if (HasFatalFailure()) return;
  }
}
