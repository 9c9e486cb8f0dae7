#include "CMusic.h"
#include "Audio.h"
#include "../engine/core/HvCore.h"
#include "../engine/core/HvMessageBox.h"
#include <cstdio>

namespace {
const int FirstOutputDevice = 1;
const uint32_t OutputRate = 44100;   // Hz
const uint32_t FullVolume = 100;
bool logPlay = false;
}

void CMusic::SetPlayLogging(bool on) { logPlay = on; }

void CMusic::FreeStream() {
  AudioStreamFree(stream);
  stream = 0;
}

bool CMusic::Load(const char* name, float startOffset) {
  HvCore* core = HvCore::GetInstance();
  if (!AudioInit(FirstOutputDevice, OutputRate, core ? core->GetWindow() : nullptr)) {
    HvShowError("Can't initialize msx device");
    return false;
  }
  sampleFlags = AudioCanPlayFloat() ? uint32_t(AudioSampleFloat) : 0;

  FreeStream();
  fileName = name ? name : "";
  stream = AudioStreamCreateFile(name, sampleFlags);
  if (stream == 0) {
    HvShowError("Msx file doesn't exist");
    return false;
  }
  AudioStreamInfo info = {};
  if (!AudioStreamGetInfo(stream, info) || info.channels != 2) {
    FreeStream();
    HvShowError("Only stereo sources are supported");
    return false;
  }

  uint64_t length = AudioStreamGetLength(stream);
  double duration = AudioBytesToSeconds(stream, length);
  double bytes = duration > 0 && startOffset > 0 ? startOffset / duration * double(length) : 0.0;
  AudioStreamSetPosition(stream, uint64_t(bytes));
  AudioSetVolume(FullVolume);
  return true;
}

bool CMusic::Play() {
  double at = AudioBytesToSeconds(stream, AudioStreamGetPosition(stream));
  bool playing = AudioStreamPlay(stream);
  if (logPlay) {
    double length = AudioBytesToSeconds(stream, AudioStreamGetLength(stream));
    fprintf(stderr, "Music: playing \"%s\" from %.3f s of %.3f s, %s samples%s\n", fileName.c_str(), at, length,
            sampleFlags & AudioSampleFloat ? "float" : "16-bit", playing ? "" : " (refused by the device)");
    fflush(stderr);
  }
  return true;
}

bool CMusic::Stop() {
  FreeStream();
  AudioFree();
  return true;
}
