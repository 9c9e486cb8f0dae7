// Reading vs_1_1 byte code: the token stream split into instructions, printed one instruction a line,
// and the constant registers a shader reads and defines. For the tests that hold the show's shaders
// to their recorded byte code and to the registers their scenes bind.
#pragma once
#include <d3d9.h>
#include <set>
#include <string>
#include <vector>

// The tokens of one instruction: the instruction token first, then its parameters (for def the four
// literal values). The version token and the end token come as instructions of their own.
using ShaderInstruction = std::vector<DWORD>;

// Splits a token stream (version token first, end token last) into instructions. Empty when the
// stream does not end with the end token.
std::vector<ShaderInstruction> SplitShader(const std::vector<DWORD>& tokens);

// One instruction a line, its tokens in eight hex digits separated by spaces.
std::string ShaderListing(const std::vector<DWORD>& tokens);

// The constant registers c# that the instructions read as sources (a matrix instruction such as m4x4
// reads as many rows as it names), and those that def fills. False, with a reason in `error`, for a
// source addressed relative to a0, whose registers cannot be known from the code.
struct ShaderConstants {
  std::set<unsigned> read;
  std::set<unsigned> defined;
};
bool ReadShaderConstants(const std::vector<DWORD>& tokens, ShaderConstants& out, std::string& error);

// The byte code of `text` assembled as the engine assembles it (no macro table, no include handler,
// no flags); empty, with the assembler's messages in `errors`, when it does not assemble.
std::vector<DWORD> AssembleShader(const std::string& text, std::string& errors);

// The byte code of a created Direct3D shader; empty if there is none.
std::vector<DWORD> ShaderFunction(IDirect3DVertexShader9* shader);
