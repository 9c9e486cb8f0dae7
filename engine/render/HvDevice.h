// The rendering device: the only path by which the engine changes Direct3D state. Every operation
// reports a failure in a message box naming it and returns false.
#pragma once
#include "HvMaterial.h"
#include "../core/HvObject.h"
#include <d3d9.h>
#include <cstdint>

class HvTexture;
class HvLight;
class HvVertexShader;
class HvAlphaProperty;
class HvZBufferProperty;
class HvCullingProperty;
class HvLightingProperty;
class HvCamera;
class HvTextureSampler;
class HvTextureStageState;
class HvVertexShaderProperty;

// Four floats r, g, b, a to ARGB: each times 255, truncated, low 8 bits kept (no clamping).
D3DCOLOR ToD3DColor(float r, float g, float b, float a);
inline D3DCOLOR ToD3DColor(const float c[4]) { return ToD3DColor(c[0], c[1], c[2], c[3]); }

// Shows the message and returns false when hr is a failure: the one failure path of device calls.
bool HvCheckResult(HRESULT hr, const char* message);

// The properties in force during a traversal, one counted reference per kind, all null outside
// one. Restoring the default states empties the device-bound ones.
struct HvRenderRegisters {
  HvRenderRegisters();
  ~HvRenderRegisters();

  HvRef<HvMaterial> material;
  HvRef<HvAlphaProperty> alpha;
  HvRef<HvZBufferProperty> zBuffer;
  HvRef<HvCullingProperty> culling;
  HvRef<HvLightingProperty> lighting;
  HvRef<HvCamera> camera;
  uint32_t enabledLights = 0;  // fixed-function lights 0..n-1 last switched on by a lighting property

  // Texturing, per stage 0..7: the texture bound, its sampler record and the stage-state record
  // last written (null: the defaults a texturing property writes when a record is missing).
  HvRef<HvTexture> textures[8];
  HvRef<HvTextureSampler> samplers[8];
  HvRef<HvTextureStageState> stageStates[8];
  const float* textureFactor = nullptr;  // not owned: the colour of the texturing property in force

  HvRef<HvVertexShader> vertexShader;
  HvRef<HvVertexShaderProperty> vertexShaderProperty;  // supplies the per-node constants
};

class HvDevice : public HvEngineObject {
public:
  enum StateFlags : uint32_t {
    VertexShaderActive = 0x1,  // a vertex shader is bound: material and light calls are skipped
    SpecularEnabled = 0x2,     // the value last written to D3DRS_SPECULARENABLE
  };

  HvDevice() : HvEngineObject("Rendering device") {}
  ~HvDevice() override;

  bool SetRenderState(D3DRENDERSTATETYPE state, DWORD value);
  bool SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value);
  bool SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value);
  bool SetVertexShaderConstant(UINT firstRegister, const float* data, UINT registerCount);
  bool SetTexture(DWORD stage, const HvTexture* texture);    // null unbinds the stage
  bool SetLight(DWORD index, const HvLight* light, bool enable);
  bool SetMaterial(const HvMaterial* material);              // null: all zero, specular off
  bool SetVertexShader(const HvVertexShader* shader);        // null: fixed function
  bool Clear(DWORD flags, const float color[4], float z, DWORD stencil);
  bool RestoreDefaultStates();

  bool PostCreate() override { return RestoreDefaultStates(); }
  bool Release() override;
  bool BeginFrame() override;   // BeginScene
  bool EndFrame() override;     // EndScene, Present
  bool ResetDevice() override;  // waits until the device can be reset; dispatches window messages

  IDirect3DDevice9* GetD3DDevice() const { return device; }
  // References to the Direct3D device that were still held when Release let go of its own: every
  // resource that outlives it keeps one. 0 after a clean shutdown.
  ULONG GetReferencesLeft() const { return referencesLeft; }
  void SetD3DDevice(IDirect3DDevice9* d) { device = d; }  // takes over the caller's reference
  uint32_t GetStateFlags() const { return stateFlags; }
  HvRenderRegisters& Registers() { return registers; }

private:
  IDirect3DDevice9* device = nullptr;  // owned
  ULONG referencesLeft = 0;
  uint32_t stateFlags = 0;
  HvRenderRegisters registers;
};
