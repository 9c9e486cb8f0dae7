#include <gtest/gtest.h>
#include "app/Audio.h"
#include "app/AudioMp3.h"
#include <windows.h>
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Signal of the generated files (tests/data/make_music.sh): left silent until 1.0 s, then a tone of
// peak 0.5; right a tone of peak 0.25 throughout.
const uint32_t Rate = 44100;
const uint64_t StereoFrames = 3 * Rate;
const int RightPeak = 8192;

std::string TestFile(const char* name) { return std::string(ORVANTA_TEST_MUSIC) + "/" + name; }

uint32_t Open(const char* name, uint32_t flags = 0) { return AudioStreamCreateFile(TestFile(name).c_str(), flags); }

// Pulls a whole (not playing) 16-bit stream from its current position.
std::vector<int16_t> DecodeAll(uint32_t stream) {
  std::vector<int16_t> all;
  int16_t block[4000];
  while (uint32_t bytes = AudioStreamGetData(stream, block, sizeof block)) all.insert(all.end(), block, block + bytes / 2);
  return all;
}

// First sample frame whose sample in `channel` reaches half of `peak`: where a tone starts.
size_t Onset(const std::vector<int16_t>& pcm, size_t channel, int peak) {
  for (size_t i = channel; i < pcm.size(); i += 2)
    if (std::abs(pcm[i]) >= peak / 2) return i / 2;
  return pcm.size() / 2;
}

int Peak(const std::vector<int16_t>& pcm, size_t channel, size_t from, size_t to) {
  int peak = 0;
  for (size_t i = from * 2 + channel; i < to * 2 && i < pcm.size(); i += 2) peak = std::max(peak, std::abs(int(pcm[i])));
  return peak;
}

std::vector<uint8_t> ReadFile(const char* name) {
  std::vector<uint8_t> data;
  FILE* f = fopen(TestFile(name).c_str(), "rb");
  if (!f) return data;
  for (int c; (c = fgetc(f)) != EOF;) data.push_back(uint8_t(c));
  fclose(f);
  return data;
}

// Decoding only: the "no sound" device needs no sound card.
class AudioDecode : public testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(AudioInit(0, Rate, nullptr)); }
  void TearDown() override { AudioFree(); }
};

}  // namespace

TEST(AudioScan, ReadsFormatAndExactLengthFromFrames) {
  std::vector<uint8_t> file = ReadFile("stereo.mp3");
  AudioMp3Info info;
  ASSERT_TRUE(AudioScanMp3(file.data(), file.size(), info));
  EXPECT_EQ(info.rate, Rate);
  EXPECT_EQ(info.channels, 2u);
  EXPECT_EQ(info.samplesPerFrame, 1152u);
  EXPECT_EQ(info.firstBitrate, 128u);
  EXPECT_GT(info.firstFrame, 0u) << "the info frame is metadata, not audio";
  EXPECT_NEAR(double(info.length), double(StereoFrames), 1152);

  file = ReadFile("vbr22.mp3");
  ASSERT_TRUE(AudioScanMp3(file.data(), file.size(), info));
  EXPECT_EQ(info.rate, 22050u);
  EXPECT_EQ(info.samplesPerFrame, 576u);
  EXPECT_NEAR(double(info.length), 1.5 * 22050, 576);

  file = ReadFile("mono.mp3");
  ASSERT_TRUE(AudioScanMp3(file.data(), file.size(), info));
  EXPECT_EQ(info.channels, 1u);
}

