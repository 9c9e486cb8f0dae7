#include "Audio.h"
#include "AudioMp3.h"
#include <mmreg.h>
#include <algorithm>
#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace {

// Four buffers of 100 ms each: 0.4 s queued ahead, enough to ride out a busy frame or a slow
// scheduler on a loaded machine; nothing in the program needs a shorter output latency.
const int BufferCount = 4;
const uint32_t BufferMilliseconds = 100;

void StopOutput(struct Stream& s);

struct Stream {
  ~Stream() { StopOutput(*this); }   // a stream still playing at exit must not leave its thread running

  uint32_t flags = 0;
  AudioMp3Decoder decoder;
  std::mutex lock;                  // the decoder, shared by the caller and the feeder thread
  std::vector<int16_t> scratch;     // decoder output before volume and format conversion

  // Output, present from Play until the stream is freed or played again after its end.
  HWAVEOUT out = nullptr;
  HANDLE wake = nullptr;            // set by waveOut when a buffer is done, and to stop the feeder
  std::thread feeder;
  std::atomic<bool> stopping{false};
  std::atomic<bool> ended{false};   // the last buffer has been played
  uint64_t playStart = 0;           // sample frame at which playback began
  uint64_t written = 0;             // sample frames handed to the device since then
  LARGE_INTEGER startCount = {};    // performance counter when playback began
  WAVEHDR headers[BufferCount] = {};
  bool queued[BufferCount] = {};
  std::vector<uint8_t> buffers[BufferCount];

  uint32_t Channels() const { return decoder.GetInfo().channels; }
  uint32_t BytesPerFrame() const { return Channels() * (flags & AudioSampleFloat ? 4 : 2); }
};

// Sample frames the system clock says have been played since playback began.
uint64_t ClockFrames(const Stream& s) {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return uint64_t(now.QuadPart - s.startCount.QuadPart) * s.decoder.GetInfo().rate / uint64_t(frequency.QuadPart);
}

struct Device {
  bool open = false;
  int number = 0;                   // 1 = first waveOut device; 0 = no sound
  uint32_t rate = 44100;
  std::atomic<uint32_t> volume{100};
  uint32_t nextHandle = 1;
  std::map<uint32_t, std::unique_ptr<Stream>> streams;
} device;

Stream* Find(uint32_t handle) {
  auto it = device.streams.find(handle);
  return it == device.streams.end() ? nullptr : it->second.get();
}

WAVEFORMATEX Format(uint32_t rate, uint32_t channels, bool floatSamples) {
  WAVEFORMATEX f = {};
  f.wFormatTag = floatSamples ? WAVE_FORMAT_IEEE_FLOAT : WAVE_FORMAT_PCM;
  f.nChannels = WORD(channels);
  f.nSamplesPerSec = rate;
  f.wBitsPerSample = floatSamples ? 32 : 16;
  f.nBlockAlign = WORD(channels * f.wBitsPerSample / 8);
  f.nAvgBytesPerSec = rate * f.nBlockAlign;
  return f;
}

// Decodes up to `frames` sample frames into `out` in the stream's format with the volume applied.
// The caller holds the stream's lock.
size_t Render(Stream& s, void* out, size_t frames) {
  size_t count = frames * s.Channels();
  s.scratch.resize(count);
  size_t done = s.decoder.Read(s.scratch.data(), frames);
  count = done * s.Channels();
  uint32_t volume = device.volume;
  if (s.flags & AudioSampleFloat) {
    float* f = static_cast<float*>(out);
    float gain = float(volume) / (100.0f * 32768.0f);
    for (size_t i = 0; i < count; ++i) f[i] = float(s.scratch[i]) * gain;
  } else {
    int16_t* d = static_cast<int16_t*>(out);
    for (size_t i = 0; i < count; ++i) d[i] = int16_t(int32_t(s.scratch[i]) * int32_t(volume) / 100);
  }
  return done;
}

