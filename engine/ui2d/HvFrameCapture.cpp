#include "HvFrameCapture.h"
#include "../core/HvMessageBox.h"
#include "../core/HvRelease.h"
#include <d3d9.h>
#include <cstring>

HvFrameCapture::~HvFrameCapture() { Close(); }

bool HvFrameCapture::Open(const std::string& name) {
  Close();
  path = name;
  file = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) return true;
  HvShowError(("Cannot open " + name + " for the captured frames").c_str());
  return false;
}

void HvFrameCapture::Close() {
  HvSafeRelease(copy);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  file = INVALID_HANDLE_VALUE;
}

bool HvFrameCapture::MakeCopy(IDirect3DDevice9* device, IDirect3DSurface9* backBuffer) {
  D3DSURFACE_DESC desc;
  if (FAILED(backBuffer->GetDesc(&desc))) {
    HvShowError("Cannot describe the back buffer");
    return false;
  }
  if ((desc.Format != D3DFMT_X8R8G8B8 && desc.Format != D3DFMT_A8R8G8B8) || desc.MultiSampleType != D3DMULTISAMPLE_NONE) {
    HvShowError("Frames can be captured from a 32-bit back buffer without antialiasing only");
    return false;
  }
  if (FAILED(device->CreateOffscreenPlainSurface(desc.Width, desc.Height, desc.Format, D3DPOOL_SYSTEMMEM, &copy,
                                                 nullptr))) {
    copy = nullptr;
    HvShowError("Cannot create surface for frame capture");
    return false;
  }
  width = desc.Width;
  height = desc.Height;
  return true;
}

bool HvFrameCapture::Write(IDirect3DDevice9* device) {
  IDirect3DSurface9* backBuffer = nullptr;
  if (FAILED(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer))) {
    HvShowError("Cannot get back buffer");
    return false;
  }
  bool ok = copy || MakeCopy(device, backBuffer);
  if (ok && FAILED(device->GetRenderTargetData(backBuffer, copy))) {
    HvShowError("Cannot copy the back buffer for frame capture");
    ok = false;
  }
  HvSafeRelease(backBuffer);
  if (!ok) return false;

  D3DLOCKED_RECT locked;
  if (FAILED(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY))) {
    HvShowError("Cannot lock the captured frame");
    return false;
  }
  const size_t rowBytes = size_t(width) * 4;
  const uint8_t* pixels = static_cast<const uint8_t*>(locked.pBits);
  if (size_t(locked.Pitch) != rowBytes) {  // padded rows: packed into the buffer first
    packed.resize(rowBytes * height);
    for (uint32_t y = 0; y < height; ++y) memcpy(&packed[y * rowBytes], pixels + size_t(locked.Pitch) * y, rowBytes);
    pixels = packed.data();
  }
  const DWORD size = DWORD(rowBytes * height);  // at most 8192 x 8192 x 4 bytes
  DWORD written = 0;
  ok = WriteFile(file, pixels, size, &written, nullptr) && written == size;
  copy->UnlockRect();
  if (!ok) {
    HvShowError(("Cannot write the captured frame to " + path).c_str());
    return false;
  }
  ++frames;
  return true;
}
