#include "HvGeometry.h"
#include "HvDevice.h"
#include "../core/HvCore.h"
#include "../core/HvMessageBox.h"
#include "../core/HvRelease.h"
#include "../core/HvTrace.h"
#include <algorithm>
#include <cstring>
#include <string>

static const DWORD bufferUsage = D3DUSAGE_WRITEONLY | D3DUSAGE_DYNAMIC;  // rewritten every frame by some owners
static uint32_t geometryCounter = 0;  // numbers the geometry names from 0

static uint32_t VertexSize(uint32_t fvf) {
  uint32_t size = 0;
  if (fvf & D3DFVF_XYZ) size += 12;
  if (fvf & D3DFVF_XYZRHW) size += 16;
  if (fvf & D3DFVF_NORMAL) size += 12;
  if (fvf & D3DFVF_DIFFUSE) size += 4;
  if (fvf & D3DFVF_SPECULAR) size += 4;
  if (fvf & D3DFVF_TEX1) size += (fvf & D3DFVF_TEXCOORDSIZE1(0)) == D3DFVF_TEXCOORDSIZE1(0) ? 4 : 8;
  return size;
}

// Primitives in n indices, or in v vertices when not indexed.
static uint32_t PrimitiveCount(uint32_t type, uint32_t v, uint32_t n) {
  const bool indexed = n > 0;
  const uint32_t c = indexed ? n : v;
  switch (type) {
  case D3DPT_POINTLIST: return indexed ? 0 : v;
  case D3DPT_LINELIST: return c / 2;
  case D3DPT_LINESTRIP: return c >= 1 ? c - 1 : 0;
  case D3DPT_TRIANGLELIST: return c / 3;
  case D3DPT_TRIANGLESTRIP:
  case D3DPT_TRIANGLEFAN: return c >= 2 ? c - 2 : 0;
  default: return 0;
  }
}

static IDirect3DDevice9* D3DDevice() { return HvCore::GetInstance()->GetDevice()->GetD3DDevice(); }

static std::string NextName() { return "Geometry_" + std::to_string(geometryCounter++); }

HvGeometry::HvGeometry(const HvGeometryDesc& d) : HvEngineObject(NextName().c_str()), desc(d) {
  vertexSize = VertexSize(d.vertexFormat);
  primitiveCount = PrimitiveCount(d.primitiveType, d.vertexCount, d.indexCount);
  primitivesToDraw = primitiveCount;
  const size_t v = d.vertexCount;
  if (d.vertexFormat & (D3DFVF_XYZ | D3DFVF_XYZRHW)) positions.assign(v * 3, 0.0f);
  if (d.indexCount) indices.assign(d.indexCount, 0);
  if (d.vertexFormat & D3DFVF_NORMAL) normals.assign(v * 3, 0.0f);
  if (d.vertexFormat & D3DFVF_DIFFUSE) diffuse.assign(v * 4, 1.0f);
  if (d.vertexFormat & D3DFVF_SPECULAR) specular.assign(v * 4, 1.0f);
  if (d.vertexFormat & D3DFVF_TEX1) texCoords[0].assign(v * 3, 0.0f);
  SetFlag(HvFlags::Changed | HvGeometryFlags::NeedsVertexBuffer | HvGeometryFlags::NeedsIndexBuffer);
  HvCore::GetInstance()->GetPool(HvPoolGeometry)->Add(this);
}

HvGeometry::~HvGeometry() {
  HvSafeRelease(vertexBuffer);
  HvSafeRelease(indexBuffer);
}

void HvGeometry::GetBoundingBox(float box[6]) const {
  std::fill(box, box + 6, 0.0f);
  for (size_t i = 0; i + 2 < positions.size(); i += 3) {
    for (int a = 0; a < 3; ++a) {
      const float p = positions[i + a];
      if (i == 0 || p < box[a]) box[a] = p;
      if (i == 0 || p > box[3 + a]) box[3 + a] = p;
    }
  }
}

HvGeometry* HvGeometry::Clone(uint32_t vertexFormat) const {
  HvGeometryDesc d = desc;
  if (vertexFormat) d.vertexFormat = vertexFormat;
  HvGeometry* copy = new HvGeometry(d);
  auto copyArray = [](const auto& from, auto& to) {
    if (!from.empty() && from.size() == to.size()) to = from;
  };
  copyArray(positions, copy->positions);
  copyArray(indices, copy->indices);
  copyArray(normals, copy->normals);
  copyArray(diffuse, copy->diffuse);
  copyArray(specular, copy->specular);
  for (uint32_t s = 0; s < TexCoordSlots; ++s) copyArray(texCoords[s], copy->texCoords[s]);
  if (copy->Refresh()) return copy;
  HvCore::GetInstance()->GetPool(HvPoolGeometry)->Remove(copy);  // the pool's reference was the only one
  return nullptr;
}

bool HvGeometry::CheckCaps(const D3DCAPS9* caps) {
  if (primitiveCount <= caps->MaxPrimitiveCount) return true;
  HvShowError("Too many primitives");
  return false;
}

uint32_t HvGeometry::PrimitivesToDraw() const { return std::min(primitivesToDraw, primitiveCount); }

uint32_t HvGeometry::VerticesToUpload() const {
  if (desc.indexCount) return desc.vertexCount;
  const uint32_t p = PrimitivesToDraw();
  uint32_t n = p;
  switch (desc.primitiveType) {
  case D3DPT_LINELIST: n = 2 * p; break;
  case D3DPT_LINESTRIP: n = p + 1; break;
  case D3DPT_TRIANGLELIST: n = 3 * p; break;
  case D3DPT_TRIANGLESTRIP:
  case D3DPT_TRIANGLEFAN: n = p + 2; break;
  default: break;
  }
  return std::min(n, desc.vertexCount);
}

