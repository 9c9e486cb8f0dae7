#include "SceneFixture.h"
#include "engine/assets/HvVertexShader.h"
#include "engine/render/HvMaterial.h"
#include "engine/render/HvPointLight.h"

namespace {
// A vertex shader object without Direct3D objects: binding it still marks the shader as active.
class StubShader : public HvVertexShader {
public:
  StubShader() : HvVertexShader("stub", {"", 0}) {}
};

HvMaterial* MakeMaterial(float power) {
  HvMaterial* m = new HvMaterial;
  m->power = power;
  return m;
}
}

TEST(DeviceColor, ScalesTruncatesAndWrapsWithoutClamping) {
  EXPECT_EQ(0xFFFFFFFFu, ToD3DColor(1, 1, 1, 1));
  EXPECT_EQ(0xFF7F0000u, ToD3DColor(0.5f, 0, 0, 1));        // 127.5 truncated
  EXPECT_EQ(0x00FE0000u, ToD3DColor(2.0f, 0, 0, 0));        // 510 -> low 8 bits 0xFE, no clamp to 255
  EXPECT_EQ(0x00000081u, ToD3DColor(0, 0, -0.5f, 0));       // -127 keeps its low 8 bits
  EXPECT_EQ(0x7F102030u, ToD3DColor(16 / 255.0f + 0.001f, 32 / 255.0f + 0.001f, 48 / 255.0f + 0.001f, 0.5f + 0.001f));
}

using DeviceTest = SceneTest;

TEST_F(DeviceTest, SpecularSwitchIsWrittenOnlyWhenItChanges) {
  HvRef<HvMaterial> dull = MakeMaterial(0), shiny = MakeMaterial(8), shinier = MakeMaterial(20);
  EXPECT_TRUE(device->SetMaterial(dull.Get()));
  EXPECT_TRUE(device->SetMaterial(dull.Get()));
  EXPECT_EQ(0u, fake.Count("SetRenderState")) << "power 0 with specular already off writes nothing";
  EXPECT_TRUE(device->SetMaterial(shiny.Get()));
  EXPECT_TRUE(device->SetMaterial(shinier.Get()));
  ASSERT_EQ(1u, fake.Count("SetRenderState"));
  EXPECT_EQ(DWORD(D3DRS_SPECULARENABLE), fake.calls[2].a);
  EXPECT_EQ(0u + TRUE, fake.renderStates[D3DRS_SPECULARENABLE]);
  EXPECT_TRUE(device->SetMaterial(nullptr));
  EXPECT_EQ(0u, fake.renderStates[D3DRS_SPECULARENABLE]);
  EXPECT_EQ(5u, fake.Count("SetMaterial"));
  EXPECT_EQ(0.0f, fake.material.Diffuse.a) << "a null material is all zero";
}

TEST_F(DeviceTest, BoundVertexShaderSkipsMaterialAndLightCalls) {
  HvRef<HvVertexShader> shader = new StubShader;
  ASSERT_TRUE(device->SetVertexShader(shader.Get()));
  EXPECT_TRUE(device->GetStateFlags() & HvDevice::VertexShaderActive);
  fake.ClearLog();
  HvRef<HvMaterial> shiny = MakeMaterial(8);
  HvRef<HvLight> light = new HvPointLight;
  EXPECT_TRUE(device->SetMaterial(shiny.Get()));
  EXPECT_TRUE(device->SetLight(0, light.Get(), true));
  EXPECT_EQ(std::vector<std::string>{"SetRenderState"}, fake.Methods()) << "only the specular switch";
  ASSERT_TRUE(device->SetVertexShader(nullptr));
  EXPECT_FALSE(device->GetStateFlags() & HvDevice::VertexShaderActive);
  fake.ClearLog();
  EXPECT_TRUE(device->SetLight(2, light.Get(), false));
  EXPECT_EQ((std::vector<std::string>{"SetLight", "LightEnable"}), fake.Methods());
  EXPECT_EQ(D3DLIGHT_POINT, fake.lights[2].Type);
  EXPECT_FALSE(fake.lightEnabled[2]);
  fake.ClearLog();
  EXPECT_TRUE(device->SetLight(2, nullptr, false));
  EXPECT_EQ(std::vector<std::string>{"LightEnable"}, fake.Methods()) << "no typeless light description";
}

