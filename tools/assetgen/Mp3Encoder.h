// Encodes the soundtrack with Debian's `lame` (MPEG-1 Layer III, 44.1 kHz, joint stereo, CBR 160 kbit/s).
// The encoder runs as a child process, so the caller can generate the rest of the data meanwhile.
#pragma once
#include <string>
#include <sys/types.h>

#include "Synth.h"

// 16-bit PCM WAV.
bool WriteWav(const std::string& path, const Stereo& audio);

class Mp3Encoder {
 public:
  Mp3Encoder() = default;
  ~Mp3Encoder();
  Mp3Encoder(const Mp3Encoder&) = delete;
  Mp3Encoder& operator=(const Mp3Encoder&) = delete;

  // Writes the audio to a temporary WAV file and starts lame on it.
  bool Start(const Stereo& audio, const std::string& mp3Path);
  // Waits for lame; true when it exited with 0. Removes the temporary file.
  bool Finish();

 private:
  pid_t pid_ = -1;
  std::string wavPath_;
};
