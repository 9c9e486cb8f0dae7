#include "SceneFixture.h"
#include "engine/assets/HvVertexShader.h"
#include "engine/core/HvDeviceSettings.h"
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

// A window that counts the messages it is sent or that are dispatched to it.
struct MessageCounter {
  MessageCounter() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = [](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
      if (m == WM_APP) ++received;
      return DefWindowProcA(w, m, wp, lp);
    };
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "MessageCounter";
    RegisterClassA(&wc);  // fails harmlessly when an earlier test registered it
    window = CreateWindowExA(0, "MessageCounter", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    received = 0;
  }
  ~MessageCounter() { DestroyWindow(window); }
  HWND window;
  static inline int received = 0;
};

// A lost device comes back: the reset waits, handling window messages, until the device can be reset,
// resets it with the core's settings, tries again when the reset finds it lost once more, and leaves
// device and records as a new device has them: no shader, no material, specular off, samplers linear.
TEST_F(DeviceTest, ResetWaitsForTheDeviceRetriesAndStartsFromTheDefaults) {
  HvDeviceSettings& s = core->GetSettings();
  s.backBufferWidth = 640, s.backBufferHeight = 480, s.windowed = true;
  HvRef<HvVertexShader> shader = new StubShader;
  HvRef<HvMaterial> shiny = MakeMaterial(8);
  ASSERT_TRUE(device->SetVertexShader(shader.Get()));
  ASSERT_TRUE(device->SetMaterial(shiny.Get()));
  device->Registers().vertexShader = shader;
  device->Registers().material = shiny;
  ASSERT_EQ(uint32_t(HvDevice::VertexShaderActive | HvDevice::SpecularEnabled), device->GetStateFlags());

  MessageCounter counter;
  PostMessageA(counter.window, WM_APP, 0, 0);
  fake.Script("TestCooperativeLevel", {D3DERR_DEVICELOST, D3DERR_DEVICELOST, D3DERR_DEVICENOTRESET});
  fake.Script("Reset", {D3DERR_DEVICELOST});
  fake.cooperativeLevel = D3DERR_DEVICENOTRESET;  // after the script (a loop that kept waiting would hang)
  fake.ClearLog();
  ASSERT_TRUE(device->ResetDevice());

  const std::vector<std::string> methods = fake.Methods();
  ASSERT_GE(methods.size(), 6u);
  EXPECT_EQ((std::vector<std::string>{"TestCooperativeLevel", "TestCooperativeLevel", "TestCooperativeLevel", "Reset",
                                      "TestCooperativeLevel", "Reset"}),
            std::vector<std::string>(methods.begin(), methods.begin() + 6));
  for (const FakeCall& reset : fake.Calls("Reset")) {
    EXPECT_EQ(640u, reset.a);
    EXPECT_EQ(480u, reset.b);
    EXPECT_EQ(DWORD(TRUE), reset.c);
  }
  EXPECT_EQ(1, MessageCounter::received) << "messages are handled while the device is lost";

  EXPECT_EQ(0u, device->GetStateFlags());
  EXPECT_FALSE(device->Registers().vertexShader);
  EXPECT_FALSE(device->Registers().material);
  EXPECT_EQ(0u, fake.renderStates[D3DRS_SPECULARENABLE]);
  EXPECT_EQ(24u, fake.Count("SetSamplerState"));
  // The next material reaches the device (no shader bound any more) and turns specular on again.
  fake.ClearLog();
  ASSERT_TRUE(device->SetMaterial(shiny.Get()));
  EXPECT_EQ((std::vector<std::string>{"SetRenderState", "SetMaterial"}), fake.Methods());
  EXPECT_EQ(0u + TRUE, fake.renderStates[D3DRS_SPECULARENABLE]);
}

TEST_F(DeviceTest, AResetThatFailsIsReportedAndChangesNoState) {
  fake.cooperativeLevel = D3DERR_DEVICENOTRESET;
  fake.FailOn("Reset", D3DERR_DRIVERINTERNALERROR);
  bool result = true;
  const std::string log = MessagesOf([&] { result = device->ResetDevice(); });
  EXPECT_FALSE(result);
  EXPECT_EQ("MessageBox: caption \"Orvanta\", text \"Error while reseting device\", style 0x30\n", log);
  EXPECT_EQ(1u, fake.Count("Reset"));
  EXPECT_EQ(0u, fake.StateCalls());
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