TEST(AudioScan, SkipsId3v2TagAndStopsAtTrailingData) {
  std::vector<uint8_t> plain = ReadFile("stereo.mp3"), tagged = ReadFile("tagged.mp3");
  AudioMp3Info a, b;
  ASSERT_TRUE(AudioScanMp3(plain.data(), plain.size(), a));
  ASSERT_TRUE(AudioScanMp3(tagged.data(), tagged.size(), b));
  EXPECT_GT(b.firstFrame, a.firstFrame + 3000);
  EXPECT_EQ(b.length, a.length);
  EXPECT_EQ(b.frameSizes, a.frameSizes);

  // A tag whose contents look like frames (an embedded sample, say) must not be read as audio.
  std::vector<uint8_t> payload(plain.begin() + a.firstFrame, plain.begin() + a.firstFrame + 3 * a.frameSizes[0]);
  size_t n = payload.size();
  std::vector<uint8_t> decoy = {'I', 'D', '3', 3, 0, 0, uint8_t(n >> 21 & 0x7F), uint8_t(n >> 14 & 0x7F),
                                uint8_t(n >> 7 & 0x7F), uint8_t(n & 0x7F)};
  decoy.insert(decoy.end(), payload.begin(), payload.end());
  decoy.insert(decoy.end(), plain.begin(), plain.end());
  ASSERT_TRUE(AudioScanMp3(decoy.data(), decoy.size(), b));
  EXPECT_EQ(b.firstFrame, a.firstFrame + 10 + n);
  EXPECT_EQ(b.length, a.length);

  std::vector<uint8_t> withTrailer = plain;   // an ID3v1 tag at the end is no frame
  const char trailer[128] = "TAGtitle";
  withTrailer.insert(withTrailer.end(), trailer, trailer + sizeof trailer);
  ASSERT_TRUE(AudioScanMp3(withTrailer.data(), withTrailer.size(), b));
  EXPECT_EQ(b.frameSizes.size(), a.frameSizes.size());

  std::vector<uint8_t> cut(plain.begin(), plain.begin() + plain.size() / 2 + 100);   // last frame cut off
  ASSERT_TRUE(AudioScanMp3(cut.data(), cut.size(), b));
  EXPECT_LT(b.frameSizes.size(), a.frameSizes.size());
  size_t bytes = b.firstFrame;
  for (uint32_t size : b.frameSizes) bytes += size;
  EXPECT_LE(bytes, cut.size());
}

TEST(AudioScan, RejectsDataThatIsNoMp3) {
  AudioMp3Info info;
  std::vector<uint8_t> broken = ReadFile("broken.mp3");
  ASSERT_FALSE(broken.empty());
  EXPECT_FALSE(AudioScanMp3(broken.data(), broken.size(), info));
  const uint8_t lone[] = {0xFF, 0xFB, 0x90};   // a header cut short
  EXPECT_FALSE(AudioScanMp3(lone, sizeof lone, info));
  EXPECT_FALSE(AudioScanMp3(lone, 0, info));
  // A tag that claims more bytes than the file has.
  const uint8_t tag[] = {'I', 'D', '3', 3, 0, 0, 0x7F, 0x7F, 0x7F, 0x7F, 0xFF, 0xFB, 0x90, 0x44};
  EXPECT_FALSE(AudioScanMp3(tag, sizeof tag, info));
}

TEST_F(AudioDecode, DecodesToTheScannedLengthWithTheSignalInPlace) {
  uint32_t stream = Open("stereo.mp3");
  ASSERT_NE(stream, 0u);
  AudioStreamInfo info;
  ASSERT_TRUE(AudioStreamGetInfo(stream, info));
  EXPECT_EQ(info.channels, 2u);
  EXPECT_EQ(info.rate, Rate);
  uint64_t length = AudioStreamGetLength(stream);
  EXPECT_NEAR(AudioBytesToSeconds(stream, length), 3.0, 1152.0 / Rate);

  std::vector<int16_t> pcm = DecodeAll(stream);
  EXPECT_EQ(pcm.size() * 2, length);
  EXPECT_EQ(AudioStreamGetPosition(stream), length);
  EXPECT_NEAR(double(Onset(pcm, 0, 2 * RightPeak)), double(Rate), 300) << "encoder and decoder delay trimmed";
  EXPECT_NEAR(Peak(pcm, 1, Rate / 2, Rate), RightPeak, RightPeak / 10);
  EXPECT_EQ(AudioStreamGetData(stream, pcm.data(), 4000), 0u) << "at the end";

  uint32_t tagged = Open("tagged.mp3");
  ASSERT_NE(tagged, 0u);
  EXPECT_EQ(DecodeAll(tagged), pcm);
}

TEST_F(AudioDecode, DecodesMpeg2VariableBitrate) {
  uint32_t stream = Open("vbr22.mp3");
  ASSERT_NE(stream, 0u);
  std::vector<int16_t> pcm = DecodeAll(stream);
  EXPECT_NEAR(double(pcm.size() / 2), 1.5 * 22050, 576);
  EXPECT_NEAR(double(Onset(pcm, 0, 2 * RightPeak)), 22050.0, 300);
}

