#include "AudioMp3.h"
#include <windows.h>
#include <mmreg.h>
#include <msacm.h>
#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

// Every Layer III decoder's synthesis filter bank delays its output by this many samples; a LAME
// info frame's delay counts only the encoder's part.
const uint32_t DecoderDelay = 529;
const size_t FramesPerConvert = 8;   // frames handed to the codec per call

struct FrameHeader {
  uint32_t version, rate, bitrate, channels, samples, size;
  bool crc;
};

bool ParseHeader(const uint8_t* p, FrameHeader& h) {
  static const uint16_t bitratesV1[16] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0};
  static const uint16_t bitratesV2[16] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0};
  static const uint32_t ratesV1[3] = {44100, 48000, 32000};
  if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0) return false;
  uint32_t version = (p[1] >> 3) & 3, layer = (p[1] >> 1) & 3;
  uint32_t bitrateIndex = p[2] >> 4, rateIndex = (p[2] >> 2) & 3, padding = (p[2] >> 1) & 1;
  if (version == 1 || layer != 1 || bitrateIndex == 0 || bitrateIndex == 15 || rateIndex == 3) return false;
  bool mpeg1 = version == 3;
  h.version = mpeg1 ? 1 : version == 2 ? 2 : 25;
  h.rate = ratesV1[rateIndex] >> (mpeg1 ? 0 : version == 2 ? 1 : 2);
  h.bitrate = (mpeg1 ? bitratesV1 : bitratesV2)[bitrateIndex];
  h.channels = (p[3] >> 6) == 3 ? 1 : 2;
  h.samples = mpeg1 ? 1152 : 576;
  h.size = (mpeg1 ? 144000 : 72000) * h.bitrate / h.rate + padding;
  h.crc = (p[1] & 1) == 0;
  return true;
}

bool SameStream(const FrameHeader& a, const FrameHeader& b) {
  return a.version == b.version && a.rate == b.rate && a.channels == b.channels;
}

uint32_t BigEndian32(const uint8_t* p) { return uint32_t(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3]; }

// Total bytes of the ID3v2 tags at `pos` (several may follow each other), 0 if none.
size_t SkipId3v2(const uint8_t* data, size_t size, size_t pos) {
  size_t start = pos;
  while (size - pos >= 10 && memcmp(data + pos, "ID3", 3) == 0) {
    const uint8_t* s = data + pos + 6;   // size: four 7-bit bytes, footer not included
    if ((s[0] | s[1] | s[2] | s[3]) & 0x80) break;
    size_t tag = size_t(s[0]) << 21 | s[1] << 14 | s[2] << 7 | s[3];
    size_t footer = (data[pos + 5] & 0x10) ? 10 : 0;
    if (tag + footer > size - pos - 10) return size - start;
    pos += 10 + tag + footer;
  }
  return pos - start;
}

// A frame at `pos` that is followed by another frame of the same stream, or ends the file exactly.
bool IsFrameChain(const uint8_t* data, size_t size, size_t pos, FrameHeader& h) {
  if (size - pos < 4 || !ParseHeader(data + pos, h) || h.size > size - pos) return false;
  size_t next = pos + h.size;
  if (next == size) return true;
  FrameHeader n;
  return size - next >= 4 && ParseHeader(data + next, n) && SameStream(h, n);
}

// An info frame (Xing, Info or VBRI) carries no audio. Reads the LAME extension's delay and padding.
bool ReadInfoFrame(const uint8_t* frame, const FrameHeader& h, AudioMp3Info& info) {
  size_t sideInfo = h.version == 1 ? (h.channels == 1 ? 17 : 32) : (h.channels == 1 ? 9 : 17);
  size_t at = 4 + (h.crc ? 2 : 0) + sideInfo;
  if (h.size >= 4 + 32 + 4 && memcmp(frame + 4 + 32, "VBRI", 4) == 0) return true;
  if (h.size < at + 8 || (memcmp(frame + at, "Xing", 4) != 0 && memcmp(frame + at, "Info", 4) != 0))
    return false;
  uint32_t flags = BigEndian32(frame + at + 4);
  size_t lame = at + 8 + (flags & 1 ? 4 : 0) + (flags & 2 ? 4 : 0) + (flags & 4 ? 100 : 0) + (flags & 8 ? 4 : 0);
  if (lame + 24 <= h.size && (memcmp(frame + lame, "LAME", 4) == 0 || memcmp(frame + lame, "Lav", 3) == 0)) {
    const uint8_t* d = frame + lame + 21;   // 12 bits delay, 12 bits padding
    info.encoderDelay = uint32_t(d[0]) << 4 | d[1] >> 4;
    info.encoderPadding = uint32_t(d[1] & 0x0F) << 8 | d[2];
  }
  return true;
}

}  // namespace

