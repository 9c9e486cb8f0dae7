// Vertex shaders: the vertex-format table, assembly of texts written the program's way, and failures.
#include <gtest/gtest.h>
#include "RealDevice.h"
#include "engine/assets/HvVertexShader.h"
#include <vector>

namespace {
// Position only, one colour constant: the shape of the full-screen shaders.
const char* flatText = R"(;------------------------------------------------------------
; FLAT COLOUR SHADER
;------------------------------------------------------------
#define TRANSFORM_MATRIX 0
#define TRANSFORM_MATRIX_1 1
#define TRANSFORM_MATRIX_2 2
#define TRANSFORM_MATRIX_3 3
#define COLOR 4

vs_1_1
dcl_position v0

dp4 oPos.x, v0, c[ TRANSFORM_MATRIX ]
dp4 oPos.y, v0, c[ TRANSFORM_MATRIX_1 ]
dp4 oPos.z, v0, c[ TRANSFORM_MATRIX_2 ]
dp4 oPos.w, v0, c[ TRANSFORM_MATRIX_3 ]
mov oD0, c[ COLOR ]
)";

// Position, normal, texture coordinate; one point light in object space, literal constants by def.
const char* pointLightText = R"(;------------------------------------------------------------
; POINT LIGHT SHADER
;------------------------------------------------------------
#define TRANSFORM_MATRIX 0
#define TRANSFORM_MATRIX_1 1
#define TRANSFORM_MATRIX_2 2
#define TRANSFORM_MATRIX_3 3
#define LIGHT_POSITION_1 4
#define LIGHT_ATTENUATION_1 5
#define LIGHT_COLOR_1 6
#define AMBIENT_COLOR 7

vs_1_1
dcl_position v0
dcl_normal v1
dcl_texcoord v2
def c10, 1, 1, 1, 1
def c30, 0.5, 0, 0, 0

dp4 oPos.x, v0, c[ TRANSFORM_MATRIX ]
dp4 oPos.y, v0, c[ TRANSFORM_MATRIX_1 ]
dp4 oPos.z, v0, c[ TRANSFORM_MATRIX_2 ]
dp4 oPos.w, v0, c[ TRANSFORM_MATRIX_3 ]
sub r0, c[ LIGHT_POSITION_1 ], v0
dp3 r1.x, r0, r0
rsq r1.y, r1.x
mul r0, r0, r1.y
rcp r1.z, r1.y
mad r1.w, r1.z, c[ LIGHT_ATTENUATION_1 ].y, c10.x
rcp r1.w, r1.w
dp3 r2.x, v1, r0
max r2.x, r2.x, c30.y
mul r2.x, r2.x, r1.w
mad oD0, c[ LIGHT_COLOR_1 ], r2.x, c[ AMBIENT_COLOR ]
mov oT0, v2
)";

struct Element {
  WORD offset;
  BYTE type, usage, usageIndex;
};

std::vector<Element> Declaration(uint32_t format) {
  D3DVERTEXELEMENT9 e[HvVertexShader::MaxElements];
  const uint32_t count = HvVertexShader::BuildDeclaration(format, e);
  std::vector<Element> out;
  for (uint32_t i = 0; i + 1 < count; ++i) {
    EXPECT_EQ(e[i].Stream, 0);
    EXPECT_EQ(e[i].Method, D3DDECLMETHOD_DEFAULT);
    out.push_back({e[i].Offset, e[i].Type, e[i].Usage, e[i].UsageIndex});
  }
  const D3DVERTEXELEMENT9 end = e[count - 1];
  EXPECT_TRUE(end.Stream == 0xFF && end.Offset == 0 && end.Type == D3DDECLTYPE_UNUSED && end.Method == 0 &&
              end.Usage == 0 && end.UsageIndex == 0);
  return out;
}

bool operator==(const Element& a, const Element& b) {
  return a.offset == b.offset && a.type == b.type && a.usage == b.usage && a.usageIndex == b.usageIndex;
}

const Element position = {0, D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_POSITION, 0};
Element Normal(WORD at) { return {at, D3DDECLTYPE_FLOAT3, D3DDECLUSAGE_NORMAL, 0}; }
Element Color(WORD at, BYTE index) { return {at, D3DDECLTYPE_D3DCOLOR, D3DDECLUSAGE_COLOR, index}; }
Element TexCoord(WORD at) { return {at, D3DDECLTYPE_FLOAT2, D3DDECLUSAGE_TEXCOORD, 0}; }
}

