#include "FakeDevice.h"
#include <algorithm>
#include <cstring>

namespace {
// A vertex or index buffer in plain memory. Lock hands out the memory; Unlock of a vertex buffer
// copies its bytes into the device's upload list.
template <class Interface, class Desc> class FakeBuffer : public Interface {
public:
  FakeBuffer(FakeDevice& device, const char* kind, UINT length, bool vertices)
      : device(device), kind(kind), bytes(length), vertices(vertices) {
    device.BufferCreated();
  }
  virtual ~FakeBuffer() { device.BufferDestroyed(); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --refs;
    if (left == 0) delete this;
    return left;
  }
  HRESULT STDMETHODCALLTYPE GetDevice(IDirect3DDevice9** out) override {
    *out = &device;
    return D3D_OK;
  }
  HRESULT STDMETHODCALLTYPE SetPrivateData(REFGUID, const void*, DWORD, DWORD) override { return D3D_OK; }
  HRESULT STDMETHODCALLTYPE GetPrivateData(REFGUID, void*, DWORD*) override { return D3DERR_NOTFOUND; }
  HRESULT STDMETHODCALLTYPE FreePrivateData(REFGUID) override { return D3D_OK; }
  DWORD STDMETHODCALLTYPE SetPriority(DWORD) override { return 0; }
  DWORD STDMETHODCALLTYPE GetPriority() override { return 0; }
  void STDMETHODCALLTYPE PreLoad() override {}
  D3DRESOURCETYPE STDMETHODCALLTYPE GetType() override { return vertices ? D3DRTYPE_VERTEXBUFFER : D3DRTYPE_INDEXBUFFER; }
  // a: offset, b: size, c: flags
  HRESULT STDMETHODCALLTYPE Lock(UINT offset, UINT size, void** data, DWORD flags) override {
    HRESULT hr = device.Record(kind + "::Lock", offset, size, flags);
    *data = SUCCEEDED(hr) ? bytes.data() + offset : nullptr;
    return hr;
  }
  HRESULT STDMETHODCALLTYPE Unlock() override {
    HRESULT hr = device.Record(kind + "::Unlock");
    if (SUCCEEDED(hr) && vertices) device.vertexUploads.push_back(bytes);
    return hr;
  }
  HRESULT STDMETHODCALLTYPE GetDesc(Desc* desc) override {
    *desc = Desc();
    desc->Size = UINT(bytes.size());
    return D3D_OK;
  }

private:
  FakeDevice& device;
  std::string kind;
  std::vector<BYTE> bytes;
  bool vertices;
  ULONG refs = 1;
};

using FakeVertexBuffer = FakeBuffer<IDirect3DVertexBuffer9, D3DVERTEXBUFFER_DESC>;
using FakeIndexBuffer = FakeBuffer<IDirect3DIndexBuffer9, D3DINDEXBUFFER_DESC>;

const char* const stateMethods[] = {
  "SetRenderState", "SetSamplerState", "SetTextureStageState", "SetMaterial", "SetLight", "LightEnable",
  "SetTransform", "SetTexture", "SetVertexShader", "SetVertexDeclaration", "SetFVF", "SetStreamSource",
  "SetIndices", "SetVertexShaderConstantF",
};
}

FakeDevice::FakeDevice() { caps.MaxPrimitiveCount = 0xFFFFF; }
FakeDevice::~FakeDevice() = default;

HRESULT FakeDevice::Record(const std::string& method, DWORD a, DWORD b, DWORD c) {
  calls.push_back({method, a, b, c});
  auto s = scripts.find(method);
  if (s != scripts.end() && !s->second.empty()) {
    const HRESULT scripted = s->second.front();
    s->second.pop_front();
    return scripted;
  }
  auto f = failures.find(method);
  return f == failures.end() ? D3D_OK : f->second;
}

size_t FakeDevice::Count(const std::string& method) const {
  return std::count_if(calls.begin(), calls.end(), [&](const FakeCall& c) { return c.method == method; });
}

std::vector<FakeCall> FakeDevice::Calls(const std::string& method) const {
  std::vector<FakeCall> out;
  for (const FakeCall& c : calls)
    if (c.method == method) out.push_back(c);
  return out;
}

size_t FakeDevice::StateCalls() const {
  size_t n = 0;
  for (const char* m : stateMethods) n += Count(m);
  return n;
}

