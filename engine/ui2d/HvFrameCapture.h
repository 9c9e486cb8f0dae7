// Hands every frame to a video encoder as raw pixels: width x height pixels of four bytes each (blue,
// green, red, unused: the X8R8G8B8 back buffer in memory order), the top row first, rows tightly packed,
// no header, frame after frame into a pipe or FIFO opened by name. Per frame the back buffer is copied
// once into a system-memory surface made at the first frame and goes out in one write.
#pragma once
#include <windows.h>
#include <cstdint>
#include <string>
#include <vector>

struct IDirect3DDevice9;
struct IDirect3DSurface9;

class HvFrameCapture {
public:
  HvFrameCapture() = default;
  HvFrameCapture(const HvFrameCapture&) = delete;
  HvFrameCapture& operator=(const HvFrameCapture&) = delete;
  ~HvFrameCapture();

  // An existing FIFO, pipe or file (Wine reaches a Unix FIFO as Z:\path). Opening a FIFO waits until
  // its reader has opened it too. A failure shows its message box and returns false.
  bool Open(const std::string& path);
  bool IsOpen() const { return file != INVALID_HANDLE_VALUE; }
  // Sends the back buffer as it stands; every failure shows its message box and returns false.
  bool Write(IDirect3DDevice9* device);
  // Lets go of the surface (before the device goes) and closes the file: the reader sees the end.
  void Close();
  uint64_t GetFrames() const { return frames; }

private:
  bool MakeCopy(IDirect3DDevice9* device, IDirect3DSurface9* backBuffer);

  HANDLE file = INVALID_HANDLE_VALUE;
  std::string path;
  IDirect3DSurface9* copy = nullptr;  // system memory, the size and format of the back buffer
  uint32_t width = 0, height = 0;
  std::vector<uint8_t> packed;        // rows without their padding, when the surface pads them
  uint64_t frames = 0;
};
