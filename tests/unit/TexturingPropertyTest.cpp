// Texturing property: nested properties send only the stages, samplers, stage states and factor
// that differ from what is in force, and give back what they found.
#include "SceneFixture.h"
#include "engine/render/HvTexturingProperty.h"

namespace {
class TexturingTest : public SceneTest {
protected:
  HvTexture* NewTexture(const char* name, HvTextureSampler* sampler = nullptr) {
    HvTexture* t = new HvTexture(name, TextureDesc());  // the texture pool holds it
    t->SetSampler(sampler);
    return t;
  }
  HvTexturingProperty* NewProperty() {
    HvTexturingProperty* p = new HvTexturingProperty;
    properties.push_back(p);
    return p;
  }
  // SetTexture calls since the last ClearLog, per stage.
  std::map<DWORD, int> BindsPerStage() const {
    std::map<DWORD, int> out;
    for (const FakeCall& c : fake.Calls("SetTexture")) ++out[c.a];
    return out;
  }
  std::vector<std::pair<DWORD, DWORD>> SamplerWrites(DWORD stage) const {
    std::vector<std::pair<DWORD, DWORD>> out;
    for (const FakeCall& c : fake.Calls("SetSamplerState"))
      if (c.a == stage) out.push_back({c.b, c.c});
    return out;
  }
  std::vector<std::pair<DWORD, DWORD>> StageWrites(DWORD stage) const {
    std::vector<std::pair<DWORD, DWORD>> out;
    for (const FakeCall& c : fake.Calls("SetTextureStageState"))
      if (c.a == stage) out.push_back({c.b, c.c});
    return out;
  }
  std::vector<HvRef<HvTexturingProperty>> properties;
};

using Writes = std::vector<std::pair<DWORD, DWORD>>;
const Writes linearWrap = {{D3DSAMP_MAGFILTER, D3DTEXF_LINEAR}, {D3DSAMP_MINFILTER, D3DTEXF_LINEAR},
                           {D3DSAMP_MIPFILTER, D3DTEXF_LINEAR}, {D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP},
                           {D3DSAMP_ADDRESSV, D3DTADDRESS_WRAP}, {D3DSAMP_ADDRESSW, D3DTADDRESS_WRAP}};

HvTextureStageState* ColorStage(uint32_t op, uint32_t arg1, uint32_t arg2) {
  HvTextureStageState* s = new HvTextureStageState;
  s->useColor = 1;
  s->colorOp = op, s->colorArg1 = arg1, s->colorArg2 = arg2;
  return s;
}
}

TEST_F(TexturingTest, NestedPropertiesRebindOnlyTheStagesThatChange) {
  HvTexture* base = NewTexture("base.bmp");
  HvTexture* env = NewTexture("env.dds");
  HvTexture* other = NewTexture("other.dds");
  HvTexturingProperty* outer = NewProperty();
  HvTexturingProperty* inner = NewProperty();
  outer->SetStage(0, base, nullptr);
  outer->SetStage(1, env, nullptr);
  inner->SetStage(0, base, nullptr);
  inner->SetStage(1, other, nullptr);

  ASSERT_TRUE(outer->Apply(nullptr));
  EXPECT_EQ((std::map<DWORD, int>{{0, 1}, {1, 1}}), BindsPerStage());
  fake.ClearLog();
  ASSERT_TRUE(inner->Apply(nullptr));
  EXPECT_EQ((std::map<DWORD, int>{{1, 1}}), BindsPerStage()) << "stage 0 holds the same texture already";
  EXPECT_EQ(0u, fake.Count("SetSamplerState") + fake.Count("SetTextureStageState"));
  EXPECT_EQ(other, device->Registers().textures[1].Get());
  fake.ClearLog();
  ASSERT_TRUE(inner->Restore(nullptr));
  EXPECT_EQ((std::map<DWORD, int>{{1, 1}}), BindsPerStage()) << "only stage 1 goes back";
  EXPECT_EQ(env, device->Registers().textures[1].Get());
  EXPECT_EQ(base, device->Registers().textures[0].Get());
  fake.ClearLog();
  ASSERT_TRUE(outer->Restore(nullptr));
  EXPECT_FALSE(device->Registers().textures[0] || device->Registers().textures[1]);
  for (const FakeCall& c : fake.Calls("SetTexture")) EXPECT_EQ(0u, c.b) << "stages are unbound";
}