bool AudioScanMp3(const uint8_t* data, size_t size, AudioMp3Info& info) {
  info = AudioMp3Info();
  size_t pos = SkipId3v2(data, size, 0);
  FrameHeader first;
  while (pos < size && !IsFrameChain(data, size, pos, first)) ++pos;
  if (pos >= size) return false;

  if (ReadInfoFrame(data + pos, first, info)) {
    pos += first.size;
    if (!IsFrameChain(data, size, pos, first)) return false;
  }
  info.rate = first.rate;
  info.channels = first.channels;
  info.version = first.version;
  info.samplesPerFrame = first.samples;
  info.firstBitrate = first.bitrate;
  info.firstFrame = pos;

  FrameHeader h;
  while (size - pos >= 4 && ParseHeader(data + pos, h) && SameStream(h, first) && h.size <= size - pos) {
    info.frameSizes.push_back(h.size);
    pos += h.size;
  }
  uint64_t decoded = uint64_t(info.frameSizes.size()) * info.samplesPerFrame;
  uint64_t trimmed = uint64_t(info.encoderDelay) + info.encoderPadding;
  if (trimmed > 0 && trimmed < decoded) {
    info.leadIn = info.encoderDelay + DecoderDelay;
    info.length = decoded - trimmed;
  } else {
    info.encoderDelay = info.encoderPadding = 0;
    info.length = decoded;
  }
  return true;
}

AudioMp3Decoder::~AudioMp3Decoder() { CloseCodec(); }

bool AudioMp3Decoder::Open(const std::string& path) {
  CloseCodec();
  file.clear();
  FILE* f = fopen(path.c_str(), "rb");
  if (!f) return false;
  uint8_t block[65536];
  for (size_t n; (n = fread(block, 1, sizeof block, f)) > 0;) file.insert(file.end(), block, block + n);
  fclose(f);
  if (!AudioScanMp3(file.data(), file.size(), info) || !OpenCodec()) return false;
  Seek(0);
  return true;
}

bool AudioMp3Decoder::OpenCodec() {
  CloseCodec();
  MPEGLAYER3WAVEFORMAT mp3 = {};
  mp3.wfx.wFormatTag = WAVE_FORMAT_MPEGLAYER3;
  mp3.wfx.nChannels = WORD(info.channels);
  mp3.wfx.nSamplesPerSec = info.rate;
  mp3.wfx.nAvgBytesPerSec = info.firstBitrate * 1000 / 8;
  mp3.wfx.nBlockAlign = 1;
  mp3.wfx.cbSize = MPEGLAYER3_WFX_EXTRA_BYTES;
  mp3.wID = MPEGLAYER3_ID_MPEG;
  mp3.fdwFlags = MPEGLAYER3_FLAG_PADDING_OFF;
  mp3.nBlockSize = WORD(info.samplesPerFrame / 8 * info.firstBitrate * 1000 / info.rate);
  mp3.nFramesPerBlock = 1;
  WAVEFORMATEX pcmFormat = {};
  pcmFormat.wFormatTag = WAVE_FORMAT_PCM;
  pcmFormat.nChannels = WORD(info.channels);
  pcmFormat.nSamplesPerSec = info.rate;
  pcmFormat.wBitsPerSample = 16;
  pcmFormat.nBlockAlign = WORD(2 * info.channels);
  pcmFormat.nAvgBytesPerSec = info.rate * pcmFormat.nBlockAlign;
  HACMSTREAM stream = nullptr;
  if (acmStreamOpen(&stream, nullptr, &mp3.wfx, &pcmFormat, nullptr, 0, 0, ACM_STREAMOPENF_NONREALTIME) != 0)
    return false;
  codec = stream;
  return true;
}

