#include "CEffectBlob.h"
#include "MarchingCubes.h"
#include "ShowShaders.h"
#include "../../engine/assets/HvTexture.h"
#include "../../engine/render/HvCullingProperty.h"
#include "../../engine/render/HvGeometry.h"
#include "../../engine/render/HvNode.h"
#include "../../engine/render/HvTexturingProperty.h"
#include <cmath>

static const char* kRampFile = "Blob\\BlobColor.bmp";  // u = |normal . eye|: 0 at the rim, 1 facing

CEffectBlob::CEffectBlob(const char* name) : CObject(name) {}

CEffectBlob::~CEffectBlob() = default;

void CEffectBlob::InitGrid(float sx, float sy, float sz, int nx, int ny, int nz) {
  gridSize[0] = sx, gridSize[1] = sy, gridSize[2] = sz;
  cells[0] = nx, cells[1] = ny, cells[2] = nz;
  grid.reset(new BlobGridPoint[size_t(nx + 1) * (ny + 1) * (nz + 1)]);
  for (int k = 0; k <= nz; ++k)
    for (int j = 0; j <= ny; ++j)
      for (int i = 0; i <= nx; ++i) {
        BlobGridPoint& g = grid[Index(i, j, k)];
        g.x = i * sx / nx - sx / 2;
        g.y = j * sy / ny - sy / 2;
        g.z = k * sz / nz - sz / 2;
        g.value = 0;
      }
}

bool CEffectBlob::Create() {
  geometry = new HvGeometry({D3DPT_TRIANGLELIST, D3DFVF_XYZ | D3DFVF_NORMAL, MaxVertices, 0});
  if (!CreateNodeWith("blob_node", geometry.Get())) return false;

  auto* texturing = new HvTexturingProperty;
  if (HvTexture* ramp = HvTexture::CreateTextureFromFile(kRampFile, D3DX_DEFAULT)) {  // else already reported
    if (!ramp->GetSampler()) ramp->SetSampler(new HvTextureSampler);
    HvTextureSampler* s = ramp->GetSampler();
    s->SetSamplerField(HvTextureSampler::AddressU, D3DTADDRESS_CLAMP);
    s->SetSamplerField(HvTextureSampler::AddressV, D3DTADDRESS_CLAMP);
    s->SetSamplerField(HvTextureSampler::AddressW, D3DTADDRESS_CLAMP);
    s->SetSamplerField(HvTextureSampler::MagFilter, D3DTEXF_POINT);
    s->SetSamplerField(HvTextureSampler::MinFilter, D3DTEXF_POINT);
    s->SetSamplerField(HvTextureSampler::MipFilter, D3DTEXF_NONE);
    texturing->SetStage(0, ramp, nullptr);
  }
  node->AddProperty(texturing, 3);
  node->AddProperty(new HvCullingProperty(D3DCULL_NONE), 3);

  // A failure is reported; the blob is then drawn without its shader.
  node->AddProperty(CreateShaderProperty(kBlobShader), 3);
  return true;
}

bool CEffectBlob::Update() {
  EvaluateField();
  BuildSurface();
  return CObject::Update();
}

void CEffectBlob::EvaluateField() {
  const int count = (cells[0] + 1) * (cells[1] + 1) * (cells[2] + 1);
  for (int n = 0; n < count; ++n) {
    BlobGridPoint& g = grid[n];
    float value = 0;
    for (const D3DXVECTOR3& c : sources) {
      const float dx = g.x - c.x, dy = g.y - c.y, dz = g.z - c.z;
      float d = sqrtf(dx * dx + dy * dy + dz * dz);
      if (d == 0) d = 0.01f;
      const float contribution = 1 / d - 1;
      if (contribution > 0) value += contribution;
    }
    g.value = value;
  }
}

uint32_t CEffectBlob::Triangulate(float* positions, float* normals, uint32_t maxTriangles) const {
  // Corner c of cell (i, j, k) is grid point (i + di, j + dj, k + dk).
  static const int kCorner[8][3] = {{0, 1, 1}, {1, 1, 1}, {1, 1, 0}, {0, 1, 0},
                                    {0, 0, 1}, {1, 0, 1}, {1, 0, 0}, {0, 0, 0}};
  uint32_t written = 0;
  BlobCell cell;
  BlobTriangle triangles[MaxCellTriangles];
  for (int k = 0; k < cells[2]; ++k)
    for (int j = 0; j < cells[1]; ++j)
      for (int i = 0; i < cells[0]; ++i) {
        for (int c = 0; c < 8; ++c) {
          const BlobGridPoint& g = grid[Index(i + kCorner[c][0], j + kCorner[c][1], k + kCorner[c][2])];
          cell.p[c] = D3DXVECTOR3(g.x, g.y, g.z);
          cell.value[c] = g.value;
        }
        const int n = Polygonise(cell, isoLevel, triangles);
        for (int t = 0; t < n; ++t) {
          if (written == maxTriangles) return written;  // the mesh is full: the rest is dropped
          const BlobTriangle& tri = triangles[t];
          D3DXVECTOR3 normal, a = tri.p[0] - tri.p[2], b = tri.p[1] - tri.p[2];
          D3DXVec3Cross(&normal, &a, &b);
          D3DXVec3Normalize(&normal, &normal);
          for (int v = 0; v < 3; ++v) {
            float* p = positions + 9 * written + 3 * v;
            float* q = normals + 9 * written + 3 * v;
            p[0] = tri.p[v].x, p[1] = tri.p[v].y, p[2] = tri.p[v].z;
            q[0] = normal.x, q[1] = normal.y, q[2] = normal.z;
          }
          ++written;
        }
      }
  return written;
}

void CEffectBlob::BuildSurface() {
  const uint32_t count = Triangulate(geometry->GetPositions(), geometry->GetNormals(), MaxVertices / 3);
  geometry->SetPrimitivesToDraw(count);
  geometry->Refresh();
}
