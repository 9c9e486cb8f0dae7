// Drawable geometry: CPU-side vertex attribute arrays and 16-bit indices, described by a vertex
// format (FVF) and a primitive type, uploaded into dynamic write-only buffers of the default pool.
// The owner fills the arrays and calls Refresh after every change; the buffers are rebuilt and
// refilled from the arrays after a lost device. Registered in the core's geometry pool.
#pragma once
#include "../core/HvObject.h"
#include <d3d9.h>
#include <vector>

struct HvGeometryDesc {
  uint32_t primitiveType;  // D3DPRIMITIVETYPE
  uint32_t vertexFormat;   // D3DFVF_* bits
  uint32_t vertexCount;
  uint32_t indexCount;     // 0: not indexed
};

namespace HvGeometryFlags {
enum : uint32_t {
  NeedsVertexBuffer = 0x40,
  NeedsIndexBuffer = 0x80,
};
}

class HvGeometry : public HvEngineObject {
public:
  static const uint32_t TexCoordSlots = 8;

  explicit HvGeometry(const HvGeometryDesc& desc);
  ~HvGeometry() override;

  // Arrays; null when the format does not have the part.
  float* GetPositions() { return Data(positions); }      // 3 per vertex
  uint16_t* GetIndices() { return indices.empty() ? nullptr : indices.data(); }
  float* GetNormals() { return Data(normals); }          // 3 per vertex
  float* GetDiffuse() { return Data(diffuse); }          // r, g, b, a per vertex
  float* GetSpecular() { return Data(specular); }        // r, g, b, a per vertex
  float* GetTexCoords() { return Data(texCoords[0]); }   // 3 per vertex; u (and v) uploaded

  uint32_t GetPrimitivesToDraw() const { return primitivesToDraw; }
  void SetPrimitivesToDraw(uint32_t count) { primitivesToDraw = count; }
  uint32_t GetPrimitiveType() const { return desc.primitiveType; }
  uint32_t GetVertexFormat() const { return desc.vertexFormat; }
  uint32_t GetVertexCount() const { return desc.vertexCount; }
  uint32_t GetIndexCount() const { return desc.indexCount; }
  uint32_t GetVertexSize() const { return vertexSize; }
  uint32_t GetPrimitiveCount() const { return primitiveCount; }
  void GetBoundingBox(float box[6]) const;  // min x, y, z, max x, y, z

  // Same description (a non-zero format replaces the vertex format), copied arrays, refreshed;
  // null if the copy cannot be refreshed.
  HvGeometry* Clone(uint32_t vertexFormat = 0) const;

  bool CheckCaps(const D3DCAPS9* caps) override;  // "Too many primitives"
  bool Release() override;
  bool Render() override;
  bool OnDeviceLost() override;
  bool OnDeviceReset() override;
  bool Refresh() override;  // creates missing buffers and uploads the arrays

  IDirect3DVertexBuffer9* GetVertexBuffer() const { return vertexBuffer; }
  IDirect3DIndexBuffer9* GetIndexBuffer() const { return indexBuffer; }

private:
  static float* Data(std::vector<float>& v) { return v.empty() ? nullptr : v.data(); }
  uint32_t PrimitivesToDraw() const;  // never more than the buffers hold
  uint32_t VerticesToUpload() const;
  bool UploadIndices();
  bool UploadVertices();
  void ReleaseBuffers();

  HvGeometryDesc desc;
  uint32_t vertexSize = 0;
  uint32_t primitiveCount = 0;
  uint32_t primitivesToDraw = 0;
  std::vector<float> positions;
  std::vector<uint16_t> indices;
  std::vector<float> normals;
  std::vector<float> diffuse;
  std::vector<float> specular;
  std::vector<float> texCoords[TexCoordSlots];
  IDirect3DVertexBuffer9* vertexBuffer = nullptr;  // owned
  IDirect3DIndexBuffer9* indexBuffer = nullptr;    // owned
};
