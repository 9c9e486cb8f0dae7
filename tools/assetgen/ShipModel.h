// The space ship of the station scene, in object units: about 12 long (z from -6.3 to 6), nose along
// +z, y up, centred on the origin. The station hangs it in the `ship` frame at scale 40.
// Four single-material meshes, one per shading group the ship effects address:
// [0] "Material_1" hull (dense rings along z for the pulse displacement), [1] "Material_2" wings,
// [2] "Material_3" engine pods, [3] "Material_4" canopy and tail fin.
#pragma once
#include <array>

#include "Mesh.h"

std::array<Mesh, 4> ShipMeshes();
