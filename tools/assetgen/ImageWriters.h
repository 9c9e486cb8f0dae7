// Image files in the formats the show's texture loader reads. All return false when the file cannot be
// written. Alpha is stored only where the format says so; 24-bit files drop it.
#pragma once
#include <array>
#include <string>
#include <vector>

#include "Image.h"

// Uncompressed 24-bit BMP, bottom-up rows padded to 4 bytes.
bool WriteBmp24(const std::string& path, const Image& img);
// Uncompressed true-colour TGA (image type 2), bottom-up; 32-bit carries 8 alpha bits.
bool WriteTga(const std::string& path, const Image& img, bool withAlpha);
// Baseline JPEG, 4:2:0, quality 1..100.
bool WriteJpeg(const std::string& path, const Image& img, int quality);
// Uncompressed A8R8G8B8 DDS with the given mip levels (level 0 first; each half the previous size).
bool WriteDds(const std::string& path, const std::vector<Image>& levels);
// Cube-map DDS, faces in the order +X, -X, +Y, -Y, +Z, -Z, each with the same mip chain layout.
bool WriteDdsCube(const std::string& path, const std::array<std::vector<Image>, 6>& faces);