std::vector<std::string> FakeDevice::Methods() const {
  std::vector<std::string> out;
  for (const FakeCall& c : calls) out.push_back(c.method);
  return out;
}

HRESULT STDMETHODCALLTYPE FakeDevice::QueryInterface(REFIID, void** out) {
  *out = nullptr;
  return E_NOINTERFACE;
}

// The test owns the device: the count only tells how many references the engine still holds.
ULONG STDMETHODCALLTYPE FakeDevice::AddRef() { return ++refs; }
ULONG STDMETHODCALLTYPE FakeDevice::Release() { return --refs; }

HRESULT STDMETHODCALLTYPE FakeDevice::TestCooperativeLevel() {
  HRESULT hr = Record("TestCooperativeLevel");
  return FAILED(hr) ? hr : cooperativeLevel;
}

HRESULT STDMETHODCALLTYPE FakeDevice::GetDeviceCaps(D3DCAPS9* out) {
  HRESULT hr = Record("GetDeviceCaps");
  if (SUCCEEDED(hr)) *out = caps;
  return hr;
}

// a: length, b: usage, c: FVF
HRESULT STDMETHODCALLTYPE FakeDevice::CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL, IDirect3DVertexBuffer9** out, HANDLE*) {
  HRESULT hr = Record("CreateVertexBuffer", length, usage, fvf);
  *out = SUCCEEDED(hr) ? new FakeVertexBuffer(*this, "VertexBuffer", length, true) : nullptr;
  return hr;
}

// a: length, b: usage, c: format
HRESULT STDMETHODCALLTYPE FakeDevice::CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL, IDirect3DIndexBuffer9** out, HANDLE*) {
  HRESULT hr = Record("CreateIndexBuffer", length, usage, format);
  *out = SUCCEEDED(hr) ? new FakeIndexBuffer(*this, "IndexBuffer", length, false) : nullptr;
  return hr;
}

// a: flags, b: colour, c: stencil
HRESULT STDMETHODCALLTYPE FakeDevice::Clear(DWORD, const D3DRECT*, DWORD flags, D3DCOLOR color, float, DWORD stencil) {
  return Record("Clear", flags, color, stencil);
}

// a: transform state
HRESULT STDMETHODCALLTYPE FakeDevice::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) {
  HRESULT hr = Record("SetTransform", state);
  if (SUCCEEDED(hr)) transforms[state] = *matrix;
  return hr;
}

// a: 1 when the material has a specular power
HRESULT STDMETHODCALLTYPE FakeDevice::SetMaterial(const D3DMATERIAL9* m) {
  HRESULT hr = Record("SetMaterial", m->Power > 0);
  if (SUCCEEDED(hr)) material = *m;
  return hr;
}

// a: index, b: light type
HRESULT STDMETHODCALLTYPE FakeDevice::SetLight(DWORD index, const D3DLIGHT9* light) {
  HRESULT hr = Record("SetLight", index, light->Type);
  if (SUCCEEDED(hr)) lights[index] = *light;
  return hr;
}

// a: index, b: enable
HRESULT STDMETHODCALLTYPE FakeDevice::LightEnable(DWORD index, WINBOOL enable) {
  HRESULT hr = Record("LightEnable", index, enable);
  if (SUCCEEDED(hr)) lightEnabled[index] = enable;
  return hr;
}

// a: state, b: value
HRESULT STDMETHODCALLTYPE FakeDevice::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
  HRESULT hr = Record("SetRenderState", state, value);
  if (SUCCEEDED(hr)) renderStates[state] = value;
  return hr;
}

// a: stage, b: 1 when a texture is bound
HRESULT STDMETHODCALLTYPE FakeDevice::SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) {
  return Record("SetTexture", stage, texture != nullptr);
}

// a: stage, b: type, c: value
HRESULT STDMETHODCALLTYPE FakeDevice::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) {
  HRESULT hr = Record("SetTextureStageState", stage, type, value);
  if (SUCCEEDED(hr)) stageStates[{stage, type}] = value;
  return hr;
}

// a: sampler, b: type, c: value
HRESULT STDMETHODCALLTYPE FakeDevice::SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) {
  HRESULT hr = Record("SetSamplerState", sampler, type, value);
  if (SUCCEEDED(hr)) samplerStates[{sampler, type}] = value;
  return hr;
}