// Fills buffer `i` and hands it to the device; false when the stream has nothing more.
bool Queue(Stream& s, int i) {
  size_t frames;
  {
    std::lock_guard<std::mutex> guard(s.lock);
    frames = Render(s, s.buffers[i].data(), s.buffers[i].size() / s.BytesPerFrame());
  }
  if (frames == 0) return false;
  s.headers[i].dwBufferLength = DWORD(frames * s.BytesPerFrame());
  if (waveOutWrite(s.out, &s.headers[i], sizeof(WAVEHDR)) != MMSYSERR_NOERROR) return false;
  s.queued[i] = true;
  s.written += frames;
  return true;
}

// The feeder thread: refills each buffer the device has finished until the stream runs out. Some
// outputs (a null sink, some virtual devices) take samples as fast as they come; so the feeder never
// runs more than the queue's length ahead of the system clock, and the stream ends when the clock
// reaches its last sample. On a real device the device paces everything and the clock never binds.
void Feed(Stream* s) {
  const uint64_t lookahead = uint64_t(s->decoder.GetInfo().rate) * BufferMilliseconds / 1000 * BufferCount;
  bool sourceDone = false;
  while (!s->stopping) {
    bool anyQueued = false;
    for (int i = 0; i < BufferCount; ++i) {
      if (s->queued[i] && (s->headers[i].dwFlags & WHDR_DONE)) s->queued[i] = false;
      bool due = s->written < ClockFrames(*s) + lookahead;
      if (!s->queued[i] && !sourceDone && due && !Queue(*s, i)) sourceDone = true;
      anyQueued |= s->queued[i];
    }
    if (sourceDone && !anyQueued && ClockFrames(*s) >= s->written) {
      s->ended = true;
      return;
    }
    WaitForSingleObject(s->wake, BufferMilliseconds / 2);
  }
}

void StopOutput(Stream& s) {
  if (!s.out) return;
  s.stopping = true;
  SetEvent(s.wake);
  if (s.feeder.joinable()) s.feeder.join();
  waveOutReset(s.out);
  for (int i = 0; i < BufferCount; ++i) waveOutUnprepareHeader(s.out, &s.headers[i], sizeof(WAVEHDR));
  waveOutClose(s.out);
  CloseHandle(s.wake);
  s.out = nullptr;
  s.wake = nullptr;
  s.stopping = false;
  s.ended = false;
}

bool StartOutput(Stream& s) {
  const AudioMp3Info& info = s.decoder.GetInfo();
  WAVEFORMATEX format = Format(info.rate, info.channels, (s.flags & AudioSampleFloat) != 0);
  s.wake = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  if (!s.wake) return false;
  UINT id = UINT(device.number - 1);
  if (waveOutOpen(&s.out, id, &format, DWORD_PTR(s.wake), 0, CALLBACK_EVENT) != MMSYSERR_NOERROR) {
    CloseHandle(s.wake);
    s.out = nullptr;
    s.wake = nullptr;
    return false;
  }
  {
    std::lock_guard<std::mutex> guard(s.lock);
    s.playStart = s.decoder.GetPosition();
  }
  s.written = 0;
  QueryPerformanceCounter(&s.startCount);
  size_t bytes = size_t(info.rate) * BufferMilliseconds / 1000 * s.BytesPerFrame();
  for (int i = 0; i < BufferCount; ++i) {
    s.buffers[i].assign(bytes, 0);
    s.headers[i] = WAVEHDR();
    s.headers[i].lpData = reinterpret_cast<LPSTR>(s.buffers[i].data());
    s.headers[i].dwBufferLength = DWORD(bytes);
    s.queued[i] = false;
    waveOutPrepareHeader(s.out, &s.headers[i], sizeof(WAVEHDR));
  }
  for (int i = 0; i < BufferCount && Queue(s, i); ++i) {}
  s.feeder = std::thread(Feed, &s);
  return true;
}

}  // namespace

