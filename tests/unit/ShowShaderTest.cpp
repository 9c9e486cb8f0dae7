// The byte code of the show's vertex shaders as the scenes make them: every scene that makes a shader
// is built from the generated show data on the real device, and each shader of the show that it
// leaves in the core's vertex-shader pool is read back from Direct3D and held to its recorded listing
// in tests/golden/shaders/<name>.hex (one instruction a line, hex tokens). Any changed instruction
// fails. A deliberate change is recorded by running the test with ORVANTA_RECORD_SHADERS set, which
// rewrites the listings (and fails, so that the diff is looked at).
#include "RealDevice.h"
#include "ShaderCode.h"
#include "app/scenes/CObjectBlob.h"
#include "app/scenes/CObjectFlash.h"
#include "app/scenes/CObjectRoom.h"
#include "app/scenes/CObjectStar.h"
#include "app/scenes/CObjectStation.h"
#include "app/scenes/CObjectTunnel.h"
#include "app/scenes/ShowShaders.h"
#include "engine/assets/HvVertexShader.h"
#include <gtest/gtest.h>
#include <windows.h>
#include <fstream>
#include <sstream>

namespace {
const char* const kGoldenFolder = ORVANTA_TEST_GOLDEN "\\shaders\\";

// How many listings the golden folder holds.
size_t RecordedCount() {
  size_t count = 0;
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA((std::string(kGoldenFolder) + "*.hex").c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return count;
  do ++count;
  while (FindNextFileA(h, &found));
  FindClose(h);
  return count;
}

std::string Recorded(const std::string& name) {
  std::ifstream file(kGoldenFolder + name + ".hex");
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

// Every scene that makes vertex shaders, built as the application builds them (the star before the
// room, which mirrors it), and taken down again afterwards.
class ShowScenes {
public:
  ShowScenes() {
    char data[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, saved);
    GetFullPathNameA(ORVANTA_TEST_DATA, MAX_PATH, data, nullptr);
    if (!SetCurrentDirectoryA(data)) {
      problem = std::string("no data folder ") + data;
      return;
    }
    star = new CObjectStar("Star");
    HvCore::GetInstance()->GetPool(HvPoolApplication)->Add(star.Get());  // where the room looks for it
    scenes = {new CObjectTunnel("Tunnel"), new CObjectBlob("Blob"), new CObjectFlash("Flash"),
              new CObjectStation("SpaceStation"), star.Get(), new CObjectRoom("Room")};
    for (HvRef<CObject>& s : scenes)
      if (!s->Create() || !s->PostCreate()) problem += s->GetName() + " was not made; ";
  }
  ~ShowScenes() {
    for (HvRef<CObject>& s : scenes) s->Release();
    if (star) HvCore::GetInstance()->GetPool(HvPoolApplication)->Remove(star.Get());
    SetCurrentDirectoryA(saved);
  }

  std::string problem;  // empty when every scene was made

private:
  char saved[MAX_PATH] = "";
  HvRef<CObjectStar> star;
  std::vector<HvRef<CObject>> scenes;
};
}  // namespace

TEST(ShowShaders, EveryShaderTheScenesMakeIsTheRecordedByteCode) {
  REQUIRE_REAL_DEVICE();
  ShowScenes show;
  ASSERT_EQ(show.problem, "");
  const bool record = getenv("ORVANTA_RECORD_SHADERS") != nullptr;
  HvObjectPool* pool = HvCore::GetInstance()->GetPool(HvPoolVertexShader);
  for (const SceneShader* s : kShowShaders) {
    auto* shader = static_cast<HvVertexShader*>(pool->FindByName(s->name));
    ASSERT_NE(shader, nullptr) << "no scene made " << s->name;
    const std::string listing = ShaderListing(ShaderFunction(shader->GetShader()));
    if (record) std::ofstream(kGoldenFolder + std::string(s->name) + ".hex", std::ios::binary) << listing;
    EXPECT_EQ(listing, Recorded(s->name)) << s->name;
  }
  EXPECT_EQ(RecordedCount(), kShowShaderCount) << "listings in " << kGoldenFolder << ", one a shader";
  EXPECT_FALSE(record) << "recorded the listings in " << kGoldenFolder;
}
