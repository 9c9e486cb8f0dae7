# Run as a script (cmake -DSHADER_DIR=... -DOUTPUT_DIR=... -P EmbedShaders.cmake): every vertex shader
# SHADER_DIR/<name>.vsh becomes the string constant ShaderText::<name>, with each line
# `#include "path"` replaced by the text of SHADER_DIR/path (which may include further files). Writes
# OUTPUT_DIR/ShaderTexts.h and OUTPUT_DIR/ShaderTexts.cpp. The program assembles the expanded texts as
# they stand: it reads no shader file at run time.

cmake_minimum_required(VERSION 3.20)

# `out` = the text of `file` with its includes expanded; `chain` lists the files that include it.
function(expand_shader file chain out)
  if(file IN_LIST chain)
    message(FATAL_ERROR "${file} includes itself (through ${chain})")
  endif()
  file(READ "${file}" text)
  string(REGEX MATCHALL "#include[ \t]+\"[^\"\n]+\"" directives "${text}")
  foreach(directive IN LISTS directives)
    string(REGEX REPLACE "#include[ \t]+\"([^\"\n]+)\"" "\\1" path "${directive}")
    if(NOT EXISTS "${SHADER_DIR}/${path}")
      message(FATAL_ERROR "${file}: ${directive}: there is no ${SHADER_DIR}/${path}")
    endif()
    expand_shader("${SHADER_DIR}/${path}" "${chain};${file}" block)
    string(REGEX REPLACE "\n+$" "" block "${block}")  # the directive's own line end ends the block
    string(REPLACE "${directive}" "${block}" text "${text}")
  endforeach()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

file(GLOB shaders "${SHADER_DIR}/*.vsh")
list(SORT shaders)
set(header "// Generated from the vertex shaders in app/shaders by cmake/EmbedShaders.cmake; do not edit.\n")
string(APPEND header "// ShaderText::<name> is the text of <name>.vsh with its #include lines expanded.\n")
string(APPEND header "#pragma once\n\nnamespace ShaderText {\n")
set(source "// Generated from the vertex shaders in app/shaders by cmake/EmbedShaders.cmake; do not edit.\n")
string(APPEND source "#include \"ShaderTexts.h\"\n")
foreach(file IN LISTS shaders)
  get_filename_component(name "${file}" NAME_WE)
  if(NOT name MATCHES "^[A-Za-z_][A-Za-z0-9_]*$")
    message(FATAL_ERROR "${file}: the name must be a C++ identifier")
  endif()
  expand_shader("${file}" "" text)
  # A quote would end the raw string here, and a lone one can trip the assembler's preprocessor.
  if(text MATCHES "[\"']")
    message(FATAL_ERROR "${file}: a quote outside the #include lines")
  endif()
  string(APPEND header "extern const char ${name}[];\n")
  string(APPEND source "\nconst char ShaderText::${name}[] = R\"vsh(${text})vsh\";\n")
endforeach()
string(APPEND header "}  // namespace ShaderText\n")
file(WRITE "${OUTPUT_DIR}/ShaderTexts.h" "${header}")
file(WRITE "${OUTPUT_DIR}/ShaderTexts.cpp" "${source}")
