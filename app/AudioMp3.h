// MP3 (MPEG-1/2/2.5 Layer III) file reading for the audio layer (app/Audio.h): a frame scan that finds
// sample rate, channels and exact length without decoding, and a decoder that turns the frames into
// 16-bit PCM through the system's ACM MP3 codec (msacm32), on demand and from any sample position.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// What a scan of the whole file found. Lengths are in sample frames (one sample per channel).
struct AudioMp3Info {
  uint32_t rate = 0;             // Hz
  uint32_t channels = 0;         // 1 or 2
  uint32_t version = 0;          // 1 MPEG-1, 2 MPEG-2, 25 MPEG-2.5
  uint32_t samplesPerFrame = 0;  // 1152 (MPEG-1) or 576
  uint32_t firstBitrate = 0;     // kbit/s of the first audio frame
  size_t firstFrame = 0;         // byte offset of the first audio frame (after tags and the info frame)
  std::vector<uint32_t> frameSizes;  // bytes of each audio frame, in file order, frames back to back
  // Encoder delay and padding from a LAME info frame: the decoder's output is trimmed by them so that
  // the stream holds exactly the samples that were encoded. Zero when the file has no such frame.
  uint32_t encoderDelay = 0;
  uint32_t encoderPadding = 0;
  uint64_t leadIn = 0;           // decoded sample frames to drop at the start
  uint64_t length = 0;           // sample frames the stream plays
};

// Scans a whole MP3 file held in memory: skips ID3v2 tags, finds the first of at least two chained
// frames, reads a Xing/Info/VBRI frame as metadata, and walks the frames to the end (a trailing ID3v1
// tag, other trailing data or a cut-off last frame ends the walk). False if no audio frame was found.
bool AudioScanMp3(const uint8_t* data, size_t size, AudioMp3Info& info);

// Decodes the scanned frames of one file to interleaved 16-bit PCM. Not thread-safe; the owner locks.
class AudioMp3Decoder {
public:
  AudioMp3Decoder() = default;
  AudioMp3Decoder(const AudioMp3Decoder&) = delete;
  AudioMp3Decoder& operator=(const AudioMp3Decoder&) = delete;
  ~AudioMp3Decoder();

  // Reads and scans the file and opens the codec. False for a missing, unreadable or non-MP3 file,
  // or when the system has no MP3 codec for its format.
  bool Open(const std::string& path);
  const AudioMp3Info& GetInfo() const { return info; }

  // Moves the read position to a sample frame (clamped to the length). The codec is restarted and
  // the frames before the target are decoded and dropped, so a later read gives exactly the samples
  // a read from the start would have given there.
  void Seek(uint64_t sampleFrame);
  uint64_t GetPosition() const { return position; }

  // Writes up to `frames` sample frames to `out`; returns how many (0 at the end of the stream).
  // Should the codec deliver fewer samples than the scan promised, the rest is silence.
  size_t Read(int16_t* out, size_t frames);

private:
  bool OpenCodec();
  void CloseCodec();
  bool DecodeMore();   // appends the PCM of the next few frames to `pcm`; false when all is decoded

  std::vector<uint8_t> file;
  AudioMp3Info info;
  void* codec = nullptr;         // HACMSTREAM
  size_t nextFrame = 0;          // index into info.frameSizes of the next frame to feed
  size_t nextByte = 0;           // file offset of that frame
  bool flushed = false;          // the codec has been told the input ended
  std::vector<uint8_t> input;    // frame bytes the codec has not consumed yet
  std::vector<int16_t> pcm;      // decoded, not yet read; interleaved
  size_t pcmRead = 0;            // samples (not frames) of `pcm` already taken
  uint64_t drop = 0;             // sample frames still to be dropped from the decoder's output
  uint64_t position = 0;         // sample frame the next Read returns
};
