// The show's soundtrack: one stereo MP3 stream on the program's sound library (app/Audio.h), loaded
// before the device exists, started on the first frame of the show and freed at shutdown. The show's
// clock is the engine timer; the music is started together with it and never re-synchronised.
#pragma once
#include "../engine/core/HvObject.h"
#include <cstdint>
#include <string>

class CMusic : public HvRefCount {
public:
  // Opens the device and the stream, refuses anything but stereo, positions the stream at
  // `startOffset` seconds and sets the volume to 100. Each failure shows its message box and
  // returns false; the stream is then freed.
  bool Load(const char* fileName, float startOffset = 0.0f);
  // Starts playback. True even if the sound library refuses (a silent show is still a show).
  bool Play();
  // Frees the stream and closes the device; safe without Load or Play, and twice.
  bool Stop();

  uint32_t GetSampleFlags() const { return sampleFlags; }
  uint32_t GetStream() const { return stream; }

  // On: Play writes one line "Music: playing ..." to standard error (for automated runs).
  static void SetPlayLogging(bool on);

private:
  void FreeStream();

  uint32_t sampleFlags = 0;   // AudioSampleFloat if floating-point output works, else 0
  uint32_t stream = 0;        // sound library handle of the stream, 0 when none
  std::string fileName;       // for the play log line
};