// a: primitive type, b: start vertex, c: primitive count
HRESULT STDMETHODCALLTYPE FakeDevice::DrawPrimitive(D3DPRIMITIVETYPE type, UINT start, UINT count) {
  return Record("DrawPrimitive", type, start, count);
}

// a: primitive type, b: vertex count, c: primitive count
HRESULT STDMETHODCALLTYPE FakeDevice::DrawIndexedPrimitive(D3DPRIMITIVETYPE type, INT, UINT, UINT vertices, UINT, UINT count) {
  return Record("DrawIndexedPrimitive", type, vertices, count);
}

// a: 1 when a declaration is bound
HRESULT STDMETHODCALLTYPE FakeDevice::SetVertexDeclaration(IDirect3DVertexDeclaration9* declaration) {
  return Record("SetVertexDeclaration", declaration != nullptr);
}

// a: FVF
HRESULT STDMETHODCALLTYPE FakeDevice::SetFVF(DWORD fvf) { return Record("SetFVF", fvf); }

// a: 1 when a shader is bound
HRESULT STDMETHODCALLTYPE FakeDevice::SetVertexShader(IDirect3DVertexShader9* shader) {
  return Record("SetVertexShader", shader != nullptr);
}

// a: first register, b: register count
HRESULT STDMETHODCALLTYPE FakeDevice::SetVertexShaderConstantF(UINT first, const float* data, UINT count) {
  HRESULT hr = Record("SetVertexShaderConstantF", first, count);
  if (SUCCEEDED(hr))
    for (UINT i = 0; i < count; ++i) vertexConstants[first + i].assign(data + 4 * i, data + 4 * i + 4);
  return hr;
}

// a: stream, b: 1 when a buffer is bound, c: stride
HRESULT STDMETHODCALLTYPE FakeDevice::SetStreamSource(UINT stream, IDirect3DVertexBuffer9* buffer, UINT, UINT stride) {
  return Record("SetStreamSource", stream, buffer != nullptr, stride);
}

// a: 1 when a buffer is bound
HRESULT STDMETHODCALLTYPE FakeDevice::SetIndices(IDirect3DIndexBuffer9* buffer) { return Record("SetIndices", buffer != nullptr); }

