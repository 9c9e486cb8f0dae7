// Small image files written by the tests themselves, in the formats the texture loader reads.
// Texels are 0xAARRGGBB, row by row from the top.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

using Texels = std::vector<uint32_t>;

bool WriteBmp24(const std::string& path, int width, int height, const Texels& texels);
bool WriteTga(const std::string& path, int width, int height, int bitsPerPixel, const Texels& texels);  // 24 or 32
// Uncompressed A8R8G8B8; `faces` = 6 makes a cube map whose faces all hold `texels`.
bool WriteDds(const std::string& path, int width, int height, int faces, const Texels& texels);
// Baseline JPEG, written through the graphics utility layer from a texture holding `texels`.
bool WriteJpeg(const std::string& path, int width, int height, const Texels& texels);