TEST_F(TexturingTest, NoStageZeroTextureUnbindsItAndANestedPropertyBindsItsOwnAgain) {
  HvTexture* base = NewTexture("base.bmp");
  HvTexturingProperty* outer = NewProperty();
  HvTexturingProperty* middle = NewProperty();
  HvTexturingProperty* inner = NewProperty();
  outer->SetStage(0, base, nullptr);
  middle->SetStage(1, NewTexture("detail.bmp"), nullptr);
  inner->SetStage(0, base, nullptr);

  ASSERT_TRUE(outer->Apply(nullptr));
  fake.ClearLog();
  ASSERT_TRUE(middle->Apply(nullptr));
  ASSERT_FALSE(fake.Calls("SetTexture").empty());
  EXPECT_EQ(0u, fake.Calls("SetTexture").back().a);
  EXPECT_EQ(0u, fake.Calls("SetTexture").back().b) << "stage 0 unbound last";
  fake.ClearLog();
  ASSERT_TRUE(inner->Apply(nullptr));
  EXPECT_EQ((std::map<DWORD, int>{{0, 1}}), BindsPerStage()) << "the device holds no texture on stage 0 here";
  ASSERT_TRUE(inner->Restore(nullptr));
  fake.ClearLog();
  ASSERT_TRUE(middle->Restore(nullptr));
  const std::vector<FakeCall> zero = [&] {
    std::vector<FakeCall> out;
    for (const FakeCall& c : fake.Calls("SetTexture"))
      if (c.a == 0) out.push_back(c);
    return out;
  }();
  ASSERT_EQ(1u, zero.size()) << "the outer texture comes back on stage 0";
  EXPECT_EQ(base, device->Registers().textures[0].Get());
  ASSERT_TRUE(outer->Restore(nullptr));
}

TEST_F(TexturingTest, SamplerRecordsWriteTheirDifferencesAndAMissingRecordGivesLinearWrap) {
  HvRef<HvTextureSampler> clampPoint = new HvTextureSampler;
  clampPoint->SetSamplerField(HvTextureSampler::AddressU, D3DTADDRESS_CLAMP);
  HvRef<HvTextureSampler> clampMirror = new HvTextureSampler;
  clampMirror->SetSamplerField(HvTextureSampler::AddressU, D3DTADDRESS_CLAMP);
  clampMirror->SetSamplerField(HvTextureSampler::AddressV, D3DTADDRESS_MIRROR);
  HvTexturingProperty* outer = NewProperty();
  HvTexturingProperty* middle = NewProperty();
  HvTexturingProperty* inner = NewProperty();
  outer->SetStage(2, NewTexture("ramp.tga", clampPoint.Get()), nullptr);
  middle->SetStage(2, NewTexture("ramp2.tga", clampMirror.Get()), nullptr);
  inner->SetStage(2, NewTexture("plain.bmp"), nullptr);

  ASSERT_TRUE(outer->Apply(nullptr));
  EXPECT_EQ((Writes{{D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP}, {D3DSAMP_ADDRESSV, D3DTADDRESS_WRAP},
                    {D3DSAMP_ADDRESSW, D3DTADDRESS_WRAP}, {D3DSAMP_MAGFILTER, D3DTEXF_POINT},
                    {D3DSAMP_MINFILTER, D3DTEXF_POINT}, {D3DSAMP_MIPFILTER, D3DTEXF_NONE}}),
            SamplerWrites(2)) << "no record was current: every field";
  fake.ClearLog();
  ASSERT_TRUE(middle->Apply(nullptr));
  EXPECT_EQ((Writes{{D3DSAMP_ADDRESSV, D3DTADDRESS_MIRROR}}), SamplerWrites(2));
  fake.ClearLog();
  ASSERT_TRUE(inner->Apply(nullptr));
  EXPECT_EQ(linearWrap, SamplerWrites(2));
  fake.ClearLog();
  ASSERT_TRUE(inner->Restore(nullptr));
  EXPECT_EQ((Writes{{D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP}, {D3DSAMP_ADDRESSV, D3DTADDRESS_MIRROR},
                    {D3DSAMP_ADDRESSW, D3DTADDRESS_WRAP}, {D3DSAMP_MAGFILTER, D3DTEXF_POINT},
                    {D3DSAMP_MINFILTER, D3DTEXF_POINT}, {D3DSAMP_MIPFILTER, D3DTEXF_NONE}}),
            SamplerWrites(2)) << "back from no record: every field";
  fake.ClearLog();
  ASSERT_TRUE(middle->Restore(nullptr));
  EXPECT_EQ((Writes{{D3DSAMP_ADDRESSV, D3DTADDRESS_WRAP}}), SamplerWrites(2));
  fake.ClearLog();
  ASSERT_TRUE(outer->Restore(nullptr));
  EXPECT_EQ(linearWrap, SamplerWrites(2));
  EXPECT_EQ(0u, SamplerWrites(0).size() + SamplerWrites(1).size());
}

