#include "HvXFileLoader.h"
#include "HvDecomposeMatrix.h"
#include "HvTexture.h"
#include "HvXFileCheck.h"
#include "HvXDataReader.h"
#include "HvXMeshBuilder.h"
#include "HvXTemplates.h"
#include "../core/HvCore.h"
#include "../core/HvMessageBox.h"
#include "../core/HvRelease.h"
#include "../core/HvStartupTimes.h"
#include "../render/HvAlphaProperty.h"
#include "../render/HvAnimationProperty.h"
#include "../render/HvGeometry.h"
#include "../render/HvMaterialProperty.h"
#include "../render/HvNode.h"
#include "../render/HvTexturingProperty.h"
#include <d3dx9.h>
#include <cstdio>
#include <vector>

namespace {
const char* const SubsetNodeName = "_unknown_node_name_";
std::string stepPrefix;  // "model NAME, ": the start-up steps of the file being loaded

enum AnimationKeyType : uint32_t { RotationKeys = 0, ScaleKeys = 1, PositionKeys = 2, MatrixKeys = 4 };

// Frames nested deeper than this are refused: the loader and everything that walks a node tree later
// (rendering, searching, releasing) recurse once per level. The show's models nest a few levels.
const unsigned MaxFrameDepth = 64;

bool ProcessObject(IDirectXFileData* object, HvNode* node, unsigned depth);

std::string NameOf(IDirectXFileData* object) {
  char name[1024] = {};
  DWORD size = sizeof name;
  if (FAILED(object->GetName(name, &size))) return std::string();
  return std::string(name);
}

bool ProcessFrame(IDirectXFileData* frame, HvNode* enclosing, unsigned depth) {
  if (depth > MaxFrameDepth) return false;
  const std::string name = NameOf(frame);
  HvNode* node = enclosing;
  if (!name.empty()) {
    node = new HvNode(SubsetNodeName);
    node->SetName(name);
    enclosing->AddChild(node);
  }
  return HvForEachXChild(frame, [node, depth](IDirectXFileData* child, bool) { return ProcessObject(child, node, depth + 1); });
}

// The first matrix of a frame is its frame transformation, a second one applies to its own drawing
// only; more are ignored.
bool SetFrameMatrix(IDirectXFileData* object, HvNode* node) {
  HvXDataReader r(object);
  D3DXMATRIX m;
  if (!r.Floats(&m._11, 16)) return false;
  if (!node->HasFlag(HvNodeFlags::UsePreTransform)) node->SetMatrix(HvMatrixPreTransform, m);
  else if (!node->HasFlag(HvNodeFlags::UsePostTransform)) node->SetMatrix(HvMatrixPostTransform, m);
  return true;
}

// Copies one subset's vertices and indices; indices become relative to the subset's first vertex.
void FillGeometry(const HvXMesh& mesh, const HvXSubset& subset, HvGeometry* g) {
  float* positions = g->GetPositions();
  float* normals = g->GetNormals();
  float* diffuse = g->GetDiffuse();
  float* texCoords = g->GetTexCoords();
  for (uint32_t i = 0; i < subset.vertexCount; ++i) {
    const HvXVertex& v = mesh.vertices[subset.vertexStart + i];
    std::copy(v.position, v.position + 3, positions + i * 3);
    if (normals) std::copy(v.normal, v.normal + 3, normals + i * 3);
    if (diffuse) {
      const D3DXCOLOR c(v.color);
      const float rgba[4] = {c.r, c.g, c.b, c.a};
      std::copy(rgba, rgba + 4, diffuse + i * 4);
    }
    if (texCoords) {
      texCoords[i * 3] = v.texCoord[0];
      texCoords[i * 3 + 1] = v.texCoord[1];
      texCoords[i * 3 + 2] = 0.0f;
    }
  }
  uint16_t* indices = g->GetIndices();
  for (uint32_t i = 0; i < subset.faceCount * 3; ++i)
    indices[i] = uint16_t(mesh.indices[subset.faceStart * 3 + i] - subset.vertexStart);
}

bool AddMaterial(const HvXMaterial& source, HvNode* node) {
  HvMaterial* material = new HvMaterial;
  std::copy(source.diffuse, source.diffuse + 4, material->color);
  std::copy(source.specular, source.specular + 4, material->specular);
  material->power = source.power;
  node->AddProperty(new HvMaterialProperty(material), 0);
  if (source.textureFile.empty()) return true;

  HvStartupStep step(stepPrefix + "textures");
  HvTexture* texture = HvTexture::CreateTextureFromFile(source.textureFile, D3DX_DEFAULT);
  if (!texture) return false;
  HvTexturingProperty* texturing = new HvTexturingProperty;
  texturing->SetStage(0, texture, nullptr);
  if (texture->HasTranslucentPixels()) {
    HvAlphaProperty* alpha = new HvAlphaProperty;
    alpha->bucket = 3;
    alpha->blendOp = D3DBLENDOP_ADD;
    alpha->srcBlend = D3DBLEND_SRCALPHA;
    alpha->destBlend = D3DBLEND_INVSRCALPHA;
    node->AddProperty(alpha, 0);
  }
  node->AddProperty(texturing, 0);
  return true;
}

// Subset 0 goes on the enclosing node, every further subset on a child of its own.
bool ImportMesh(IDirectXFileData* object, HvNode* node) {
  HvXMeshSource source;
  HvXMesh mesh;
  if (!HvXMeshBuilder::Read(object, source)) return false;
  HvStartupStep step(stepPrefix + "mesh build");  // vertex and index buffers included; textures apart
  if (!HvXMeshBuilder::Build(source, mesh)) return false;
  for (size_t i = 0; i < mesh.subsets.size(); ++i) {
    const HvXSubset& subset = mesh.subsets[i];
    HvGeometry* geometry =
        new HvGeometry({D3DPT_TRIANGLELIST, mesh.vertexFormat, subset.vertexCount, subset.faceCount * 3});
    HvNode* target = node;
    if (i > 0) {
      target = new HvNode(SubsetNodeName);
      target->SetMatrix(HvMatrixPostTransform, node->GetMatrix(HvMatrixPostTransform));
      node->AddChild(target);
    }
    target->SetGeometry(geometry);
    FillGeometry(mesh, subset, geometry);
    if (!geometry->Refresh() || !AddMaterial(mesh.materials[subset.attribute], target)) return false;
  }
  return true;
}

bool ReadKeys(IDirectXFileData* object, HvAnimationProperty* p) {
  HvXDataReader r(object);
  uint32_t type, count;
  if (!r.Dword(type) || !r.Dword(count) || !r.Holds(count, 8)) return false;
  const uint32_t needed[] = {4, 3, 3, 0, 16};  // values per key, by key type
  if (type >= sizeof needed / sizeof needed[0] || needed[type] == 0) return true;  // not a kind the controller plays

  std::vector<HvRotationKey> rotations;
  std::vector<HvVectorKey> scales, positions;
  for (uint32_t k = 0; k < count; ++k) {
    uint32_t time, values;
    float v[16];
    if (!r.Dword(time) || !r.Dword(values) || values != needed[type] || !r.Floats(v, values)) return false;
    if (type == RotationKeys) rotations.push_back({time, v[0], v[1], v[2], v[3]});
    else if (type == ScaleKeys) scales.push_back({time, v[0], v[1], v[2]});
    else if (type == PositionKeys) positions.push_back({time, v[0], v[1], v[2]});
    else {
      D3DXVECTOR3 t, s;
      D3DXQUATERNION q;
      DecomposeMatrix(D3DXMATRIX(v), &t, &q, &s);
      rotations.push_back({time, q.w, -q.x, -q.y, -q.z});
      positions.push_back({time, t.x, t.y, t.z});
      scales.push_back({time, s.x, s.x, s.x});  // only a uniform scale survives
    }
  }
  if (type == RotationKeys || type == MatrixKeys) p->rotationKeys.swap(rotations);
  if (type == ScaleKeys || type == MatrixKeys) p->scaleKeys.swap(scales);
  if (type == PositionKeys || type == MatrixKeys) p->positionKeys.swap(positions);
  return true;
}

// One track: its keys and the frame it moves, looked up by name below searchRoot.
bool ImportAnimation(IDirectXFileData* animation, HvNode* searchRoot) {
  HvRef<HvAnimationProperty> property(new HvAnimationProperty);
  return HvForEachXChild(animation, [&](IDirectXFileData* child, bool isReference) {
    const GUID type = HvXTypeOf(child);
    if (isReference && type == HvTidFrame) {
      HvNode* target = searchRoot->FindNode(NameOf(child).c_str());
      if (!target) return false;
      target->AddProperty(property.Get(), 0);
      return true;
    }
    if (!isReference && type == HvTidAnimationKey) return ReadKeys(child, property.Get());
    return true;
  });
}

bool ImportAnimationSet(IDirectXFileData* set, HvNode* node) {
  return HvForEachXChild(set, [node](IDirectXFileData* child, bool isReference) {
    return isReference || HvXTypeOf(child) != HvTidAnimation || ImportAnimation(child, node);
  });
}

bool ProcessObject(IDirectXFileData* object, HvNode* node, unsigned depth) {
  const GUID type = HvXTypeOf(object);
  if (type == HvTidFrame) return ProcessFrame(object, node, depth);
  if (type == HvTidFrameTransformMatrix) return SetFrameMatrix(object, node);
  if (type == HvTidMesh) return ImportMesh(object, node);
  if (type == HvTidAnimationSet) return ImportAnimationSet(object, node);
  return true;
}

// The whole file, followed by a few zero bytes: the parser may look a little past the end of the last
// token (a GUID, a string) before it sees that the data has ended.
bool ReadWholeFile(const std::string& fileName, std::vector<char>& bytes, size_t& size) {
  FILE* f = fopen(fileName.c_str(), "rb");
  if (!f) return false;
  size = 0;
  char block[65536];
  for (size_t n; (n = fread(block, 1, sizeof block, f)) > 0; size += n) bytes.insert(bytes.end(), block, block + n);
  const bool ok = !ferror(f);
  fclose(f);
  bytes.resize(size + 64, '\0');
  return ok;
}

void CollectSubtree(HvNode* node, std::vector<HvNode*>& nodes) {
  nodes.push_back(node);
  for (size_t i = 0; i < node->GetChildCount(); ++i) CollectSubtree(node->GetChild(i), nodes);
}

// Takes a failed load's nodes and geometries out of their pools at once (the pools would need one
// sweep per tree level otherwise); textures it loaded fall to the texture pool's next sweep.
void Discard(HvNode* root) {
  std::vector<HvNode*> nodes;
  CollectSubtree(root, nodes);
  root->Release();
  HvCore* core = HvCore::GetInstance();
  for (HvNode* n : nodes) {
    if (HvGeometry* g = n->GetGeometry()) {
      g->Release();
      core->GetPool(HvPoolGeometry)->Remove(g);
    }
    core->GetPool(HvPoolNode)->Remove(n);
  }
}
}

