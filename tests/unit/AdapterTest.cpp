// Creating the rendering device on a stand-in Direct3D object: the checks come in their order, each
// failure stops with its own message, and a failure leaves no device object and no device reference.
#include "SceneFixture.h"
#include "engine/core/HvDeviceSettings.h"
#include "engine/render/HvAdapter.h"
#include <algorithm>
#include <vector>

namespace {
// IDirect3D9 with chosen answers for device creation; every call is noted by name. The device it
// creates is the test's FakeDevice (one more reference on it).
class FakeD3D : public IDirect3D9 {
public:
  explicit FakeD3D(IDirect3DDevice9* device) : device(device) {}
  virtual ~FakeD3D() = default;

  HRESULT checkDeviceType = D3D_OK;
  HRESULT enumAdapterModes = D3D_OK;
  HRESULT createDevice = D3D_OK;
  std::vector<D3DDISPLAYMODE> modes;
  std::vector<std::string> calls;
  D3DDEVTYPE createdType = D3DDEVTYPE(0);
  HWND createdWindow = nullptr;
  DWORD createdFlags = 0;
  D3DPRESENT_PARAMETERS createdWith = {};

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }   // owned by the test
  ULONG STDMETHODCALLTYPE Release() override { return 0; }
  HRESULT STDMETHODCALLTYPE RegisterSoftwareDevice(void*) override { return Note("RegisterSoftwareDevice"); }
  UINT STDMETHODCALLTYPE GetAdapterCount() override { return Note("GetAdapterCount"), 1; }
  HRESULT STDMETHODCALLTYPE GetAdapterIdentifier(UINT, DWORD, D3DADAPTER_IDENTIFIER9*) override { return Note("GetAdapterIdentifier"); }
  UINT STDMETHODCALLTYPE GetAdapterModeCount(UINT, D3DFORMAT format) override {
    Note("GetAdapterModeCount");
    return UINT(Of(format).size());
  }
  HRESULT STDMETHODCALLTYPE EnumAdapterModes(UINT, D3DFORMAT format, UINT i, D3DDISPLAYMODE* mode) override {
    Note("EnumAdapterModes");
    if (FAILED(enumAdapterModes)) return enumAdapterModes;
    *mode = Of(format).at(i);
    return D3D_OK;
  }
  HRESULT STDMETHODCALLTYPE GetAdapterDisplayMode(UINT, D3DDISPLAYMODE*) override { return Note("GetAdapterDisplayMode"); }
  HRESULT STDMETHODCALLTYPE CheckDeviceType(UINT, D3DDEVTYPE, D3DFORMAT, D3DFORMAT, WINBOOL) override {
    Note("CheckDeviceType");
    return checkDeviceType;
  }
  HRESULT STDMETHODCALLTYPE CheckDeviceFormat(UINT, D3DDEVTYPE, D3DFORMAT, DWORD, D3DRESOURCETYPE, D3DFORMAT) override { return Note("CheckDeviceFormat"); }
  HRESULT STDMETHODCALLTYPE CheckDeviceMultiSampleType(UINT, D3DDEVTYPE, D3DFORMAT, WINBOOL, D3DMULTISAMPLE_TYPE, DWORD*) override { return Note("CheckDeviceMultiSampleType"); }
  HRESULT STDMETHODCALLTYPE CheckDepthStencilMatch(UINT, D3DDEVTYPE, D3DFORMAT, D3DFORMAT, D3DFORMAT) override { return Note("CheckDepthStencilMatch"); }
  HRESULT STDMETHODCALLTYPE CheckDeviceFormatConversion(UINT, D3DDEVTYPE, D3DFORMAT, D3DFORMAT) override { return Note("CheckDeviceFormatConversion"); }
  HRESULT STDMETHODCALLTYPE GetDeviceCaps(UINT, D3DDEVTYPE, D3DCAPS9*) override { return Note("GetDeviceCaps"); }
  HMONITOR STDMETHODCALLTYPE GetAdapterMonitor(UINT) override { return Note("GetAdapterMonitor"), nullptr; }
  HRESULT STDMETHODCALLTYPE CreateDevice(UINT, D3DDEVTYPE type, HWND window, DWORD flags, D3DPRESENT_PARAMETERS* p,
                                         IDirect3DDevice9** out) override {
    Note("CreateDevice");
    createdType = type, createdWindow = window, createdFlags = flags, createdWith = *p;
    *out = nullptr;
    if (FAILED(createDevice)) return createDevice;
    device->AddRef();
    *out = device;
    return D3D_OK;
  }

private:
  HRESULT Note(const char* method) {
    calls.push_back(method);
    return D3D_OK;
  }
  std::vector<D3DDISPLAYMODE> Of(D3DFORMAT format) const {
    std::vector<D3DDISPLAYMODE> found;
    for (const D3DDISPLAYMODE& m : modes)
      if (m.Format == format) found.push_back(m);
    return found;
  }
  IDirect3DDevice9* device;
};

