// Turns one .X Mesh data object into drawable arrays: polygons fanned into triangles, a vertex split
// wherever one position is used with different normals, faces sorted by material into contiguous
// subsets, and each subset given its own contiguous vertex range (vertices used by several
// materials are duplicated), ordered by their index in the file. Indices are 16-bit and global;
// a subset's indices lie inside its own vertex range.
#pragma once
#include <windows.h>
#include <dxfile.h>
#include <d3dx9.h>
#include <cstdint>
#include <string>
#include <vector>

struct HvXMaterial {
  float diffuse[4] = {1, 1, 1, 1};   // r, g, b, a
  float specular[4] = {0, 0, 0, 1};  // r, g, b; alpha always 1
  float power = 0;
  std::string textureFile;           // empty: no texture
};

// What the Mesh object and its MeshNormals, MeshTextureCoords, MeshVertexColors and
// MeshMaterialList children say, unchecked.
struct HvXMeshSource {
  std::vector<D3DXVECTOR3> positions;
  std::vector<std::vector<uint32_t>> faces;           // position indices per polygon
  bool hasNormals = false;
  std::vector<D3DXVECTOR3> normals;
  std::vector<std::vector<uint32_t>> faceNormals;     // normal indices, one list per face
  bool hasTexCoords = false;
  std::vector<D3DXVECTOR2> texCoords;                 // one per position
  bool hasColors = false;
  std::vector<std::pair<uint32_t, D3DCOLOR>> colors;  // (position index, colour)
  bool hasMaterialList = false;
  uint32_t materialCount = 0;
  std::vector<uint32_t> faceMaterials;                // short lists repeat their last entry
  std::vector<HvXMaterial> materials;
};

struct HvXVertex {
  float position[3];
  float normal[3];
  D3DCOLOR color;      // 0xFFFFFFFF where the file gives none
  float texCoord[2];
};

// One material subset: triangles [faceStart, faceStart + faceCount) use only vertices
// [vertexStart, vertexStart + vertexCount).
struct HvXSubset {
  uint32_t attribute;  // index into the materials
  uint32_t faceStart, faceCount;
  uint32_t vertexStart, vertexCount;
};

struct HvXMesh {
  uint32_t vertexFormat = 0;   // D3DFVF_XYZ, plus NORMAL, DIFFUSE, TEX1 as the file carries them
  std::vector<HvXVertex> vertices;
  std::vector<uint16_t> indices;  // 3 per triangle
  std::vector<HvXSubset> subsets; // ascending attribute, only materials that have faces
  std::vector<HvXMaterial> materials;
};

class HvXMeshBuilder {
public:
  static const uint32_t MaxVertices = 65535;  // 16-bit indices

  // Reads a Mesh data object. False if its data or a child's is cut short.
  static bool Read(IDirectXFileData* meshObject, HvXMeshSource& source);
  // False for an index out of range, a face of fewer than three corners, normal faces that do not
  // match the faces, too few texture coordinates, more materials than both the materials given and the
  // faces, or more than MaxVertices vertices after splitting.
  static bool Build(const HvXMeshSource& source, HvXMesh& mesh);
};