TEST(VertexShaderDeclaration, FormatsInUseMatchTheTable) {
  EXPECT_EQ(Declaration(D3DFVF_XYZ), (std::vector<Element>{position}));
  EXPECT_EQ(Declaration(0x012), (std::vector<Element>{position, Normal(12)}));
  EXPECT_EQ(Declaration(0x112), (std::vector<Element>{position, Normal(12), TexCoord(24)}));
  EXPECT_EQ(Declaration(0x152), (std::vector<Element>{position, Normal(12), Color(24, 0), TexCoord(28)}));
}

TEST(VertexShaderDeclaration, TransformedPositionSpecularAndUnknownBits) {
  EXPECT_EQ(Declaration(D3DFVF_XYZ | D3DFVF_XYZRHW),
            (std::vector<Element>{position, {12, D3DDECLTYPE_FLOAT4, D3DDECLUSAGE_POSITIONT, 0}}));
  EXPECT_EQ(Declaration(D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_SPECULAR),
            (std::vector<Element>{position, Color(12, 0), Color(16, 1)}));
  // A second texture set, the point size and the texture-format bits are not part of the table.
  EXPECT_EQ(Declaration(D3DFVF_XYZ | D3DFVF_TEX2 | D3DFVF_PSIZE | D3DFVF_TEXCOORDSIZE2(1)), (std::vector<Element>{position}));
  EXPECT_EQ(Declaration(D3DFVF_XYZ | D3DFVF_TEX3), (std::vector<Element>{position, TexCoord(12)}));
  EXPECT_TRUE(Declaration(0).empty());
}

class VertexShaderTest : public ::testing::Test {
protected:
  void SetUp() override { REQUIRE_REAL_DEVICE(); }
};

TEST_F(VertexShaderTest, ProgramStyleTextsAssembleAndRegisterInThePool) {
  struct {
    const char* name;
    const char* text;
    uint32_t format;
  } shaders[] = {{"unit_flat_vs", flatText, D3DFVF_XYZ}, {"unit_point_light_vs", pointLightText, 0x112}};
  for (const auto& s : shaders) {
    SCOPED_TRACE(s.name);
    HvRef<HvVertexShader> vs = new HvVertexShader(s.name, {s.text, s.format});
    EXPECT_EQ(HvCore::GetInstance()->GetPool(HvPoolVertexShader)->FindByName(s.name), vs.Get());
    EXPECT_TRUE(vs->HasFlag(HvFlags::Changed));
    std::string err = CaptureStderrOf([&] { EXPECT_TRUE(vs->Refresh()); });
    EXPECT_EQ(err, "");
    EXPECT_FALSE(vs->HasFlag(HvFlags::Changed));
    ASSERT_NE(vs->GetShader(), nullptr);
    ASSERT_NE(vs->GetDeclaration(), nullptr);

    D3DVERTEXELEMENT9 expected[HvVertexShader::MaxElements], actual[HvVertexShader::MaxElements];
    UINT count = HvVertexShader::MaxElements;
    const uint32_t n = HvVertexShader::BuildDeclaration(s.format, expected);
    ASSERT_EQ(vs->GetDeclaration()->GetDeclaration(actual, &count), D3D_OK);
    ASSERT_EQ(count, n);
    EXPECT_EQ(memcmp(actual, expected, n * sizeof actual[0]), 0);

    EXPECT_TRUE(vs->Release());
    EXPECT_EQ(vs->GetShader(), nullptr);
    EXPECT_EQ(vs->GetDeclaration(), nullptr);
    EXPECT_TRUE(vs->HasFlag(HvFlags::Released));
    HvCore::GetInstance()->GetPool(HvPoolVertexShader)->Remove(vs.Get());
  }
}

TEST_F(VertexShaderTest, MisspeltRegisterNameFailsAssemblyWithTheAssemblersExplanation) {
  std::string text = flatText;
  text.replace(text.find("c[ TRANSFORM_MATRIX_2 ]"), 23, "c[ TRANSFORM_MATIRX_2 ]");
  HvRef<HvVertexShader> vs = new HvVertexShader("unit_misspelt_vs", {text, D3DFVF_XYZ});
  bool ok = true;
  std::string err = CaptureStderrOf([&] { ok = vs->Refresh(); });
  EXPECT_FALSE(ok);
  EXPECT_TRUE(vs->HasFlag(HvFlags::Changed));
  EXPECT_EQ(vs->GetShader(), nullptr);
  EXPECT_NE(err.find("caption \"Orvanta\", text \"Error while assembling Vertex Shader\", style 0x30"), std::string::npos) << err;
  EXPECT_EQ(err.find("compiling"), std::string::npos) << err;
  // The assembler names the line of the unknown name (line 15 of the text).
  EXPECT_NE(err.find("Vertex Shader 'unit_misspelt_vs': Line 15:"), std::string::npos) << err;
  EXPECT_TRUE(vs->Release());
  HvCore::GetInstance()->GetPool(HvPoolVertexShader)->Remove(vs.Get());
}
