#include "ShaderCode.h"
#include <d3dx9.h>
#include <cstdio>

namespace {
DWORD Opcode(DWORD token) { return token & 0xFFFF; }
unsigned RegisterType(DWORD p) {
  return ((p & D3DSP_REGTYPE_MASK) >> D3DSP_REGTYPE_SHIFT) | ((p & D3DSP_REGTYPE_MASK2) >> D3DSP_REGTYPE_SHIFT2);
}
unsigned RegisterNumber(DWORD p) { return p & D3DSP_REGNUM_MASK; }

// Rows read through the second source of the matrix instructions; 1 for every other source.
unsigned MatrixRows(DWORD opcode) {
  switch (opcode) {
  case D3DSIO_M4x4: case D3DSIO_M3x4: return 4;
  case D3DSIO_M4x3: case D3DSIO_M3x3: return 3;
  case D3DSIO_M3x2: return 2;
  default: return 1;
  }
}
}  // namespace

std::vector<ShaderInstruction> SplitShader(const std::vector<DWORD>& tokens) {
  std::vector<ShaderInstruction> out;
  if (tokens.empty()) return out;
  out.push_back({tokens[0]});  // version
  size_t i = 1;
  while (i < tokens.size()) {
    const DWORD t = tokens[i];
    size_t length = 1;
    if (Opcode(t) == D3DSIO_END) {
      out.push_back({t});
      return i + 1 == tokens.size() ? out : std::vector<ShaderInstruction>{};
    } else if (Opcode(t) == D3DSIO_COMMENT) {
      length += (t & D3DSI_COMMENTSIZE_MASK) >> D3DSI_COMMENTSIZE_SHIFT;
    } else if (Opcode(t) == D3DSIO_DEF) {
      length += 5;  // the register and four floats, whose bits say nothing
    } else {
      // vs_1_x leaves the length field empty: parameter tokens are those with the top bit set.
      while (i + length < tokens.size() && (tokens[i + length] & 0x80000000)) ++length;
    }
    if (i + length > tokens.size()) break;
    out.emplace_back(tokens.begin() + i, tokens.begin() + i + length);
    i += length;
  }
  return {};  // no end token
}

std::string ShaderListing(const std::vector<DWORD>& tokens) {
  std::string text;
  for (const ShaderInstruction& instruction : SplitShader(tokens)) {
    for (size_t k = 0; k < instruction.size(); ++k) {
      char hex[16];
      snprintf(hex, sizeof hex, k ? " %08lx" : "%08lx", static_cast<unsigned long>(instruction[k]));
      text += hex;
    }
    text += '\n';
  }
  return text;
}

bool ReadShaderConstants(const std::vector<DWORD>& tokens, ShaderConstants& out, std::string& error) {
  const std::vector<ShaderInstruction> instructions = SplitShader(tokens);
  if (instructions.empty()) {
    error = "no end token";
    return false;
  }
  for (size_t n = 1; n + 1 < instructions.size(); ++n) {
    const ShaderInstruction& in = instructions[n];
    const DWORD op = Opcode(in[0]);
    if (op == D3DSIO_COMMENT || op == D3DSIO_DCL) continue;
    if (op == D3DSIO_DEF) {
      out.defined.insert(RegisterNumber(in[1]));
      continue;
    }
    for (size_t k = 2; k < in.size(); ++k) {  // in[1] is the destination
      if (RegisterType(in[k]) != D3DSPR_CONST) continue;
      if (in[k] & D3DVS_ADDRMODE_RELATIVE) {
        error = "instruction " + std::to_string(n) + " reads a constant relative to a0";
        return false;
      }
      const unsigned rows = k == 3 ? MatrixRows(op) : 1;
      for (unsigned r = 0; r < rows; ++r) out.read.insert(RegisterNumber(in[k]) + r);
    }
  }
  return true;
}

std::vector<DWORD> ShaderFunction(IDirect3DVertexShader9* shader) {
  UINT bytes = 0;
  if (!shader || FAILED(shader->GetFunction(nullptr, &bytes)) || bytes % sizeof(DWORD)) return {};
  std::vector<DWORD> code(bytes / sizeof(DWORD));
  if (FAILED(shader->GetFunction(code.data(), &bytes))) return {};
  return code;
}

std::vector<DWORD> AssembleShader(const std::string& text, std::string& errors) {
  ID3DXBuffer *code = nullptr, *messages = nullptr;
  std::vector<DWORD> tokens;
  if (SUCCEEDED(D3DXAssembleShader(text.c_str(), UINT(text.size()), nullptr, nullptr, 0, &code, &messages))) {
    const DWORD* first = static_cast<const DWORD*>(code->GetBufferPointer());
    tokens.assign(first, first + code->GetBufferSize() / sizeof(DWORD));
  }
  if (messages) errors.assign(static_cast<const char*>(messages->GetBufferPointer()), messages->GetBufferSize());
  if (code) code->Release();
  if (messages) messages->Release();
  return tokens;
}
