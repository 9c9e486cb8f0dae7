// Scale of an overlay image that is drawn at its own pixel size on displays of `full` pixels and more
// and shrinks in proportion below: k at full size, size x k x perPixel below (perPixel ~ 1 / full).
#pragma once
#include <cstdint>

inline float OverlayFitScale(uint32_t size, uint32_t full, float perPixel, float k = 1.0f) {
  return size >= full ? k : float(size) * k * perPixel;
}

// The credits plates and shader captions are laid out for 800 x 600.
inline float PlateScaleX(uint32_t width) { return OverlayFitScale(width, 800, 0.00125f); }
inline float PlateScaleY(uint32_t height) { return OverlayFitScale(height, 600, 0.0016666667f); }
