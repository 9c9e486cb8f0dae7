// The program's small sound library: one output device, MP3 file streams decoded on the fly by the
// system's codec (app/AudioMp3.h) and played through waveOut. A playing stream is fed by its own
// thread; everything else is called from one thread (the frame loop). Streams are named by handles
// (never 0, never reused), so a stale or zero handle is harmless in every call.
// Byte counts and positions are in the stream's sample format: channels x 2 bytes (16-bit) or
// channels x 4 bytes (floating point) per sample frame.
#pragma once
#include <windows.h>
#include <cstdint>

enum : uint32_t {
  AudioSampleFloat = 0x100,   // stream flag: 32-bit floating-point samples instead of 16-bit
};

struct AudioStreamInfo {
  uint32_t rate;       // Hz
  uint32_t channels;
  uint32_t flags;      // the flags the stream was created with
};

// Opens output device `device` (1 = first; 0 = no sound: streams decode but do not play) for
// `rate` Hz output; `window` is the program's main window (may be null). True when already open.
bool AudioInit(int device, uint32_t rate, HWND window);
// Stops and frees every stream and closes the device.
void AudioFree();
// Whether the device plays floating-point stereo samples at the rate given to AudioInit.
bool AudioCanPlayFloat();
// Output volume 0..100 of all streams (software gain, linear); 100 at start.
void AudioSetVolume(uint32_t volume);
uint32_t AudioGetVolume();

// Opens an MP3 file (path relative to the working directory) as a stream; 0 if it is missing or no
// MP3 or the device is not open. `flags`: AudioSampleFloat or 0.
uint32_t AudioStreamCreateFile(const char* path, uint32_t flags);
// Stops and frees a stream; false for an unknown handle.
bool AudioStreamFree(uint32_t stream);
bool AudioStreamGetInfo(uint32_t stream, AudioStreamInfo& info);
uint64_t AudioStreamGetLength(uint32_t stream);
double AudioBytesToSeconds(uint32_t stream, uint64_t bytes);
// Moves the stream to a byte position (rounded down to a whole sample frame, clamped to the length).
bool AudioStreamSetPosition(uint32_t stream, uint64_t bytes);
// While playing: the bytes played so far, counted from the start of the stream: the device's count,
// but never ahead of the system clock since Play. Otherwise: the position the next samples come from.
uint64_t AudioStreamGetPosition(uint32_t stream);
// Starts playback from the current position; true if playing afterwards. The first buffers are
// queued before it returns.
bool AudioStreamPlay(uint32_t stream);
// Playing and not yet at its end.
bool AudioStreamIsPlaying(uint32_t stream);
// Pulls up to `bytes` of samples from a stream that is not playing, exactly as they would go to the
// device (volume applied, in the stream's sample format). Returns the bytes written, 0 at the end.
uint32_t AudioStreamGetData(uint32_t stream, void* buffer, uint32_t bytes);
