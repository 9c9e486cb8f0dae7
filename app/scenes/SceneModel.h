// Helpers of the scenes that load a model of their own and draw it mirrored (the star and the room).
#pragma once
#include <d3dx9.h>
#include <cstdint>

class HvNode;

// Loads `fileName` from the data subfolder `folder` (the current directory is restored), hangs it under
// the scene root and computes its world matrices; null if it cannot be loaded.
HvNode* LoadSceneModel(const char* folder, const char* fileName);

// Adds the material and texturing properties of pass 0 of the node and its descendants to `pass`:
// a mirrored copy drawn in that pass keeps the surfaces of the model.
void ShareSurfaceProperties(HvNode* node, uint32_t pass);

// The four columns of the reflection through `plane`, one register each (x, y, z, w of column j):
// with a row-vector point p, dot(p, column j) is the j-th component of p x Reflect.
void MirrorColumns(const D3DXPLANE& plane, float columns[4][4]);