void AudioMp3Decoder::CloseCodec() {
  if (codec) acmStreamClose(HACMSTREAM(codec), 0);
  codec = nullptr;
}

void AudioMp3Decoder::Seek(uint64_t sampleFrame) {
  if (!codec) return;
  OpenCodec();
  nextFrame = 0;
  nextByte = info.firstFrame;
  input.clear();
  pcm.clear();
  pcmRead = 0;
  position = std::min(sampleFrame, info.length);
  drop = info.leadIn + position;
}

bool AudioMp3Decoder::DecodeMore() {
  size_t count = info.frameSizes.size();
  size_t end = std::min(count, nextFrame + FramesPerConvert);
  for (; nextFrame < end; ++nextFrame) {
    input.insert(input.end(), file.begin() + nextByte, file.begin() + nextByte + info.frameSizes[nextFrame]);
    nextByte += info.frameSizes[nextFrame];
  }
  if (input.empty() || !codec) return false;
  bool last = nextFrame == count;

  DWORD outBytes = 0;
  acmStreamSize(HACMSTREAM(codec), DWORD(input.size()), &outBytes, ACM_STREAMSIZEF_SOURCE);
  outBytes = std::max<DWORD>(outBytes, DWORD((FramesPerConvert + 2) * info.samplesPerFrame * info.channels * 2));
  std::vector<uint8_t> out(outBytes);
  ACMSTREAMHEADER header = {};
  header.cbStruct = sizeof header;
  header.pbSrc = input.data();
  header.cbSrcLength = DWORD(input.size());
  header.pbDst = out.data();
  header.cbDstLength = outBytes;
  HACMSTREAM stream = HACMSTREAM(codec);
  if (acmStreamPrepareHeader(stream, &header, 0) != 0) return false;
  MMRESULT result = acmStreamConvert(stream, &header, last ? ACM_STREAMCONVERTF_END : ACM_STREAMCONVERTF_BLOCKALIGN);
  acmStreamUnprepareHeader(stream, &header, 0);
  if (result != 0) {
    input.clear();
    return false;
  }
  size_t used = std::min<size_t>(header.cbSrcLengthUsed, input.size());
  input.erase(input.begin(), input.begin() + used);
  const int16_t* samples = reinterpret_cast<const int16_t*>(out.data());
  pcm.insert(pcm.end(), samples, samples + header.cbDstLengthUsed / 2);
  if (last && header.cbDstLengthUsed == 0 && used == 0) input.clear();   // the codec is done
  return header.cbDstLengthUsed > 0 || used > 0 || !last;
}

size_t AudioMp3Decoder::Read(int16_t* out, size_t frames) {
  const size_t channels = info.channels;
  size_t done = 0;
  while (done < frames && position < info.length) {
    size_t available = (pcm.size() - pcmRead) / channels;
    if (available == 0) {
      pcm.erase(pcm.begin(), pcm.begin() + pcmRead);
      pcmRead = 0;
      if (DecodeMore()) continue;
      size_t n = size_t(std::min<uint64_t>(frames - done, info.length - position));   // codec ran dry
      std::fill(out + done * channels, out + (done + n) * channels, int16_t(0));
      done += n;
      position += n;
      continue;
    }
    if (drop > 0) {
      size_t n = size_t(std::min<uint64_t>(drop, available));
      pcmRead += n * channels;
      drop -= n;
      continue;
    }
    size_t n = size_t(std::min<uint64_t>(std::min(available, frames - done), info.length - position));
    std::copy(pcm.begin() + pcmRead, pcm.begin() + pcmRead + n * channels, out + done * channels);
    pcmRead += n * channels;
    done += n;
    position += n;
  }
  return done;
}
