#include <gtest/gtest.h>
#include "app/Audio.h"
#include "app/CMusic.h"
#include "engine/core/HvMessageBox.h"
#include <string>

namespace {

std::string TestFile(const char* name) { return std::string(ORVANTA_TEST_MUSIC) + "/" + name; }

// Message boxes become lines on standard error, which each case reads back.
class Music : public testing::Test {
protected:
  void SetUp() override {
    HvSetMessageBoxLogging(true);
    music = new CMusic;
    music->AddRef();
  }
  void TearDown() override {
    music->Stop();
    music->DropRef();
    CMusic::SetPlayLogging(false);
    HvSetMessageBoxLogging(false);
  }
  // Loads a test file and returns what it wrote to standard error.
  std::string Load(const char* name, bool expected, float offset = 0.0f) {
    testing::internal::CaptureStderr();
    bool loaded = music->Load(TestFile(name).c_str(), offset);
    std::string log = testing::internal::GetCapturedStderr();
    EXPECT_EQ(loaded, expected) << name << ": " << log;
    return log;
  }

  CMusic* music = nullptr;
};

}  // namespace

TEST_F(Music, LoadsStereoAtFullVolumeAndPlaysOnRequest) {
  AudioSetVolume(20);
  EXPECT_EQ(Load("stereo.mp3", true), "");
  uint32_t stream = music->GetStream();
  ASSERT_NE(stream, 0u);
  EXPECT_EQ(AudioGetVolume(), 100u);
  EXPECT_EQ(music->GetSampleFlags(), AudioCanPlayFloat() ? uint32_t(AudioSampleFloat) : 0u);
  AudioStreamInfo info;
  ASSERT_TRUE(AudioStreamGetInfo(stream, info));
  EXPECT_EQ(info.flags, music->GetSampleFlags());
  EXPECT_EQ(AudioStreamGetPosition(stream), 0u);
  EXPECT_FALSE(AudioStreamIsPlaying(stream)) << "not before the first frame";

  CMusic::SetPlayLogging(true);
  testing::internal::CaptureStderr();
  EXPECT_TRUE(music->Play());
  std::string log = testing::internal::GetCapturedStderr();
  EXPECT_EQ(log.rfind("Music: playing \"", 0), 0u) << log;
  EXPECT_NE(log.find("stereo.mp3\" from 0.000 s of 3.000 s"), std::string::npos) << log;
  EXPECT_TRUE(AudioStreamIsPlaying(stream));

  EXPECT_TRUE(music->Stop());
  EXPECT_FALSE(AudioStreamIsPlaying(stream));
  EXPECT_EQ(music->GetStream(), 0u);
  EXPECT_TRUE(music->Stop()) << "twice";
  EXPECT_TRUE(music->Play()) << "a refused play is not reported";
}

TEST_F(Music, StartsAtTheShowStartOffset) {
  Load("stereo.mp3", true, 1.25f);
  uint32_t stream = music->GetStream();
  EXPECT_NEAR(AudioBytesToSeconds(stream, AudioStreamGetPosition(stream)), 1.25, 1e-4);
}

TEST_F(Music, RefusesMonoMissingAndBrokenFiles) {
  const std::string box = "MessageBox: caption \"\", text \"%\", style 0x30\n";   // MB_ICONEXCLAMATION
  auto message = [&](const char* text) { return box.substr(0, box.find('%')) + text + box.substr(box.find('%') + 1); };
  EXPECT_EQ(Load("mono.mp3", false), message("Only stereo sources are supported"));
  EXPECT_EQ(music->GetStream(), 0u) << "the mono stream is freed";
  EXPECT_EQ(Load("missing.mp3", false), message("Msx file doesn't exist"));
  EXPECT_EQ(Load("broken.mp3", false), message("Msx file doesn't exist"));
  EXPECT_EQ(Load("stereo.mp3", true), "") << "a later load still works";
}

TEST_F(Music, StopWithoutLoadOrPlayIsSafe) {
  EXPECT_TRUE(music->Stop());
  Load("stereo.mp3", true);
  uint32_t stream = music->GetStream();
  EXPECT_TRUE(music->Stop());
  AudioStreamInfo info;
  EXPECT_FALSE(AudioStreamGetInfo(stream, info));
}
