// The space ship of the station scene, in object units: about 148 long (z from -75.6 to 72), the hull
// about 25 wide and 15.6 high, nose along +z, y up, centred on the origin. The station hangs it in
// the `ship` frame at scale 40 / kShipUnits, so that it stays about 490 long in the hall.
// Four single-material meshes, one per shading group the ship effects address:
// [0] "Material_1" hull (its rings spaced for the pulse displacement), [1] "Material_2" wings,
// [2] "Material_3" engine pods, [3] "Material_4" canopy and tail fin.
#pragma once
#include <array>

#include "Mesh.h"

// Object units per unit of the ship's design (12 long): enough for the pulse shader's displacement of
// up to one object unit to stay a ripple, under a fifteenth of the hull's height.
constexpr float kShipUnits = 12;
// Rings along the hull, 0.638 object units apart (see ShipMeshes).
constexpr int kHullRings = 238;

std::array<Mesh, 4> ShipMeshes();
