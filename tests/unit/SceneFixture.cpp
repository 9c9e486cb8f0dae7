#include "SceneFixture.h"
#include "engine/core/HvMessageBox.h"
#include "engine/render/HvNode.h"

SceneTest::SceneTest() {
  HvSetMessageBoxLogging(true);
  g_drawMode = HvPassDraw;
  core = new TestCore;
  core->AddRef();
  HvCore::SetInstance(core);
  core->CreateEngineObjects();
  device = new HvDevice;
  device->SetD3DDevice(&fake);
  core->SetDevice(device);
  root = core->GetSceneRoot();
}

SceneTest::~SceneTest() {
  core->DropRef();
  HvCore::SetInstance(nullptr);
}
