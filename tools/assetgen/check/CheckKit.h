// Shared pieces of the data checks: failure reporting, file and picture readers, the per-model
// checks every .X file must pass, frame placement and key tracks.
#pragma once
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "XText.h"

// Prints "FAILED: what" unless ok; Failures() counts them.
void Expect(bool ok, const std::string& what);
int Failures();
std::string Load(const std::string& path);

inline uint32_t U16(const std::string& d, size_t at) { return uint8_t(d[at]) | uint8_t(d[at + 1]) << 8; }
inline uint32_t U32(const std::string& d, size_t at) { return U16(d, at) | U16(d, at + 2) << 16; }
inline bool PowerOfTwo(int v) { return v > 0 && (v & (v - 1)) == 0; }

// Decoded picture: BGRA bytes, top row first.
struct Picture {
  int w = 0, h = 0, bits = 0;
  std::vector<uint8_t> bgra;
  const uint8_t* At(int x, int y) const { return &bgra[(size_t(y) * w + x) * 4]; }
  float Luma(int x, int y) const { return (0.11f * At(x, y)[0] + 0.59f * At(x, y)[1] + 0.3f * At(x, y)[2]) / 255; }
};
bool ReadBmp(const std::string& path, Picture& p);  // 24-bit only
bool ReadTga(const std::string& path, Picture& p);  // uncompressed 24/32-bit
// Uncompressed A8R8G8B8 DDS: every level of every face (one face for a 2-D texture), level 0 first.
struct DdsFile {
  bool cube = false;
  std::vector<std::vector<Picture>> faces;
};
bool ReadDds(const std::string& path, DdsFile& dds, std::string& error);
// Baseline (not progressive) JPEG: returns false otherwise.
bool IsBaselineJpeg(const std::string& path);
// No visible seam when the picture repeats in x and y.
bool Tiles(const Picture& p);

const XObject* Find(const std::vector<std::unique_ptr<XObject>>& list, const std::string& type,
                    const std::string& name = "");
// Parses a model and checks what every mesh must satisfy (unit normals, winding, one material,
// textures present, 16-bit indices) and the limits of the platform's .X parser; returns the file.
XFile CheckModel(const std::string& dir, const std::string& name, std::vector<XMesh>& meshes);

// A mesh with the frame it hangs in and its vertices in model (world) space.
struct PlacedMesh {
  std::vector<std::string> frames;  // enclosing frame names, outermost first
  float world[16];                  // frame-to-model matrix, row-major, translation in row 4
  XMesh mesh;
  std::vector<float> positions;     // world positions, 3 per vertex
  std::vector<float> normals;       // world normals (unit), 3 per vertex
  bool Under(const std::string& frame) const;
};
std::vector<PlacedMesh> PlaceMeshes(const XFile& x);
// Frame objects by name (anywhere in the file) and their parent frame's name ("" at top level).
struct FrameInfo {
  const XObject* frame;
  std::string parent;
  float world[16];
};
std::map<std::string, FrameInfo> Frames(const XFile& x);
// Upper 3x3 of a row-major 4x4 matrix is the identity.
bool TranslationOnly(const float* m);

struct Track {
  int type = 0;                  // AnimationKey type: 2 position, 4 matrix
  std::vector<uint32_t> ticks;
  std::vector<float> values;     // 3 (position) or 16 (matrix) per key
};
std::map<std::string, Track> Tracks(const XFile& x);
// Value of a position track at a tick (linear between keys, clamped at the ends).
void TrackPosition(const Track& t, uint32_t tick, float out[3]);

// The scene checks (SceneChecks.cpp); `root` ends in '/'.
void CheckStation(const std::string& root);
void CheckStar(const std::string& root);
void CheckRoom(const std::string& root);
