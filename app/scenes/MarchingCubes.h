// Marching-cubes polygonisation of one grid cell: the classic edge and triangle tables, up to five
// triangles per cell where the iso-surface crosses it. The blob effect runs it over its whole grid.
#pragma once
#include <d3dx9.h>
#include <cstdint>

// Corner order: 0-3 are the cell's upper face (y + 1), 4-7 the lower one, each going +x, then -z, then -x;
// corner i + 4 lies straight below corner i. Edges join 0-1, 1-2, 2-3, 3-0, 4-5, 5-6, 6-7, 7-4, 0-4,
// 1-5, 2-6, 3-7 (edge numbers 0 to 11).
struct BlobCell {
  D3DXVECTOR3 p[8];
  float value[8];  // field value at each corner
};

struct BlobTriangle {
  D3DXVECTOR3 p[3];
};

const uint32_t MaxCellTriangles = 5;

// Bit i of the result is set when corner i lies outside (value below the iso level).
uint32_t CubeIndex(const BlobCell& cell, float isoLevel);

// Writes the cell's triangles (at most MaxCellTriangles) and returns how many.
int Polygonise(const BlobCell& cell, float isoLevel, BlobTriangle* triangles);

// The point between a and b where the linearly interpolated value reaches the iso level; a or b when
// the level (almost) equals their value, a when both values (almost) agree.
D3DXVECTOR3 InterpolateVertex(float isoLevel, const D3DXVECTOR3& a, const D3DXVECTOR3& b, float va, float vb);