TEST_F(AudioDecode, AppliesPositionVolumeAndSampleFormat) {
  uint32_t reference = Open("stereo.mp3");
  std::vector<int16_t> full = DecodeAll(reference);

  AudioSetVolume(50);
  uint32_t stream = Open("stereo.mp3");
  const uint64_t start = Rate / 2;   // 0.5 s, in bytes of 16-bit stereo below
  ASSERT_TRUE(AudioStreamSetPosition(stream, start * 4 + 3));   // rounded down to whole frames
  EXPECT_EQ(AudioStreamGetPosition(stream), start * 4);
  std::vector<int16_t> half = DecodeAll(stream);
  ASSERT_EQ(half.size(), full.size() - start * 2);
  size_t wrong = 0;
  for (size_t i = 0; i < half.size(); ++i) wrong += half[i] != full[i + start * 2] * 50 / 100;
  EXPECT_EQ(wrong, 0u);
  EXPECT_NEAR(double(Onset(half, 0, RightPeak)), double(Rate - start), 300);

  AudioSetVolume(100);
  uint32_t floats = Open("stereo.mp3", AudioSampleFloat);
  EXPECT_EQ(AudioStreamGetLength(floats), AudioStreamGetLength(reference) * 2);
  EXPECT_DOUBLE_EQ(AudioBytesToSeconds(floats, AudioStreamGetLength(floats)),
                   AudioBytesToSeconds(reference, AudioStreamGetLength(reference)));
  std::vector<float> samples(full.size());
  size_t got = 0;
  while (uint32_t bytes = AudioStreamGetData(floats, samples.data() + got, uint32_t(std::min<size_t>(8000, (samples.size() - got) * 4))))
    got += bytes / 4;
  ASSERT_EQ(got, full.size());
  for (size_t i = 0; i < full.size(); i += 97) ASSERT_NEAR(samples[i] * 32768.0f, full[i], 0.01f) << i;

  ASSERT_TRUE(AudioStreamSetPosition(reference, AudioStreamGetLength(reference) * 4));   // past the end
  EXPECT_EQ(AudioStreamGetPosition(reference), AudioStreamGetLength(reference));
}

TEST_F(AudioDecode, RefusesMissingAndBrokenFilesAndStaleHandles) {
  EXPECT_EQ(Open("missing.mp3"), 0u);
  EXPECT_EQ(Open("broken.mp3"), 0u);
  EXPECT_EQ(AudioStreamCreateFile(nullptr, 0), 0u);
  uint32_t stream = Open("mono.mp3");
  ASSERT_NE(stream, 0u);
  AudioStreamInfo info;
  ASSERT_TRUE(AudioStreamGetInfo(stream, info));
  EXPECT_EQ(info.channels, 1u);
  EXPECT_FALSE(AudioStreamPlay(stream)) << "no sound device";
  EXPECT_TRUE(AudioStreamFree(stream));
  EXPECT_FALSE(AudioStreamFree(stream));
  EXPECT_FALSE(AudioStreamGetInfo(stream, info));
  EXPECT_EQ(AudioStreamGetLength(stream), 0u);
  EXPECT_FALSE(AudioStreamFree(0));
  EXPECT_NE(Open("mono.mp3"), stream) << "handles are not reused";
  AudioFree();
  EXPECT_EQ(Open("stereo.mp3"), 0u) << "device closed";
  EXPECT_FALSE(AudioInit(99, Rate, nullptr)) << "no such device";
  EXPECT_FALSE(AudioInit(-1, Rate, nullptr));
  EXPECT_FALSE(AudioCanPlayFloat()) << "device closed";
}

// Playback on the first output device (a null ALSA device on machines without a sound card).
class AudioPlayback : public AudioDecode {
protected:
  void SetUp() override { ASSERT_TRUE(AudioInit(1, Rate, nullptr)) << "no sound device (ALSA_CONFIG_PATH?)"; }
};

