#include "HvVertexShader.h"
#include "../core/HvCore.h"
#include "../core/HvMessageBox.h"
#include "../core/HvRelease.h"
#include "../core/HvStartupTimes.h"
#include "../core/HvTrace.h"
#include "../render/HvDevice.h"
#include <d3dx9.h>
#include <cstdio>

namespace {
struct FormatElement {
  uint32_t bit;
  D3DDECLTYPE type;
  D3DDECLUSAGE usage;
  BYTE usageIndex;
  WORD bytes;
};

// In declaration order. Other FVF bits are ignored: one texture-coordinate set at most.
const FormatElement formatTable[] = {
  {D3DFVF_XYZ, D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_POSITION, 0, 12},
  {D3DFVF_XYZRHW, D3DDECLTYPE_FLOAT4, D3DDECLUSAGE_POSITIONT, 0, 16},
  {D3DFVF_NORMAL, D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_NORMAL, 0, 12},
  {D3DFVF_DIFFUSE, D3DDECLTYPE_D3DCOLOR, D3DDECLUSAGE_COLOR, 0, 4},
  {D3DFVF_SPECULAR, D3DDECLTYPE_D3DCOLOR, D3DDECLUSAGE_COLOR, 1, 4},
  {D3DFVF_TEX1, D3DDECLTYPE_FLOAT2, D3DDECLUSAGE_TEXCOORD, 0, 8},
};
static_assert(sizeof formatTable / sizeof formatTable[0] + 1 == HvVertexShader::MaxElements, "room for the end marker");
}

uint32_t HvVertexShader::BuildDeclaration(uint32_t vertexFormat, D3DVERTEXELEMENT9 elements[MaxElements]) {
  uint32_t count = 0;
  WORD offset = 0;
  for (const FormatElement& e : formatTable) {
    if (!(vertexFormat & e.bit)) continue;
    elements[count++] = {0, offset, BYTE(e.type), D3DDECLMETHOD_DEFAULT, BYTE(e.usage), e.usageIndex};
    offset += e.bytes;
  }
  elements[count++] = D3DDECL_END();
  return count;
}

HvVertexShader::HvVertexShader(const char* name, const VertexShaderDesc& desc)
    : HvEngineObject(name), source(desc.source), vertexFormat(desc.vertexFormat) {
  SetFlag(HvFlags::Changed);
  HvCore::GetInstance()->GetPool(HvPoolVertexShader)->Add(this);
}

// Release normally freed both interfaces already; this only catches an object dropped without it.
HvVertexShader::~HvVertexShader() {
  HvSafeRelease(shader);
  HvSafeRelease(declaration);
}

bool HvVertexShader::CreateShader() {
  HvStartupStep step("shader assembly", true);
  // A second call replaces the interfaces instead of leaking them.
  HvSafeRelease(shader);
  HvSafeRelease(declaration);
  IDirect3DDevice9* device = HvCore::GetInstance()->GetDevice()->GetD3DDevice();

  D3DVERTEXELEMENT9 elements[MaxElements];
  BuildDeclaration(vertexFormat, elements);
  if (FAILED(device->CreateVertexDeclaration(elements, &declaration))) {
    declaration = nullptr;
    return false;
  }

  ID3DXBuffer* code = nullptr;
  ID3DXBuffer* errors = nullptr;
  if (FAILED(D3DXAssembleShader(source.c_str(), UINT(source.size()), nullptr, nullptr, 0, &code, &errors))) {
    // The assembler's own explanation (line and cause) goes to the console beside the message box.
    if (errors) {
      fprintf(stderr, "Vertex Shader '%s': %.*s\n", GetName().c_str(), int(errors->GetBufferSize()),
              static_cast<const char*>(errors->GetBufferPointer()));
      fflush(stderr);
    }
    HvSafeRelease(errors);
    HvSafeRelease(code);
    HvShowError("Error while assembling Vertex Shader");
    return false;
  }
  HRESULT hr = device->CreateVertexShader(static_cast<const DWORD*>(code->GetBufferPointer()), &shader);
  HvSafeRelease(code);
  HvSafeRelease(errors);
  if (FAILED(hr)) {
    shader = nullptr;
    HvShowError("Error while compiling Vertex Shader");
    return false;
  }
  HvTraceWrite("Vertex Shader '" + GetName() + "' created");
  return true;
}

bool HvVertexShader::ReleaseShader() {
  HvSafeRelease(declaration);
  if (shader) {
    HvSafeRelease(shader);
    HvTraceWrite("Vertex Shader '" + GetName() + "' released");
  }
  return true;
}

bool HvVertexShader::Refresh() {
  if (!CreateShader()) return false;
  ClearFlag(HvFlags::Changed);
  return true;
}

bool HvVertexShader::Release() {
  ReleaseShader();
  SetFlag(HvFlags::Released);
  return true;
}
