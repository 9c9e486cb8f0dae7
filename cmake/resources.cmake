# Dialog templates and the dialog picture, compiled by the mingw resource compiler into every program
# that shows the dialogs. The picture is a build product of the asset generator (cmake/data.cmake).
enable_language(RC)
set(ORVANTA_DIALOG_BMP ${DIALOG_BITMAP})

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
  add_dependencies(${target} data_package)
endfunction()