TEST_F(AudioPlayback, PositionFollowsRealTimeUntilTheEnd) {
  uint32_t stream = Open("stereo.mp3", AudioCanPlayFloat() ? uint32_t(AudioSampleFloat) : 0u);
  ASSERT_NE(stream, 0u);
  uint64_t length = AudioStreamGetLength(stream);
  ASSERT_TRUE(AudioStreamSetPosition(stream, length / 2));   // 1.5 s
  ASSERT_TRUE(AudioStreamPlay(stream));
  EXPECT_TRUE(AudioStreamPlay(stream)) << "playing already";
  EXPECT_TRUE(AudioStreamIsPlaying(stream));
  EXPECT_EQ(AudioStreamGetData(stream, &length, 4), 0u) << "samples go to the device only";
  double start = AudioBytesToSeconds(stream, AudioStreamGetPosition(stream));
  EXPECT_NEAR(start, 1.5, 0.05);
  Sleep(700);
  EXPECT_NEAR(AudioBytesToSeconds(stream, AudioStreamGetPosition(stream)), 2.2, 0.25);
  for (int i = 0; i < 40 && AudioStreamIsPlaying(stream); ++i) Sleep(50);
  EXPECT_FALSE(AudioStreamIsPlaying(stream)) << "ended about 0.8 s after the last check";
  EXPECT_EQ(AudioStreamGetPosition(stream), length);
}

TEST_F(AudioPlayback, FreeingIsSafeWhilePlayingAndWithoutPlay) {
  uint32_t playing = Open("stereo.mp3"), idle = Open("stereo.mp3"), left = Open("tagged.mp3");
  ASSERT_TRUE(AudioStreamPlay(playing));
  ASSERT_TRUE(AudioStreamPlay(left));
  EXPECT_TRUE(AudioStreamFree(playing));
  EXPECT_FALSE(AudioStreamIsPlaying(playing));
  EXPECT_TRUE(AudioStreamFree(idle));
  EXPECT_TRUE(AudioStreamIsPlaying(left));
  AudioFree();   // stops the one still playing
  EXPECT_FALSE(AudioStreamIsPlaying(left));
  EXPECT_FALSE(AudioStreamFree(left));
}

namespace {
double Seconds() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return double(now.QuadPart) / double(frequency.QuadPart);
}
double ProcessCpuSeconds() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  auto seconds = [](FILETIME t) { return (double(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) * 1e-7; };
  return seconds(kernel) + seconds(user);
}
}  // namespace

// Measurements for a long file named by ORVANTA_FIGURES_MP3; run on request only
// (--gtest_also_run_disabled_tests --gtest_filter='*Figures*').
TEST(AudioFigures, DISABLED_DecodeSpeedLatencyAndLoad) {
  const char* path = getenv("ORVANTA_FIGURES_MP3");
  if (!path) GTEST_SKIP() << "ORVANTA_FIGURES_MP3 not set";
  ASSERT_TRUE(AudioInit(0, Rate, nullptr));
  double t0 = Seconds();
  uint32_t stream = AudioStreamCreateFile(path, 0);
  double opened = Seconds() - t0;
  ASSERT_NE(stream, 0u);
  double length = AudioBytesToSeconds(stream, AudioStreamGetLength(stream));
  t0 = Seconds();
  size_t samples = DecodeAll(stream).size();
  double decoding = Seconds() - t0;
  printf("open and scan %.3f s; decoded %.1f s of audio (%zu samples) in %.3f s: %.0f s of audio per s\n", opened,
         length, samples, decoding, length / decoding);
  AudioFree();

  ASSERT_TRUE(AudioInit(1, Rate, nullptr));
  for (uint32_t flags : {0u, uint32_t(AudioSampleFloat)}) {
    stream = AudioStreamCreateFile(path, flags);
    t0 = Seconds();
    ASSERT_TRUE(AudioStreamPlay(stream));
    double latency = Seconds() - t0;
    double cpu0 = ProcessCpuSeconds(), wall0 = Seconds();
    Sleep(5000);
    double load = (ProcessCpuSeconds() - cpu0) / (Seconds() - wall0);
    printf("%s: Play returned after %.1f ms with the first buffers queued; CPU while playing %.1f %% of one core\n",
           flags ? "float" : "16-bit", latency * 1000, load * 100);
    AudioStreamFree(stream);
  }
  AudioFree();
}
