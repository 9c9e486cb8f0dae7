// Station\ pictures (see StationTextures.cpp) and the sky that the station's sky box faces show.
#pragma once
#include <string>

#include "Image.h"
#include "Math3.h"

// Writes every picture of Station\ into `dir` (ending in '/'), the sky box faces excepted.
bool WriteStationTextures(const std::string& dir);
// The sky in direction d: nebula, stars and a gas giant on the +x side.
Color4 StationSky(const Vec3& d);
