#include "HvFont.h"
#include "../core/HvCore.h"
#include "../core/HvMessageBox.h"
#include "../core/HvRelease.h"
#include "../render/HvDevice.h"
#include <d3dx9.h>

int HvScreenFontHeight(int halfPoints) {
  HDC screen = CreateCompatibleDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  DeleteDC(screen);
  return -MulDiv(halfPoints, int(dpi * 0.5), 72);
}

HvFont::HvFont(const char* name) : HvEngineObject(name) { HvCore::GetInstance()->GetPool(HvPoolFont)->Add(this); }

HvFont::~HvFont() { HvSafeRelease(font); }

void HvFont::AddText(int x, int y, const std::string& text) {
  queue.push_back({text, x, y, {color[0], color[1], color[2], color[3]}});
}

void HvFont::SetColor(float r, float g, float b, float a) {
  color[0] = r;
  color[1] = g;
  color[2] = b;
  color[3] = a;
}

// Bold 10-point Arial whatever the object's name.
bool HvFont::PostCreate() {
  HvSafeRelease(font);
  IDirect3DDevice9* device = HvCore::GetInstance()->GetDevice()->GetD3DDevice();
  if (FAILED(D3DXCreateFontA(device, HvScreenFontHeight(20), 0, FW_BOLD, 0, FALSE, DEFAULT_CHARSET, 0, 0, 0, "Arial",
                             &font))) {
    font = nullptr;
    HvShowError("Cannot create Direct3D font");
    return false;
  }
  return true;
}

// A failed draw keeps the queue, so nothing queued is lost silently.
bool HvFont::Render() {
  if (!font) {  // released or never created: nothing can be drawn
    queue.clear();
    return true;
  }
  for (const Entry& e : queue) {
    RECT r = {e.x, e.y, e.x + 2048, e.y + 2048};
    // DrawText returns the height drawn; 0 is a failure, except for an empty text.
    if (font->DrawTextA(nullptr, e.text.c_str(), -1, &r, DT_NOCLIP, ToD3DColor(e.color)) == 0 && !e.text.empty()) {
      HvShowError("Error while drawing text");
      return false;
    }
  }
  queue.clear();
  return true;
}

bool HvFont::OnDeviceLost() {
  if (font && FAILED(font->OnLostDevice())) {
    HvShowError("Error while releasing D3D Font");
    return false;
  }
  return true;
}

bool HvFont::OnDeviceReset() {
  if (font && FAILED(font->OnResetDevice())) {
    HvShowError("Error while reseting D3D Font");
    return false;
  }
  return true;
}

bool HvFont::Release() {
  HvSafeRelease(font);
  SetFlag(HvFlags::Released);
  return true;
}
