# The vertex shaders: app/shaders/<name>.vsh with their #include lines expanded, compiled into the
# application library as the strings ShaderText::<name> (generated ShaderTexts.h, cmake/EmbedShaders.cmake).
file(GLOB_RECURSE SHADER_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/app/shaders/*.vsh)
set(SHADER_TEXTS_DIR ${CMAKE_BINARY_DIR}/generated)
set(SHADER_TEXTS ${SHADER_TEXTS_DIR}/ShaderTexts.h ${SHADER_TEXTS_DIR}/ShaderTexts.cpp)
add_custom_command(OUTPUT ${SHADER_TEXTS}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${SHADER_TEXTS_DIR}
  COMMAND ${CMAKE_COMMAND} -DSHADER_DIR=${CMAKE_SOURCE_DIR}/app/shaders -DOUTPUT_DIR=${SHADER_TEXTS_DIR}
          -P ${CMAKE_SOURCE_DIR}/cmake/EmbedShaders.cmake
  DEPENDS ${SHADER_FILES} ${CMAKE_SOURCE_DIR}/cmake/EmbedShaders.cmake
  COMMENT "Embedding the vertex shaders")
target_sources(orvanta_app PRIVATE ${SHADER_TEXTS})
target_include_directories(orvanta_app PRIVATE ${SHADER_TEXTS_DIR})