TEST_F(TexturingTest, StageStatesWriteTheirDifferencesAndAMissingRecordGivesTheDefaults) {
  HvRef<HvTextureStageState> blend = ColorStage(D3DTOP_BLENDFACTORALPHA, D3DTA_TEXTURE, D3DTA_CURRENT);
  HvRef<HvTextureStageState> modulate4x = ColorStage(D3DTOP_MODULATE4X, D3DTA_TEXTURE, D3DTA_CURRENT);
  HvTexturingProperty* outer = NewProperty();
  HvTexturingProperty* inner = NewProperty();
  HvTexture* env = NewTexture("env.dds");
  outer->SetStage(1, env, blend.Get());
  inner->SetStage(1, env, modulate4x.Get());

  ASSERT_TRUE(outer->Apply(nullptr));
  EXPECT_EQ((Writes{{D3DTSS_COLOROP, D3DTOP_BLENDFACTORALPHA}, {D3DTSS_COLORARG1, D3DTA_TEXTURE},
                    {D3DTSS_COLORARG2, D3DTA_CURRENT}}),
            StageWrites(1)) << "colour half only";
  EXPECT_TRUE(StageWrites(0).empty()) << "stage 0 had no record and gets none";
  fake.ClearLog();
  ASSERT_TRUE(inner->Apply(nullptr));
  EXPECT_EQ((Writes{{D3DTSS_COLOROP, D3DTOP_MODULATE4X}}), StageWrites(1));
  fake.ClearLog();
  ASSERT_TRUE(inner->Restore(nullptr));
  EXPECT_EQ((Writes{{D3DTSS_COLOROP, D3DTOP_BLENDFACTORALPHA}}), StageWrites(1));
  fake.ClearLog();
  ASSERT_TRUE(outer->Restore(nullptr));
  EXPECT_EQ((Writes{{D3DTSS_COLOROP, D3DTOP_DISABLE}, {D3DTSS_COLORARG1, D3DTA_TEXTURE}, {D3DTSS_COLORARG2, D3DTA_CURRENT},
                    {D3DTSS_ALPHAOP, D3DTOP_DISABLE}, {D3DTSS_ALPHAARG1, D3DTA_TEXTURE}, {D3DTSS_ALPHAARG2, D3DTA_CURRENT}}),
            StageWrites(1));

  // Stage 0's defaults differ; and a record whose colour half is off vouches for no colour value.
  HvRef<HvTextureStageState> alphaOnly = new HvTextureStageState;
  alphaOnly->useAlpha = 1;
  alphaOnly->colorOp = D3DTOP_ADD;  // never written
  alphaOnly->alphaOp = D3DTOP_SELECTARG2, alphaOnly->alphaArg1 = D3DTA_TEXTURE, alphaOnly->alphaArg2 = D3DTA_DIFFUSE;
  HvRef<HvTextureStageState> add = ColorStage(D3DTOP_ADD, D3DTA_TEXTURE, D3DTA_DIFFUSE);
  HvTexturingProperty* first = NewProperty();
  HvTexturingProperty* second = NewProperty();
  first->SetStage(0, env, alphaOnly.Get());
  second->SetStage(0, env, add.Get());
  ASSERT_TRUE(first->Apply(nullptr));
  fake.ClearLog();
  ASSERT_TRUE(second->Apply(nullptr));
  EXPECT_EQ((Writes{{D3DTSS_COLOROP, D3DTOP_ADD}, {D3DTSS_COLORARG1, D3DTA_TEXTURE}, {D3DTSS_COLORARG2, D3DTA_DIFFUSE}}),
            StageWrites(0));
  ASSERT_TRUE(second->Restore(nullptr));
  fake.ClearLog();
  ASSERT_TRUE(first->Restore(nullptr));
  EXPECT_EQ((Writes{{D3DTSS_COLOROP, D3DTOP_MODULATE}, {D3DTSS_COLORARG1, D3DTA_TEXTURE}, {D3DTSS_COLORARG2, D3DTA_CURRENT},
                    {D3DTSS_ALPHAOP, D3DTOP_SELECTARG1}, {D3DTSS_ALPHAARG1, D3DTA_TEXTURE}, {D3DTSS_ALPHAARG2, D3DTA_CURRENT}}),
            StageWrites(0));
}