// Everything else: logged by name, success unless told otherwise.
UINT STDMETHODCALLTYPE FakeDevice::GetAvailableTextureMem() {
  Record("GetAvailableTextureMem");
  return 256u << 20;
}
HRESULT STDMETHODCALLTYPE FakeDevice::EvictManagedResources() { return Record("EvictManagedResources"); }
HRESULT STDMETHODCALLTYPE FakeDevice::GetDirect3D(IDirect3D9** ppD3D9) { return Record("GetDirect3D"); }
HRESULT STDMETHODCALLTYPE FakeDevice::GetDisplayMode(UINT iSwapChain, D3DDISPLAYMODE* pMode) { return Record("GetDisplayMode"); }
HRESULT STDMETHODCALLTYPE FakeDevice::GetCreationParameters(D3DDEVICE_CREATION_PARAMETERS *pParameters) { return Record("GetCreationParameters"); }
HRESULT STDMETHODCALLTYPE FakeDevice::SetCursorProperties(UINT XHotSpot, UINT YHotSpot, IDirect3DSurface9* pCursorBitmap) { return Record("SetCursorProperties"); }
void STDMETHODCALLTYPE FakeDevice::SetCursorPosition(int X,int Y, DWORD Flags) { Record("SetCursorPosition"); }
WINBOOL STDMETHODCALLTYPE FakeDevice::ShowCursor(WINBOOL bShow) {
  Record("ShowCursor");
  return 0;
}
HRESULT STDMETHODCALLTYPE FakeDevice::CreateAdditionalSwapChain(D3DPRESENT_PARAMETERS* pPresentationParameters, IDirect3DSwapChain9** pSwapChain) { return Record("CreateAdditionalSwapChain"); }
HRESULT STDMETHODCALLTYPE FakeDevice::GetSwapChain(UINT iSwapChain, IDirect3DSwapChain9** pSwapChain) { return Record("GetSwapChain"); }
UINT STDMETHODCALLTYPE FakeDevice::GetNumberOfSwapChains() {
  Record("GetNumberOfSwapChains");
  return 1;
}
// a: back buffer width, b: height, c: windowed
HRESULT STDMETHODCALLTYPE FakeDevice::Reset(D3DPRESENT_PARAMETERS* p) {
  return Record("Reset", p->BackBufferWidth, p->BackBufferHeight, p->Windowed);
}
HRESULT STDMETHODCALLTYPE FakeDevice::Present(const RECT *src_rect, const RECT *dst_rect, HWND dst_window_override, const RGNDATA *dirty_region) { return Record("Present"); }
HRESULT STDMETHODCALLTYPE FakeDevice::GetBackBuffer(UINT iSwapChain, UINT iBackBuffer, D3DBACKBUFFER_TYPE Type, IDirect3DSurface9** ppBackBuffer) { return Record("GetBackBuffer"); }
HRESULT STDMETHODCALLTYPE FakeDevice::GetRasterStatus(UINT iSwapChain, D3DRASTER_STATUS* pRasterStatus) { return Record("GetRasterStatus"); }
HRESULT STDMETHODCALLTYPE FakeDevice::SetDialogBoxMode(WINBOOL bEnableDialogs) { return Record("SetDialogBoxMode"); }
void STDMETHODCALLTYPE FakeDevice::SetGammaRamp(UINT swapchain_idx, DWORD flags, const D3DGAMMARAMP *ramp) { Record("SetGammaRamp"); }
void STDMETHODCALLTYPE FakeDevice::GetGammaRamp(UINT iSwapChain, D3DGAMMARAMP* pRamp) { Record("GetGammaRamp"); }
HRESULT STDMETHODCALLTYPE FakeDevice::CreateTexture(UINT Width, UINT Height, UINT Levels, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool, IDirect3DTexture9** ppTexture, HANDLE* pSharedHandle) { return Record("CreateTexture"); }
HRESULT STDMETHODCALLTYPE FakeDevice::CreateVolumeTexture(UINT Width, UINT Height, UINT Depth, UINT Levels, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool, IDirect3DVolumeTexture9** ppVolumeTexture, HANDLE* pSharedHandle) { return Record("CreateVolumeTexture"); }
HRESULT STDMETHODCALLTYPE FakeDevice::CreateCubeTexture(UINT EdgeLength, UINT Levels, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool, IDirect3DCubeTexture9** ppCubeTexture, HANDLE* pSharedHandle) { return Record("CreateCubeTexture"); }
HRESULT STDMETHODCALLTYPE FakeDevice::CreateRenderTarget(UINT Width, UINT Height, D3DFORMAT Format, D3DMULTISAMPLE_TYPE MultiSample, DWORD MultisampleQuality, WINBOOL Lockable, IDirect3DSurface9** ppSurface, HANDLE* pSharedHandle) { return Record("CreateRenderTarget"); }
HRESULT STDMETHODCALLTYPE FakeDevice::CreateDepthStencilSurface(UINT Width, UINT Height, D3DFORMAT Format, D3DMULTISAMPLE_TYPE MultiSample, DWORD MultisampleQuality, WINBOOL Discard, IDirect3DSurface9** ppSurface, HANDLE* pSharedHandle) { return Record("CreateDepthStencilSurface"); }
HRESULT STDMETHODCALLTYPE FakeDevice::UpdateSurface(IDirect3DSurface9 *src_surface, const RECT *src_rect, IDirect3DSurface9 *dst_surface, const POINT *dst_point) { return Record("UpdateSurface"); }
HRESULT STDMETHODCALLTYPE FakeDevice::UpdateTexture(IDirect3DBaseTexture9* pSourceTexture, IDirect3DBaseTexture9* pDestinationTexture) { return Record("UpdateTexture"); }
HRESULT STDMETHODCALLTYPE FakeDevice::GetRenderTargetData(IDirect3DSurface9* pRenderTarget, IDirect3DSurface9* pDestSurface) { return Record("GetRenderTargetData"); }
HRESULT STDMETHODCALLTYPE FakeDevice::GetFrontBufferData(UINT iSwapChain, IDirect3DSurface9* pDestSurface) { return Record("GetFrontBufferData"); }
HRESULT STDMETHODCALLTYPE FakeDevice::StretchRect(IDirect3DSurface9 *src_surface, const RECT *src_rect, IDirect3DSurface9 *dst_surface, const RECT *dst_rect, D3DTEXTUREFILTERTYPE filter) { return Record("StretchRect"); }
HRESULT STDMETHODCALLTYPE FakeDevice::ColorFill(IDirect3DSurface9 *surface, const RECT *rect, D3DCOLOR color) { return Record("ColorFill"); }
HRESULT STDMETHODCALLTYPE FakeDevice::CreateOffscreenPlainSurface(UINT Width, UINT Height, D3DFORMAT Format, D3DPOOL Pool, IDirect3DSurface9** ppSurface, HANDLE* pSharedHandle) { return Record("CreateOffscreenPlainSurface"); }
HRESULT STDMETHODCALLTYPE FakeDevice::SetRenderTarget(DWORD RenderTargetIndex, IDirect3DSurface9* pRenderTarget) { return Record("SetRenderTarget"); }
HRESULT STDMETHODCALLTYPE FakeDevice::GetRenderTarget(DWORD RenderTargetIndex, IDirect3DSurface9** ppRenderTarget) { return Record("GetRenderTarget"); }
HRESULT STDMETHODCALLTYPE FakeDevice::SetDepthStencilSurface(IDirect3DSurface9* pNewZStencil) { return Record("SetDepthStencilSurface"); }
HRESULT STDMETHODCALLTYPE FakeDevice::GetDepthStencilSurface(IDirect3DSurface9** ppZStencilSurface) { return Record("GetDepthStencilSurface"); }
HRESULT STDMETHODCALLTYPE FakeDevice::BeginScene() { return Record("BeginScene"); }
HRESULT STDMETHODCALLTYPE FakeDevice::EndScene() { return Record("EndScene"); }
HRESULT STDMETHODCALLTYPE FakeDevice::GetTransform(D3DTRANSFORMSTATETYPE State, D3DMATRIX* pMatrix) { return Record("GetTransform"); }
HRESULT STDMETHODCALLTYPE FakeDevice::MultiplyTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX *matrix) { return Record("MultiplyTransform"); }
HRESULT STDMETHODCALLTYPE FakeDevice::SetViewport(const D3DVIEWPORT9 *viewport) { return Record("SetViewport"); }
HRESULT STDMETHODCALLTYPE FakeDevice::GetViewport(D3DVIEWPORT9* pViewport) { return Record("GetViewport"); }
HRESULT STDMETHODCALLTYPE FakeDevice::GetMaterial(D3DMATERIAL9* pMaterial) { return Record("GetMaterial"); }
HRESULT STDMETHODCALLTYPE FakeDevice::GetLight(DWORD Index, D3DLIGHT9*) { return Record("GetLight"); }
HRESULT STDMETHODCALLTYPE FakeDevice::GetLightEnable(DWORD Index, WINBOOL* pEnable) { return Record("GetLightEnable"); }
HRESULT STDMETHODCALLTYPE FakeDevice::SetClipPlane(DWORD index, const float *plane) { return Record("SetClipPlane"); }
HRESULT STDMETHODCALLTYPE FakeDevice::GetClipPlane(DWORD Index, float* pPlane) { return Record("GetClipPlane"); }
HRESULT STDMETHODCALLTYPE FakeDevice::GetRenderState(D3DRENDERSTATETYPE State, DWORD* pValue) { return Record("GetRenderState"); }
HRESULT STDMETHODCALLTYPE FakeDevice::CreateStateBlock(D3DSTATEBLOCKTYPE Type, IDirect3DStateBlock9** ppSB) { return Record("CreateStateBlock"); }
HRESULT STDMETHODCALLTYPE FakeDevice::BeginStateBlock() { return Record("BeginStateBlock"); }
HRESULT STDMETHODCALLTYPE FakeDevice::EndStateBlock(IDirect3DStateBlock9** ppSB) { return Record("EndStateBlock"); }
HRESULT STDMETHODCALLTYPE FakeDevice::SetClipStatus(const D3DCLIPSTATUS9 *clip_status) { return Record("SetClipStatus"); }
HRESULT STDMETHODCALLTYPE FakeDevice::GetClipStatus(D3DCLIPSTATUS9* pClipStatus) { return Record("GetClipStatus"); }
HRESULT STDMETHODCALLTYPE FakeDevice::GetTexture(DWORD Stage, IDirect3DBaseTexture9** ppTexture) { return Record("GetTexture"); }
HRESULT STDMETHODCALLTYPE FakeDevice::GetTextureStageState(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type, DWORD* pValue) { return Record("GetTextureStageState"); }
HRESULT STDMETHODCALLTYPE FakeDevice::GetSamplerState(DWORD Sampler, D3DSAMPLERSTATETYPE Type, DWORD* pValue) { return Record("GetSamplerState"); }
HRESULT STDMETHODCALLTYPE FakeDevice::ValidateDevice(DWORD* pNumPasses) { return Record("ValidateDevice"); }
HRESULT STDMETHODCALLTYPE FakeDevice::SetPaletteEntries(UINT palette_idx, const PALETTEENTRY *entries) { return Record("SetPaletteEntries"); }
HRESULT STDMETHODCALLTYPE FakeDevice::GetPaletteEntries(UINT PaletteNumber,PALETTEENTRY* pEntries) { return Record("GetPaletteEntries"); }
HRESULT STDMETHODCALLTYPE FakeDevice::SetCurrentTexturePalette(UINT PaletteNumber) { return Record("SetCurrentTexturePalette"); }
HRESULT STDMETHODCALLTYPE FakeDevice::GetCurrentTexturePalette(UINT *PaletteNumber) { return Record("GetCurrentTexturePalette"); }
HRESULT STDMETHODCALLTYPE FakeDevice::SetScissorRect(const RECT *rect) { return Record("SetScissorRect"); }
HRESULT STDMETHODCALLTYPE FakeDevice::GetScissorRect(RECT* pRect) { return Record("GetScissorRect"); }
HRESULT STDMETHODCALLTYPE FakeDevice::SetSoftwareVertexProcessing(WINBOOL bSoftware) { return Record("SetSoftwareVertexProcessing"); }
WINBOOL STDMETHODCALLTYPE FakeDevice::GetSoftwareVertexProcessing() {
  Record("GetSoftwareVertexProcessing");
  return 0;
}
HRESULT STDMETHODCALLTYPE FakeDevice::SetNPatchMode(float nSegments) { return Record("SetNPatchMode"); }
float STDMETHODCALLTYPE FakeDevice::GetNPatchMode() {
  Record("GetNPatchMode");
  return 0;
}
HRESULT STDMETHODCALLTYPE FakeDevice::DrawPrimitiveUP(D3DPRIMITIVETYPE primitive_type, UINT primitive_count, const void *data, UINT stride) { return Record("DrawPrimitiveUP"); }
HRESULT STDMETHODCALLTYPE FakeDevice::DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE primitive_type, UINT min_vertex_idx, UINT vertex_count, UINT primitive_count, const void *index_data, D3DFORMAT index_format, const void *data, UINT stride) { return Record("DrawIndexedPrimitiveUP"); }
HRESULT STDMETHODCALLTYPE FakeDevice::ProcessVertices(UINT SrcStartIndex, UINT DestIndex, UINT VertexCount, IDirect3DVertexBuffer9* pDestBuffer, IDirect3DVertexDeclaration9* pVertexDecl, DWORD Flags) { return Record("ProcessVertices"); }
HRESULT STDMETHODCALLTYPE FakeDevice::CreateVertexDeclaration(const D3DVERTEXELEMENT9 *elements, IDirect3DVertexDeclaration9 **declaration) { return Record("CreateVertexDeclaration"); }
HRESULT STDMETHODCALLTYPE FakeDevice::GetVertexDeclaration(IDirect3DVertexDeclaration9** ppDecl) { return Record("GetVertexDeclaration"); }
HRESULT STDMETHODCALLTYPE FakeDevice::GetFVF(DWORD* pFVF) { return Record("GetFVF"); }
HRESULT STDMETHODCALLTYPE FakeDevice::CreateVertexShader(const DWORD *byte_code, IDirect3DVertexShader9 **shader) { return Record("CreateVertexShader"); }
HRESULT STDMETHODCALLTYPE FakeDevice::GetVertexShader(IDirect3DVertexShader9** ppShader) { return Record("GetVertexShader"); }
HRESULT STDMETHODCALLTYPE FakeDevice::GetVertexShaderConstantF(UINT StartRegister, float* pConstantData, UINT Vector4fCount) { return Record("GetVertexShaderConstantF"); }
HRESULT STDMETHODCALLTYPE FakeDevice::SetVertexShaderConstantI(UINT reg_idx, const int *data, UINT count) { return Record("SetVertexShaderConstantI"); }
HRESULT STDMETHODCALLTYPE FakeDevice::GetVertexShaderConstantI(UINT StartRegister, int* pConstantData, UINT Vector4iCount) { return Record("GetVertexShaderConstantI"); }
HRESULT STDMETHODCALLTYPE FakeDevice::SetVertexShaderConstantB(UINT reg_idx, const WINBOOL *data, UINT count) { return Record("SetVertexShaderConstantB"); }
HRESULT STDMETHODCALLTYPE FakeDevice::GetVertexShaderConstantB(UINT StartRegister, WINBOOL* pConstantData, UINT BoolCount) { return Record("GetVertexShaderConstantB"); }
HRESULT STDMETHODCALLTYPE FakeDevice::GetStreamSource(UINT StreamNumber, IDirect3DVertexBuffer9** ppStreamData, UINT* OffsetInBytes, UINT* pStride) { return Record("GetStreamSource"); }
HRESULT STDMETHODCALLTYPE FakeDevice::SetStreamSourceFreq(UINT StreamNumber, UINT Divider) { return Record("SetStreamSourceFreq"); }
HRESULT STDMETHODCALLTYPE FakeDevice::GetStreamSourceFreq(UINT StreamNumber, UINT* Divider) { return Record("GetStreamSourceFreq"); }
HRESULT STDMETHODCALLTYPE FakeDevice::GetIndices(IDirect3DIndexBuffer9** ppIndexData) { return Record("GetIndices"); }
HRESULT STDMETHODCALLTYPE FakeDevice::CreatePixelShader(const DWORD *byte_code, IDirect3DPixelShader9 **shader) { return Record("CreatePixelShader"); }
HRESULT STDMETHODCALLTYPE FakeDevice::SetPixelShader(IDirect3DPixelShader9* pShader) { return Record("SetPixelShader"); }
HRESULT STDMETHODCALLTYPE FakeDevice::GetPixelShader(IDirect3DPixelShader9** ppShader) { return Record("GetPixelShader"); }
HRESULT STDMETHODCALLTYPE FakeDevice::SetPixelShaderConstantF(UINT reg_idx, const float *data, UINT count) { return Record("SetPixelShaderConstantF"); }
HRESULT STDMETHODCALLTYPE FakeDevice::GetPixelShaderConstantF(UINT StartRegister, float* pConstantData, UINT Vector4fCount) { return Record("GetPixelShaderConstantF"); }
HRESULT STDMETHODCALLTYPE FakeDevice::SetPixelShaderConstantI(UINT reg_idx, const int *data, UINT count) { return Record("SetPixelShaderConstantI"); }
HRESULT STDMETHODCALLTYPE FakeDevice::GetPixelShaderConstantI(UINT StartRegister, int* pConstantData, UINT Vector4iCount) { return Record("GetPixelShaderConstantI"); }
HRESULT STDMETHODCALLTYPE FakeDevice::SetPixelShaderConstantB(UINT reg_idx, const WINBOOL *data, UINT count) { return Record("SetPixelShaderConstantB"); }
HRESULT STDMETHODCALLTYPE FakeDevice::GetPixelShaderConstantB(UINT StartRegister, WINBOOL* pConstantData, UINT BoolCount) { return Record("GetPixelShaderConstantB"); }
HRESULT STDMETHODCALLTYPE FakeDevice::DrawRectPatch(UINT handle, const float *segment_count, const D3DRECTPATCH_INFO *patch_info) { return Record("DrawRectPatch"); }
HRESULT STDMETHODCALLTYPE FakeDevice::DrawTriPatch(UINT handle, const float *segment_count, const D3DTRIPATCH_INFO *patch_info) { return Record("DrawTriPatch"); }
HRESULT STDMETHODCALLTYPE FakeDevice::DeletePatch(UINT Handle) { return Record("DeletePatch"); }
HRESULT STDMETHODCALLTYPE FakeDevice::CreateQuery(D3DQUERYTYPE Type, IDirect3DQuery9** ppQuery) { return Record("CreateQuery"); }