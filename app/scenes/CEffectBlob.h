// Metaballs: point sources define a scalar field on a regular grid; every update the iso-surface is
// polygonised (marching cubes) into a flat-shaded triangle mesh, drawn in pass 3 with a shader that
// colours it from a 1-D ramp by how directly each face looks at the eye. The reusable part of the
// blob scene; the subclass moves the sources, places the node and adds camera and timeline.
#pragma once
#include "CObject.h"
#include <d3dx9.h>
#include <memory>
#include <vector>

class HvGeometry;

struct BlobGridPoint {
  float x, y, z;  // position in the blob's object space
  float value;    // field value
};

class CEffectBlob : public CObject {
public:
  static const uint32_t MaxVertices = 6000;  // mesh capacity: 2000 triangles; more are dropped

  explicit CEffectBlob(const char* name);
  ~CEffectBlob() override;

  bool Create() override;  // geometry, node "blob_node", ramp texture, culling and shader in pass 3
  bool Update() override;  // field and surface of the current sources

  // A box of size sx x sy x sz centred on the origin, cut into nx x ny x nz cells.
  void InitGrid(float sx, float sy, float sz, int nx, int ny, int nz);
  void EvaluateField();
  void BuildSurface();  // into the geometry, which then uploads it

  // The surface of the current field: per triangle three positions and three copies of its face
  // normal (x, y, z each), at most maxTriangles of them; returns the number written.
  uint32_t Triangulate(float* positions, float* normals, uint32_t maxTriangles) const;

  std::vector<D3DXVECTOR3>& Sources() { return sources; }
  void SetIsoLevel(float level) { isoLevel = level; }
  const BlobGridPoint& GridPoint(int i, int j, int k) const { return grid[Index(i, j, k)]; }
  HvGeometry* GetGeometry() const { return geometry.Get(); }

protected:
  int Index(int i, int j, int k) const { return i + (cells[0] + 1) * (j + (cells[1] + 1) * k); }

  std::unique_ptr<BlobGridPoint[]> grid;  // (nx + 1)(ny + 1)(nz + 1) points
  float gridSize[3] = {0, 0, 0};
  int cells[3] = {0, 0, 0};
  std::vector<D3DXVECTOR3> sources;  // metaball centres
  float isoLevel = 1.0f;
  HvRef<HvGeometry> geometry;
};