TEST_F(DeviceTest, RestoreDefaultStatesUnbindsAndFiltersAllSamplersLinearly) {
  HvRef<HvVertexShader> shader = new StubShader;
  device->SetVertexShader(shader.Get());
  device->Registers().material = MakeMaterial(1);
  fake.ClearLog();
  ASSERT_TRUE(device->RestoreDefaultStates());
  EXPECT_FALSE(device->Registers().material);
  EXPECT_FALSE(device->GetStateFlags() & HvDevice::VertexShaderActive);
  EXPECT_EQ(24u, fake.Count("SetSamplerState"));
  for (DWORD s = 0; s < 8; ++s)
    for (D3DSAMPLERSTATETYPE t : {D3DSAMP_MAGFILTER, D3DSAMP_MINFILTER, D3DSAMP_MIPFILTER})
      EXPECT_EQ(DWORD(D3DTEXF_LINEAR), (fake.samplerStates[{s, DWORD(t)}])) << "sampler " << s;
  const auto textures = fake.Calls("SetTexture");
  ASSERT_EQ(1u, textures.size());
  EXPECT_EQ(0u, textures[0].b) << "stage 0 unbound";
}

TEST_F(DeviceTest, FailuresShowTheirMessageAndReturnFalse) {
  struct Case {
    const char* method;
    const char* message;
    bool (*call)(HvDevice*);
  } cases[] = {
    {"SetRenderState", "Error while setting render state", [](HvDevice* d) { return d->SetRenderState(D3DRS_ZENABLE, 1); }},
    {"SetSamplerState", "Error while setting texture sampler",
     [](HvDevice* d) { return d->SetSamplerState(0, D3DSAMP_MAGFILTER, 1); }},
    {"SetTextureStageState", "Error while setting texture stage state",
     [](HvDevice* d) { return d->SetTextureStageState(0, D3DTSS_COLOROP, 1); }},
    {"SetLight", "Error while setting the light", [](HvDevice* d) { return d->SetLight(0, nullptr, true); }},
    {"LightEnable", "Error while enabling (disabling) the light", [](HvDevice* d) { return d->SetLight(0, nullptr, true); }},
    {"SetMaterial", "Error while setting material", [](HvDevice* d) { return d->SetMaterial(nullptr); }},
    {"SetVertexDeclaration", "Error while setting Vertex Declaration", [](HvDevice* d) { return d->SetVertexShader(nullptr); }},
    {"SetVertexShader", "Error while setting Vertex Shader", [](HvDevice* d) { return d->SetVertexShader(nullptr); }},
    {"Clear", "Error while clearing the viewport", [](HvDevice* d) { float c[4] = {}; return d->Clear(1, c, 1, 0); }},
    {"BeginScene", "Error while begining scene", [](HvDevice* d) { return d->BeginFrame(); }},
    {"EndScene", "Error while ending scene", [](HvDevice* d) { return d->EndFrame(); }},
    {"Present", "Error while presenting scene", [](HvDevice* d) { return d->EndFrame(); }},
  };
  for (const Case& c : cases) {
    fake.ClearFailures();
    fake.FailOn(c.method);
    bool result = true;
    const std::string log = MessagesOf([&] { result = c.call(device); });
    EXPECT_FALSE(result) << c.method;
    EXPECT_NE(std::string::npos, log.find("caption \"Orvanta\", text \"" + std::string(c.message) + "\", style 0x30"))
        << c.method << ": " << log;
  }
  fake.ClearFailures();
  fake.ClearLog();
  fake.FailOn("EndScene");
  MessagesOf([&] { device->EndFrame(); });
  EXPECT_EQ(0u, fake.Count("Present")) << "no Present after a failed EndScene";
}

TEST_F(DeviceTest, ClearConvertsItsColour) {
  const float c[4] = {1.0f, 0.5f, 0.0f, 1.0f};
  ASSERT_TRUE(device->Clear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, c, 1.0f, 7));
  const auto clears = fake.Calls("Clear");
  ASSERT_EQ(1u, clears.size());
  EXPECT_EQ(DWORD(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER), clears[0].a);
  EXPECT_EQ(0xFFFF7F00u, clears[0].b);
  EXPECT_EQ(7u, clears[0].c);
}
