# Dialog templates and the dialog picture, compiled by the mingw resource compiler into every program
# that shows the dialogs. The picture is a build product: ORVANTA_DIALOG_BMP names the file the .rc
# embeds, and the command below writes it (a stand-in until the real picture is generated; to swap it,
# change that command and keep the output path).
enable_language(RC)
set(ORVANTA_DIALOG_BMP ${CMAKE_BINARY_DIR}/orvanta_dialog.bmp)
add_custom_command(OUTPUT ${ORVANTA_DIALOG_BMP}
  COMMAND ${HOST_TOOLS_DIR}/dialogbmp/orvanta_dialogbmp ${ORVANTA_DIALOG_BMP}
  DEPENDS host_tools
  COMMENT "Generating the dialog picture")
add_custom_target(dialog_bitmap DEPENDS ${ORVANTA_DIALOG_BMP})

set(ORVANTA_RC ${CMAKE_SOURCE_DIR}/resources/orvanta.rc)

# Links the dialog resources into an executable target.
function(orvanta_add_resources target)
  target_sources(${target} PRIVATE ${ORVANTA_RC})
  get_filename_component(bmp_dir ${ORVANTA_DIALOG_BMP} DIRECTORY)
  target_include_directories(${target} PRIVATE
    $<$<COMPILE_LANGUAGE:RC>:${CMAKE_SOURCE_DIR}/resources>
    $<$<COMPILE_LANGUAGE:RC>:${bmp_dir}>)
  set_source_files_properties(${ORVANTA_RC} TARGET_DIRECTORY ${target}
    PROPERTIES OBJECT_DEPENDS "${ORVANTA_DIALOG_BMP};${CMAKE_SOURCE_DIR}/resources/resource.h")
  add_dependencies(${target} dialog_bitmap)
endfunction()
