// Texts over the finished frame. Users queue texts every frame during their update; the font draws
// the queue in its render step (the font pool renders after every other pool) and empties it.
// Registered in the font pool; the D3DX font is made in PostCreate and survives device resets through
// OnDeviceLost / OnDeviceReset.
#pragma once
#include "../core/HvObject.h"
#include <string>
#include <vector>

struct ID3DXFont;

// Character height (negative: without internal leading) of a font of halfPoints / 2 points at the
// screen's vertical resolution; -13 for 20 on a 96-dpi screen.
int HvScreenFontHeight(int halfPoints);

class HvFont : public HvEngineObject {
public:
  explicit HvFont(const char* name);
  ~HvFont() override;

  void AddText(int x, int y, const std::string& text);  // top-left corner in pixels, current colour
  void SetColor(float r, float g, float b, float a);     // for texts queued afterwards; opaque white at start
  size_t GetQueuedCount() const { return queue.size(); }

  bool PostCreate() override;     // creates the D3DX font
  bool Render() override;         // draws and empties the queue
  bool OnDeviceLost() override;
  bool OnDeviceReset() override;
  bool Release() override;

private:
  struct Entry {
    std::string text;
    int x, y;         // pixels
    float color[4];   // r, g, b, a
  };

  ID3DXFont* font = nullptr;  // owned
  std::vector<Entry> queue;
  float color[4] = {1, 1, 1, 1};
};