TEST_F(TexturingTest, TextureFactorIsWrittenOnChangeAndRestoredToTheEnclosingOne) {
  const float quarter[4] = {0, 0, 0, 0.25f}, half[4] = {1, 0, 0, 0.5f};
  HvTexturingProperty* outer = NewProperty();
  outer->SetStage(0, NewTexture("ship.bmp"), nullptr);
  outer->SetTextureFactor(quarter);
  HvRef<HvProperty> copy = outer->Clone();
  HvTexturingProperty* inner = static_cast<HvTexturingProperty*>(copy.Get());
  EXPECT_EQ(outer->GetTexture(0), inner->GetTexture(0));
  EXPECT_NE(outer->GetTextureFactor(), inner->GetTextureFactor()) << "the clone owns its own colour";
  inner->SetTextureFactor(half);
  EXPECT_EQ(0.25f, outer->GetTextureFactor()[3]);

  ASSERT_TRUE(outer->Apply(nullptr));
  ASSERT_TRUE(inner->Apply(nullptr));
  ASSERT_TRUE(inner->Restore(nullptr));
  ASSERT_TRUE(outer->Restore(nullptr));
  Writes factors;
  for (const FakeCall& c : fake.Calls("SetRenderState"))
    if (c.a == D3DRS_TEXTUREFACTOR) factors.push_back({c.a, c.b});
  EXPECT_EQ((Writes{{D3DRS_TEXTUREFACTOR, 0x3F000000}, {D3DRS_TEXTUREFACTOR, 0x7FFF0000},
                    {D3DRS_TEXTUREFACTOR, 0x3F000000}, {D3DRS_TEXTUREFACTOR, 0xFFFFFFFF}}),
            factors);
  EXPECT_EQ(nullptr, device->Registers().textureFactor);
}

TEST_F(TexturingTest, RestoringTheDefaultStatesEmptiesTheRegisters) {
  HvTexturingProperty* p = NewProperty();
  HvRef<HvTextureStageState> add = ColorStage(D3DTOP_ADD, D3DTA_TEXTURE, D3DTA_DIFFUSE);
  HvRef<HvTextureSampler> sampler = new HvTextureSampler;
  const float white[4] = {1, 1, 1, 1};
  for (uint32_t s = 0; s < HvTexturingProperty::StageCount; ++s) p->SetStage(s, NewTexture("t", sampler.Get()), add.Get());
  p->SetTextureFactor(white);
  ASSERT_TRUE(p->Apply(nullptr));
  ASSERT_TRUE(device->RestoreDefaultStates());
  const HvRenderRegisters& r = device->Registers();
  for (uint32_t s = 0; s < HvTexturingProperty::StageCount; ++s)
    EXPECT_FALSE(r.textures[s] || r.samplers[s] || r.stageStates[s]) << s;
  EXPECT_EQ(nullptr, r.textureFactor);
}
