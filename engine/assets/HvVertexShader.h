// A vs_1_1 vertex shader: its assembly text, the vertex layout it reads (FVF bits) and the Direct3D
// shader and declaration built from them. Registered in the vertex-shader pool under its name.
// Shaders and declarations survive a device reset, so nothing is re-made then.
#pragma once
#include "../core/HvObject.h"
#include <d3d9.h>
#include <cstdint>
#include <string>

struct VertexShaderDesc {
  std::string source;     // complete assembly text
  uint32_t vertexFormat;  // D3DFVF_* bits of the vertex stream
};

class HvVertexShader : public HvEngineObject {
public:
  // One element per FVF bit that the table knows, plus the end marker.
  static const uint32_t MaxElements = 7;
  // Fills `elements` with the declaration of `vertexFormat` and returns the number of elements written,
  // end marker included. The element offsets add up to the vertex stride.
  static uint32_t BuildDeclaration(uint32_t vertexFormat, D3DVERTEXELEMENT9 elements[MaxElements]);

  HvVertexShader(const char* name, const VertexShaderDesc& desc);  // no device objects yet: Changed set
  ~HvVertexShader() override;

  bool Refresh() override;   // CreateShader; Changed stays set on failure
  bool Release() override;

  bool CreateShader();
  bool ReleaseShader();

  IDirect3DVertexShader9* GetShader() const { return shader; }
  IDirect3DVertexDeclaration9* GetDeclaration() const { return declaration; }
  const std::string& GetSource() const { return source; }
  uint32_t GetVertexFormat() const { return vertexFormat; }

protected:
  std::string source;
  uint32_t vertexFormat;
  IDirect3DVertexShader9* shader = nullptr;            // owned
  IDirect3DVertexDeclaration9* declaration = nullptr;  // owned
};
