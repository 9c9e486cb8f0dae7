# The data package: the host tools generate the data tree, then pack it next to Orvanta.exe.
include(ExternalProject)
set(HOST_TOOLS_DIR ${CMAKE_BINARY_DIR}/host)
set(ASSETGEN ${HOST_TOOLS_DIR}/assetgen/orvanta_assetgen)
set(PACKER ${HOST_TOOLS_DIR}/pack/orvanta_pack)
ExternalProject_Add(host_tools
  SOURCE_DIR ${CMAKE_SOURCE_DIR}/tools
  BINARY_DIR ${HOST_TOOLS_DIR}
  CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release
  BUILD_ALWAYS ON
  INSTALL_COMMAND ""
  BUILD_BYPRODUCTS ${ASSETGEN} ${PACKER})

set(DATA_DIR ${CMAKE_BINARY_DIR}/data)
# The dialog picture (bitmap resource 106) is written beside the data tree for the resource compiler.
set(DIALOG_BITMAP ${CMAKE_BINARY_DIR}/resources/dialog.bmp)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/Orvanta.pac ${DIALOG_BITMAP}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${DATA_DIR}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/resources
  COMMAND ${ASSETGEN} ${DATA_DIR} --dialog-bitmap ${DIALOG_BITMAP}
  COMMAND ${PACKER} ${DATA_DIR} ${CMAKE_BINARY_DIR}/Orvanta.pac
  DEPENDS host_tools ${ASSETGEN} ${PACKER}
  COMMENT "Generating and packing the show's data")
add_custom_target(data_package ALL DEPENDS ${CMAKE_BINARY_DIR}/Orvanta.pac)