bool AudioInit(int number, uint32_t rate, HWND) {
  if (device.open) return true;
  if (number < 0 || rate == 0) return false;
  if (number > 0) {
    // Opening the device once proves it exists and takes 16-bit stereo at this rate.
    WAVEFORMATEX format = Format(rate, 2, false);
    HWAVEOUT probe = nullptr;
    if (UINT(number) > waveOutGetNumDevs() ||
        waveOutOpen(&probe, UINT(number - 1), &format, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR)
      return false;
    waveOutClose(probe);
  }
  device.open = true;
  device.number = number;
  device.rate = rate;
  device.volume = 100;
  return true;
}

void AudioFree() {
  for (auto& entry : device.streams) StopOutput(*entry.second);
  device.streams.clear();
  device.open = false;
}

bool AudioCanPlayFloat() {
  if (!device.open) return false;
  if (device.number == 0) return true;   // no output: the samples only go to AudioStreamGetData
  WAVEFORMATEX format = Format(device.rate, 2, true);
  return waveOutOpen(nullptr, UINT(device.number - 1), &format, 0, 0, WAVE_FORMAT_QUERY) == MMSYSERR_NOERROR;
}

void AudioSetVolume(uint32_t volume) { device.volume = volume > 100 ? 100 : volume; }
uint32_t AudioGetVolume() { return device.volume; }

uint32_t AudioStreamCreateFile(const char* path, uint32_t flags) {
  if (!device.open || !path) return 0;
  std::unique_ptr<Stream> s(new Stream);
  s->flags = flags & AudioSampleFloat;
  if (!s->decoder.Open(path)) return 0;
  uint32_t handle = device.nextHandle++;
  device.streams[handle] = std::move(s);
  return handle;
}

bool AudioStreamFree(uint32_t handle) {
  Stream* s = Find(handle);
  if (!s) return false;
  StopOutput(*s);
  device.streams.erase(handle);
  return true;
}

bool AudioStreamGetInfo(uint32_t handle, AudioStreamInfo& info) {
  Stream* s = Find(handle);
  if (!s) return false;
  info.rate = s->decoder.GetInfo().rate;
  info.channels = s->Channels();
  info.flags = s->flags;
  return true;
}

uint64_t AudioStreamGetLength(uint32_t handle) {
  Stream* s = Find(handle);
  return s ? s->decoder.GetInfo().length * s->BytesPerFrame() : 0;
}

double AudioBytesToSeconds(uint32_t handle, uint64_t bytes) {
  Stream* s = Find(handle);
  return s ? double(bytes) / s->BytesPerFrame() / s->decoder.GetInfo().rate : 0.0;
}

bool AudioStreamSetPosition(uint32_t handle, uint64_t bytes) {
  Stream* s = Find(handle);
  if (!s) return false;
  bool playing = s->out && !s->ended;
  StopOutput(*s);
  {
    std::lock_guard<std::mutex> guard(s->lock);
    s->decoder.Seek(bytes / s->BytesPerFrame());
  }
  return !playing || StartOutput(*s);
}

uint64_t AudioStreamGetPosition(uint32_t handle) {
  Stream* s = Find(handle);
  if (!s) return 0;
  uint64_t decoded;
  {
    std::lock_guard<std::mutex> guard(s->lock);
    decoded = s->decoder.GetPosition();
  }
  if (!s->out || s->ended) return decoded * s->BytesPerFrame();
  MMTIME time = {};
  time.wType = TIME_SAMPLES;
  waveOutGetPosition(s->out, &time, sizeof time);
  uint64_t played = 0;
  if (time.wType == TIME_SAMPLES) played = time.u.sample;
  else if (time.wType == TIME_BYTES) played = time.u.cb / s->BytesPerFrame();
  else if (time.wType == TIME_MS) played = uint64_t(time.u.ms) * s->decoder.GetInfo().rate / 1000;
  uint64_t frame = s->playStart + std::min(played, ClockFrames(*s));
  return (frame < decoded ? frame : decoded) * s->BytesPerFrame();
}

bool AudioStreamPlay(uint32_t handle) {
  Stream* s = Find(handle);
  if (!s || device.number == 0) return false;
  if (s->out && !s->ended) return true;
  StopOutput(*s);   // a stream that has played to its end starts again from where it stands
  return StartOutput(*s);
}

bool AudioStreamIsPlaying(uint32_t handle) {
  Stream* s = Find(handle);
  return s && s->out && !s->ended;
}

uint32_t AudioStreamGetData(uint32_t handle, void* buffer, uint32_t bytes) {
  Stream* s = Find(handle);
  if (!s || (s->out && !s->ended) || !buffer) return 0;
  std::lock_guard<std::mutex> guard(s->lock);
  return uint32_t(Render(*s, buffer, bytes / s->BytesPerFrame()) * s->BytesPerFrame());
}
