// A small stand-in for the station model, built in memory: the named nodes the station and ship
// scenes look for, with one-triangle meshes, materials and textures registered under the names the
// scenes load, so that both scenes can be set up on the recording device of SceneTest.
#pragma once
#include "engine/render/HvNode.h"

// Root "Station.x" (not attached). Children: "Corridor" (a 0x112 mesh textured "wire.jpg"),
// "Object55", "Plane20" (doors), "Room" (a 0x152 mesh; holds "ship" with "Material_1".."Material_4",
// "Sphere02", "Wentylator" with two blades, "desk" textured "desk01.jpg"), "Sufit", "SkyBox" (one 0x112
// and two 0x152 faces), "glass_station", "glass_corridor", "Camera" with "camera" and "cameratarget".
HvNode* BuildStationModel();

// Registers stand-in textures for every file the two scenes load by name.
void RegisterStationTextures();
