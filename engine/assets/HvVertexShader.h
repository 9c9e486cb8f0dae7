// A vs_1_1 vertex shader with the declaration of the vertex layout it reads.
// Registered in the vertex-shader pool.
#pragma once
#include "../core/HvObject.h"
#include <d3d9.h>

class HvVertexShader : public HvEngineObject {
public:
  explicit HvVertexShader(const char* name);
  ~HvVertexShader() override;

  IDirect3DVertexShader9* GetShader() const { return shader; }
  IDirect3DVertexDeclaration9* GetDeclaration() const { return declaration; }

protected:
  IDirect3DVertexShader9* shader = nullptr;            // owned
  IDirect3DVertexDeclaration9* declaration = nullptr;  // owned
};
