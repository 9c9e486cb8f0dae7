// Blob\: the metaball colour ramp, indexed by how directly the surface faces the eye
// (u = 0 at the silhouette, 1 facing). Point-sampled, so 256 steps.
#include <filesystem>

#include "DataSets.h"
#include "ImageWriters.h"

bool WriteBlobData(const std::string& root) {
  std::filesystem::create_directories(root + "/Blob");
  const std::vector<RampStop> stops = {{0.0f, Hex(0x0c0310)}, {0.18f, Hex(0x3a0a2a)}, {0.45f, Hex(0xc8401a)},
                                       {0.72f, Hex(0xffa030)}, {0.9f, Hex(0xffe0a0)}, {1.0f, Hex(0xfffaf0)}};
  Image ramp(256, 1);
  for (int x = 0; x < 256; ++x) ramp.At(x, 0) = Ramp(stops, x / 255.0f);
  return WriteBmp24(root + "/Blob/BlobColor.bmp", ramp);
}