class AdapterTest : public SceneTest {
protected:
  AdapterTest() : d3d(&fake) {
    adapter = new HvAdapter;
    adapter->SetD3D(&d3d);
    d3d.modes = {{800, 600, 60, D3DFMT_X8R8G8B8}, {640, 480, 60, D3DFMT_R5G6B5}, {640, 480, 60, D3DFMT_X8R8G8B8}};
    s = HvDeviceSettings();
    s.deviceType = D3DDEVTYPE_HAL;
    s.displayWidth = s.backBufferWidth = 640;
    s.displayHeight = s.backBufferHeight = 480;
    s.displayFormat = s.backBufferFormat = D3DFMT_X8R8G8B8;
    s.deviceWindow = HWND(0x1234);
    s.windowed = true;
    s.behaviorFlags = D3DCREATE_SOFTWARE_VERTEXPROCESSING;
    fake.ClearLog();
  }
  // References the engine holds on the fake device.
  ULONG DeviceReferences() {
    fake.AddRef();
    return fake.Release();
  }
  // Creates the device; returns the message-box lines, `created` the result.
  std::string Create() {
    return MessagesOf([&] { created = adapter->CreateDevice(s); });
  }
  static std::string Box(const char* text) {
    return std::string("MessageBox: caption \"Orvanta\", text \"") + text + "\", style 0x30\n";
  }

  FakeD3D d3d;
  HvRef<HvAdapter> adapter;
  HvDeviceSettings s;
  HvRef<HvDevice> created;
};
}

TEST_F(AdapterTest, CreatesTheDeviceWithTheSettingsAndStartsItFromTheDefaults) {
  const ULONG references = DeviceReferences();
  EXPECT_EQ("", Create());
  ASSERT_TRUE(created);
  EXPECT_EQ(&fake, created->GetD3DDevice());
  EXPECT_EQ(references + 1, DeviceReferences());
  EXPECT_EQ(D3DDEVTYPE_HAL, d3d.createdType);
  EXPECT_EQ(HWND(0x1234), d3d.createdWindow);
  EXPECT_EQ(DWORD(D3DCREATE_SOFTWARE_VERTEXPROCESSING), d3d.createdFlags);
  EXPECT_EQ(640u, d3d.createdWith.BackBufferWidth);
  EXPECT_EQ(480u, d3d.createdWith.BackBufferHeight);
  EXPECT_TRUE(d3d.createdWith.Windowed);
  EXPECT_EQ(24u, fake.Count("SetSamplerState")) << "default states written on the new device";
}

// Each case breaks one step; the steps after it are not taken.
TEST_F(AdapterTest, EachFailureStopsWithItsMessageAndLeavesNothing) {
  const struct {
    const char* what;
    void (*breakIt)(FakeD3D&, FakeDevice&, HvDeviceSettings&);
    std::vector<const char*> messages;
    const char* notCalled;  // the next step's call, or null
  } cases[] = {
    {"device type not available", [](FakeD3D& d, FakeDevice&, HvDeviceSettings&) { d.checkDeviceType = D3DERR_NOTAVAILABLE; },
     {"Device type is not available"}, "GetAdapterModeCount"},
    {"device type check failing", [](FakeD3D& d, FakeDevice&, HvDeviceSettings&) { d.checkDeviceType = D3DERR_INVALIDCALL; },
     {"Error while checking device type", "Device type is not available"}, "GetAdapterModeCount"},
    {"no mode of that size", [](FakeD3D&, FakeDevice&, HvDeviceSettings& s) { s.displayWidth = 1024; },
     {"Display mode is not available"}, "CreateDevice"},
    {"the size only in another format", [](FakeD3D&, FakeDevice&, HvDeviceSettings& s) { s.displayWidth = 800, s.displayHeight = 600, s.displayFormat = D3DFMT_R5G6B5; },
     {"Display mode is not available"}, "CreateDevice"},
    {"modes not listed", [](FakeD3D& d, FakeDevice&, HvDeviceSettings&) { d.enumAdapterModes = D3DERR_INVALIDCALL; },
     {"Error while enumerating available display modes", "Display mode is not available"}, "CreateDevice"},
    {"device not created", [](FakeD3D& d, FakeDevice&, HvDeviceSettings&) { d.createDevice = D3DERR_NOTAVAILABLE; },
     {"Error creating Direct3D device"}, nullptr},
    {"default states refused", [](FakeD3D&, FakeDevice& f, HvDeviceSettings&) { f.FailOn("SetSamplerState"); },
     {"Error while setting texture sampler"}, nullptr},
  };
  for (const auto& c : cases) {
    d3d.checkDeviceType = d3d.enumAdapterModes = d3d.createDevice = D3D_OK;
    d3d.calls.clear();
    fake.ClearFailures();
    HvDeviceSettings good = s;
    c.breakIt(d3d, fake, s);
    const ULONG references = DeviceReferences();
    const long objects = HvRefCount::GetLiveCount();
    std::string expected;
    for (const char* m : c.messages) expected += Box(m);
    EXPECT_EQ(expected, Create()) << c.what;
    EXPECT_FALSE(created) << c.what;
    EXPECT_EQ(objects, HvRefCount::GetLiveCount()) << c.what << ": no device object left";
    EXPECT_EQ(references, DeviceReferences()) << c.what << ": the Direct3D device let go";
    if (c.notCalled) {
      EXPECT_EQ(0, std::count(d3d.calls.begin(), d3d.calls.end(), c.notCalled)) << c.what << ": " << c.notCalled;
    }
    s = good;
  }
}