HvNode* LoadXFile(const std::string& fileName) {
  stepPrefix = "model " + fileName + ", ";
  HvStartupStep step(stepPrefix + "parse");  // all but the mesh building and the textures
  std::vector<char> bytes;
  size_t size = 0;
  if (!ReadWholeFile(fileName, bytes, size) || !HvXFileIsParsable(bytes.data(), size)) {
    const std::string text = GetFileAttributesA(fileName.c_str()) == INVALID_FILE_ATTRIBUTES
                                 ? "File '" + fileName + "' doesn't exist"
                                 : "Error parsing file '" + fileName + "'";
    HvShowError(text.c_str());
    return nullptr;
  }
  IDirectXFile* file = nullptr;
  if (FAILED(DirectXFileCreate(&file))) {
    HvShowError("Error creating DirectX file");
    return nullptr;
  }
  if (FAILED(file->RegisterTemplates(const_cast<char*>(HvXTemplateBlock), HvXTemplateBlockSize))) {
    HvShowError("Error registering templates");
    HvSafeRelease(file);
    return nullptr;
  }
  IDirectXFileEnumObject* enumerator = nullptr;
  DXFILELOADMEMORY memory = {bytes.data(), DWORD(size)};
  if (FAILED(file->CreateEnumObject(&memory, DXFILELOAD_FROMMEMORY, &enumerator))) {
    HvShowError(("Error parsing file '" + fileName + "'").c_str());
    HvSafeRelease(file);
    return nullptr;
  }

  HvRef<HvNode> root(new HvNode(fileName.c_str()));
  bool ok = true;
  IDirectXFileData* object = nullptr;
  HRESULT hr;
  const unsigned messagesBefore = HvMessageBoxCount();
  while (ok && SUCCEEDED(hr = enumerator->GetNextDataObject(&object))) {
    ok = ProcessObject(object, root.Get(), 1);
    object->Release();
  }
  // A texture or device failure has shown its message; data that parses but makes no sense (face
  // indices past the vertices, an animation of a frame that is not there) has not.
  if (!ok && HvMessageBoxCount() == messagesBefore) HvShowError(("Invalid data in file '" + fileName + "'").c_str());
  // The parser stops at the first syntax error; the objects after it would be silently missing.
  if (ok && hr != DXFILEERR_NOMOREOBJECTS) {
    HvShowError(("Error parsing file '" + fileName + "'").c_str());
    ok = false;
  }
  HvSafeRelease(enumerator);
  HvSafeRelease(file);
  if (!ok) {
    Discard(root.Get());
    return nullptr;
  }
  return root.Get();  // the node pool's reference keeps it until the caller takes it
}
