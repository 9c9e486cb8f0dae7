// Each shader of the show against the register table of the scene that binds it, without a device:
// the text is assembled and its byte code read for the constant registers it reads and defines. A
// register renumbered on one side only, in the text or in the table, fails here.
#include "ShaderCode.h"
#include "app/scenes/ShowShaders.h"
#include <gtest/gtest.h>
#include <map>
#include <sstream>

namespace {
// Rows that feed a shader which does not read them, by their first register: the scenes give these
// shaders the table of the shader they stand in for (station and vertex paint share one table with
// light colour and specular in it, the sky box shaders another, the specular shaders a third), or fill
// registers the text leaves alone (the mirrored room's c0..c3, the hologram's world matrices).
const std::map<std::string, std::set<unsigned>> kBoundButNotRead = {
  {"space_station_vertex_shader", {10, 14, 15, 17}},
  {"vertex_paint", {10, 14, 15, 17}},
  {"sky_box_vs_vertex_color", {4, 5, 6}},
  {"ship_spec_env_pulse_VS", {9, 13}},
  {"room_vertex_shader_mirror", {0}},
  {"ship_holo_VS", {4, 8}},
};

// The register numbers of the text's aliases: each line `#define NAME <number>`.
std::map<std::string, unsigned> NumberedAliases(const std::string& text) {
  std::map<std::string, unsigned> aliases;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    std::istringstream words(line);
    std::string directive, name, number, rest;
    if (words >> directive >> name >> number && !(words >> rest) && directive == "#define" &&
        number.find_first_not_of("0123456789") == std::string::npos)
      aliases[name] = unsigned(std::stoul(number));
  }
  return aliases;
}
}  // namespace

TEST(ShowShaderBindings, EveryRegisterAShaderReadsIsBoundAndEveryBindingIsRead) {
  std::set<std::string> names;
  for (const SceneShader* shader : kShowShaders) {
    SCOPED_TRACE(shader->name);
    EXPECT_TRUE(names.insert(shader->name).second) << "named twice";
    std::string errors;
    const std::vector<DWORD> code = AssembleShader(shader->text, errors);
    ASSERT_FALSE(code.empty()) << errors;
    ShaderConstants constants;
    ASSERT_TRUE(ReadShaderConstants(code, constants, errors)) << errors;

    std::map<unsigned, uint32_t> bound;  // register -> the first register of the row that feeds it
    std::set<unsigned> unread;           // rows whose first register the code does not read
    for (size_t i = 0; i < shader->bindingCount; ++i) {
      const ShaderBinding& row = shader->bindings[i];
      const uint32_t count = BoundRegisters(row);
      ASSERT_GT(count, 0u) << "row " << i << " fills no register";
      for (uint32_t r = row.firstRegister; r < row.firstRegister + count; ++r) {
        EXPECT_FALSE(bound.count(r)) << "c" << r << " is fed by two rows";
        EXPECT_FALSE(constants.defined.count(r)) << "c" << r << " is fed and defined by the text";
        bound[r] = row.firstRegister;
      }
      if (!constants.read.count(row.firstRegister)) unread.insert(row.firstRegister);
    }
    for (unsigned r : constants.read)
      EXPECT_TRUE(bound.count(r) || constants.defined.count(r)) << "c" << r << " is read but neither bound nor defined";
    const auto expected = kBoundButNotRead.find(shader->name);
    EXPECT_EQ(unread, expected == kBoundButNotRead.end() ? std::set<unsigned>{} : expected->second)
        << "rows bound but not read";

    // The register map at the top of the text is the table: every numbered alias names a bound
    // register, and every bound register has an alias.
    std::set<unsigned> named;
    for (const auto& alias : NumberedAliases(shader->text)) {
      EXPECT_TRUE(bound.count(alias.second)) << alias.first << " names c" << alias.second << ", which is not bound";
      named.insert(alias.second);
    }
    for (const auto& b : bound) EXPECT_TRUE(named.count(b.first)) << "c" << b.first << " is bound but has no alias";
  }
  EXPECT_EQ(names.size(), kShowShaderCount);
}
