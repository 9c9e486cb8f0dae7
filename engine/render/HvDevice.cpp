#include "HvDevice.h"
#include "HvAlphaProperty.h"
#include "HvCamera.h"
#include "HvCullingProperty.h"
#include "HvLight.h"
#include "HvLightingProperty.h"
#include "HvMaterial.h"
#include "HvTextureStageState.h"
#include "HvVertexShaderProperty.h"
#include "HvZBufferProperty.h"
#include "../assets/HvTexture.h"
#include "../assets/HvVertexShader.h"
#include "../core/HvCore.h"
#include "../core/HvDeviceSettings.h"
#include "../core/HvMessageBox.h"
#include "../core/HvRelease.h"

D3DCOLOR ToD3DColor(float r, float g, float b, float a) {
  auto channel = [](float v) { return DWORD(int(v * 255.0f)) & 0xFF; };
  return (channel(a) << 24) | (channel(r) << 16) | (channel(g) << 8) | channel(b);
}

bool HvCheckResult(HRESULT hr, const char* message) {
  if (SUCCEEDED(hr)) return true;
  HvShowError(message);
  return false;
}

HvRenderRegisters::HvRenderRegisters() = default;
HvRenderRegisters::~HvRenderRegisters() = default;

HvDevice::~HvDevice() { HvSafeRelease(device); }

bool HvDevice::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
  return HvCheckResult(device->SetRenderState(state, value), "Error while setting render state");
}

bool HvDevice::SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) {
  return HvCheckResult(device->SetSamplerState(sampler, type, value), "Error while setting texture sampler");
}

bool HvDevice::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) {
  return HvCheckResult(device->SetTextureStageState(stage, type, value), "Error while setting texture stage state");
}

bool HvDevice::SetVertexShaderConstant(UINT firstRegister, const float* data, UINT registerCount) {
  return HvCheckResult(device->SetVertexShaderConstantF(firstRegister, data, registerCount), "Error while setting constant registry");
}

bool HvDevice::SetTexture(DWORD stage, const HvTexture* texture) {
  IDirect3DBaseTexture9* t = texture ? texture->GetD3DTexture() : nullptr;
  return HvCheckResult(device->SetTexture(stage, t), "Error while setting texture");
}

bool HvDevice::SetLight(DWORD index, const HvLight* light, bool enable) {
  if (stateFlags & VertexShaderActive) return true;
  D3DLIGHT9 l = {};
  if (light) light->GetD3DLight(l);
  // Direct3D refuses the all-zero description (no light type): an index only being switched off keeps its own.
  if ((light || enable) && !HvCheckResult(device->SetLight(index, &l), "Error while setting the light")) return false;
  return HvCheckResult(device->LightEnable(index, enable), "Error while enabling (disabling) the light");
}

bool HvDevice::SetMaterial(const HvMaterial* material) {
  D3DMATERIAL9 m = {};
  if (material) {
    const float* c = material->color;
    const float* s = material->specular;
    m.Diffuse = m.Ambient = {c[0], c[1], c[2], c[3]};
    m.Specular = {s[0], s[1], s[2], s[3]};
    m.Emissive = {0, 0, 0, 1};
    m.Power = material->power;
  }
  const bool specular = material && material->power > 0;
  if (specular != bool(stateFlags & SpecularEnabled)) {
    if (!HvCheckResult(device->SetRenderState(D3DRS_SPECULARENABLE, specular), "Error while setting specular lighting")) return false;
    stateFlags ^= SpecularEnabled;
  }
  if (stateFlags & VertexShaderActive) return true;  // the shader's constants carry the material
  return HvCheckResult(device->SetMaterial(&m), "Error while setting material");
}

bool HvDevice::SetVertexShader(const HvVertexShader* shader) {
  if (!HvCheckResult(device->SetVertexDeclaration(shader ? shader->GetDeclaration() : nullptr), "Error while setting Vertex Declaration") ||
      !HvCheckResult(device->SetVertexShader(shader ? shader->GetShader() : nullptr), "Error while setting Vertex Shader"))
    return false;
  if (shader) stateFlags |= VertexShaderActive;
  else stateFlags &= ~VertexShaderActive;
  return true;
}

bool HvDevice::Clear(DWORD flags, const float color[4], float z, DWORD stencil) {
  return HvCheckResult(device->Clear(0, nullptr, flags, ToD3DColor(color), z, stencil), "Error while clearing the viewport");
}

bool HvDevice::RestoreDefaultStates() {
  registers.material.Reset();
  registers.enabledLights = 0;  // a new or reset device has every light off
  for (uint32_t s = 0; s < 8; ++s) {
    registers.textures[s].Reset();
    registers.samplers[s].Reset();
    registers.stageStates[s].Reset();
  }
  registers.textureFactor = nullptr;
  registers.vertexShader.Reset();
  registers.vertexShaderProperty.Reset();
  if (!SetMaterial(nullptr) || !SetVertexShader(nullptr) || !SetTexture(0, nullptr)) return false;
  for (DWORD s = 0; s < 8; ++s) {
    if (!SetSamplerState(s, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR) || !SetSamplerState(s, D3DSAMP_MINFILTER, D3DTEXF_LINEAR) ||
        !SetSamplerState(s, D3DSAMP_MIPFILTER, D3DTEXF_LINEAR))
      return false;
  }
  return true;
}

bool HvDevice::Release() {
  if (device) referencesLeft = device->Release();
  device = nullptr;
  SetFlag(HvFlags::Released);
  return true;
}

bool HvDevice::BeginFrame() { return HvCheckResult(device->BeginScene(), "Error while begining scene"); }

bool HvDevice::EndFrame() {
  return HvCheckResult(device->EndScene(), "Error while ending scene") &&
         HvCheckResult(device->Present(nullptr, nullptr, nullptr, nullptr), "Error while presenting scene");
}

bool HvDevice::ResetDevice() {
  D3DPRESENT_PARAMETERS p = HvMakePresentParameters(HvCore::GetInstance()->GetSettings());
  for (;;) {
    HRESULT level;
    do {
      MSG msg;
      if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
      level = device->TestCooperativeLevel();
    } while (level != D3DERR_DEVICENOTRESET);
    HRESULT hr = device->Reset(&p);
    if (hr == D3DERR_DEVICELOST) continue;
    if (!HvCheckResult(hr, "Error while reseting device")) return false;
    if (!RestoreDefaultStates()) return false;
    stateFlags = 0;
    return true;
  }
}