bool HvGeometry::Refresh() {
  IDirect3DDevice9* d = D3DDevice();
  if (HasFlag(HvGeometryFlags::NeedsVertexBuffer)) {
    D3DCAPS9 caps = {};
    d->GetDeviceCaps(&caps);
    if (!CheckCaps(&caps)) return false;
    if (!HvCheckResult(d->CreateVertexBuffer(vertexSize * desc.vertexCount, bufferUsage, desc.vertexFormat,
                                             D3DPOOL_DEFAULT, &vertexBuffer, nullptr),
                       "Error creating vertex buffer"))
      return false;
    HvTraceWrite("Vertex buffer '" + GetName() + "' created");
    ClearFlag(HvGeometryFlags::NeedsVertexBuffer);
  }
  if (desc.indexCount) {
    if (HasFlag(HvGeometryFlags::NeedsIndexBuffer)) {
      if (!HvCheckResult(d->CreateIndexBuffer(desc.indexCount * 2, bufferUsage, D3DFMT_INDEX16, D3DPOOL_DEFAULT,
                                              &indexBuffer, nullptr),
                         "Error creating indices buffer"))
        return false;
      HvTraceWrite("Indices buffer '" + GetName() + "' created");
      ClearFlag(HvGeometryFlags::NeedsIndexBuffer);
    }
    if (!UploadIndices()) return false;
  }
  if (!UploadVertices()) return false;
  ClearFlag(HvFlags::Changed);
  return true;
}

bool HvGeometry::UploadIndices() {
  void* data = nullptr;
  if (!HvCheckResult(indexBuffer->Lock(0, desc.indexCount * 2, &data, D3DLOCK_DISCARD), "Error locking indices buffer"))
    return false;
  memcpy(data, indices.data(), desc.indexCount * 2);
  return HvCheckResult(indexBuffer->Unlock(), "Error unlocking indices buffer");
}

bool HvGeometry::UploadVertices() {
  void* data = nullptr;
  if (!HvCheckResult(vertexBuffer->Lock(0, vertexSize * desc.vertexCount, &data, D3DLOCK_DISCARD),
                     "Error locking vertex buffer"))
    return false;
  const uint32_t fvf = desc.vertexFormat;
  const uint32_t texBytes = VertexSize(fvf & (D3DFVF_TEX1 | D3DFVF_TEXCOORDSIZE1(0)));
  uint8_t* out = static_cast<uint8_t*>(data);
  auto put = [&out](const void* from, size_t bytes) {
    memcpy(out, from, bytes);
    out += bytes;
  };
  const float one = 1.0f;
  for (uint32_t v = 0, n = VerticesToUpload(); v < n; ++v) {
    if (fvf & D3DFVF_XYZ) put(&positions[v * 3], 12);
    if (fvf & D3DFVF_XYZRHW) {
      put(&positions[v * 3], 12);
      put(&one, 4);
    }
    if (fvf & D3DFVF_NORMAL) put(&normals[v * 3], 12);
    if (fvf & D3DFVF_DIFFUSE) {
      const D3DCOLOR c = ToD3DColor(&diffuse[v * 4]);
      put(&c, 4);
    }
    if (fvf & D3DFVF_SPECULAR) {
      const D3DCOLOR c = ToD3DColor(&specular[v * 4]);
      put(&c, 4);
    }
    if (fvf & D3DFVF_TEX1) put(&texCoords[0][v * 3], texBytes);
  }
  return HvCheckResult(vertexBuffer->Unlock(), "Error unlocking vertex buffer");
}

bool HvGeometry::Render() {
  HvDevice* device = HvCore::GetInstance()->GetDevice();
  IDirect3DDevice9* d = device->GetD3DDevice();
  // With a shader bound, the shader's declaration describes the vertices.
  if (!(device->GetStateFlags() & HvDevice::VertexShaderActive) &&
      !HvCheckResult(d->SetFVF(desc.vertexFormat), "Error while setting FVF"))
    return false;
  if (!HvCheckResult(d->SetStreamSource(0, vertexBuffer, 0, vertexSize), "Error while setting stream source"))
    return false;
  const D3DPRIMITIVETYPE type = D3DPRIMITIVETYPE(desc.primitiveType);
  if (!desc.indexCount)
    return HvCheckResult(d->DrawPrimitive(type, 0, PrimitivesToDraw()), "Error while drawing primitive");
  return HvCheckResult(d->SetIndices(indexBuffer), "Error while setting indices") &&
         HvCheckResult(d->DrawIndexedPrimitive(type, 0, 0, desc.vertexCount, 0, PrimitivesToDraw()),
                       "Error while drawing indexed primitive");
}

void HvGeometry::ReleaseBuffers() {
  if (vertexBuffer) HvTraceWrite("Vertex buffer '" + GetName() + "' released");
  if (indexBuffer) HvTraceWrite("Indices buffer '" + GetName() + "' released");
  HvSafeRelease(vertexBuffer);
  HvSafeRelease(indexBuffer);
}

bool HvGeometry::OnDeviceLost() {
  ReleaseBuffers();
  return true;
}

bool HvGeometry::OnDeviceReset() {
  SetFlag(HvGeometryFlags::NeedsVertexBuffer | HvGeometryFlags::NeedsIndexBuffer);
  return Refresh();
}

bool HvGeometry::Release() {
  ReleaseBuffers();
  positions = {};
  indices = {};
  normals = {};
  diffuse = {};
  specular = {};
  for (auto& t : texCoords) t = {};
  SetFlag(HvFlags::Released);
  return true;
}
