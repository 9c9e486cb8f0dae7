// Texture recipes shared by the station, star and room: tileable metal plating with panel gaps,
// bevels, rivets, grime and light strips; 1-D ramps; starry nebula skies.
#pragma once
#include <cstdint>
#include <vector>

#include "Image.h"

struct PlateStyle {
  int size = 256;               // square, power of two
  int cols = 2, rows = 2;       // plates per tile; a plate may split in two (see splitChance)
  Color4 base = Hex(0x8a96a8);  // plate colour
  Color4 gap = Hex(0x1c222c);   // seams between plates
  float tint = 0.06f;           // per-plate brightness variation
  float grime = 0.3f;           // dirt from fractal noise
  float streaks = 0.05f;        // brushed metal along x
  int gapPx = 3, bevelPx = 3;
  bool rivets = true;
  float splitChance = 0.4f;     // chance a plate is split across its longer side
  Color4 accent = Hex(0xffa040);
  float accentChance = 0;       // chance a plate carries an accent stripe
  Color4 glow = Hex(0x7fe0ff);
  float glowChance = 0;         // chance a plate is a light panel
  uint32_t seed = 1;
};
// Wraps in x and y.
Image PlatedTexture(const PlateStyle& style);

// width x 1 ramp through the stops.
Image RampImage(int width, const std::vector<RampStop>& stops);

// Colour of a nebula sky in direction d (need not be unit): dark navy space, teal and violet
// clouds, amber dust, stars. `brightness` scales the clouds (environment maps want more light).
Color4 NebulaSky(float dx, float dy, float dz, float brightness, uint32_t seed);

// The six faces of a cube map (+X, -X, +Y, -Y, +Z, -Z) as seen from the centre, with the Direct3D
// face orientation: face pixel (x, y) looks along the returned direction.
void CubeFaceDirection(int face, float u, float v, float& dx, float& dy, float& dz);

// Straight-alpha composite of `top` over an opaque backdrop colour (for the JPEG stand-ins of the
// 32-bit textures).
Image Flattened(const Image& img, const Color4& backdrop);
