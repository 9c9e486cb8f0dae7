# The release zip of this build, made by cpack (tools/release.sh runs it for both builds):
# Orvanta-<version>-win32.zip or -win64.zip, holding the folder Orvanta/ with the stripped program, its
# data package and the info text. Two zips of one commit are the same byte for byte: the compiler
# writes no path of this machine (CMakeLists.txt); tools/release.sh sets SOURCE_DATE_EPOCH to the
# commit's time, which strip writes into the PE header and cpack gives every entry (in UTC); and the
# entries come in a fixed order (below).

# The version: the project's; between releases (a release is the commit tagged v<version>) the commit
# follows it, and uncommitted changes are marked.
set(ORVANTA_VERSION ${PROJECT_VERSION})
find_package(Git QUIET)
if(GIT_FOUND AND EXISTS ${CMAKE_SOURCE_DIR}/.git)
  macro(orvanta_git out)
    execute_process(COMMAND ${GIT_EXECUTABLE} ${ARGN} WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
      OUTPUT_VARIABLE ${out} OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  endmacro()
  orvanta_git(head rev-parse HEAD)
  orvanta_git(release rev-parse -q --verify "refs/tags/v${PROJECT_VERSION}^{commit}")
  orvanta_git(changes status --porcelain --untracked-files=no)
  if(head AND NOT head STREQUAL release)
    string(SUBSTRING ${head} 0 7 commit)
    string(APPEND ORVANTA_VERSION "-${commit}")
  endif()
  if(changes)
    string(APPEND ORVANTA_VERSION "-dirty")
  endif()
endif()

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(ORVANTA_PLATFORM win64)
else()
  set(ORVANTA_PLATFORM win32)
endif()

# The info text, with Windows line ends for Notepad.
configure_file(${CMAKE_SOURCE_DIR}/docs/Orvanta.txt.in ${CMAKE_BINARY_DIR}/release/Orvanta.txt
  @ONLY NEWLINE_STYLE CRLF)

# One component per file: cpack adds the components in the order of their names, so the zip lists
# Orvanta.exe, Orvanta.pac, Orvanta.txt in that order whatever order the file system lists them in.
install(TARGETS Orvanta RUNTIME DESTINATION . COMPONENT exe)
install(FILES ${CMAKE_BINARY_DIR}/Orvanta.pac DESTINATION . COMPONENT pac)
install(FILES ${CMAKE_BINARY_DIR}/release/Orvanta.txt DESTINATION . COMPONENT txt)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Orvanta)
set(CPACK_PACKAGE_VERSION ${ORVANTA_VERSION})
set(CPACK_PACKAGE_FILE_NAME Orvanta)   # the folder in the zip
set(CPACK_ARCHIVE_FILE_NAME Orvanta-${ORVANTA_VERSION}-${ORVANTA_PLATFORM})
set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL exe pac txt)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_COMPONENT_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)   # tools/release.sh has built everything: cpack only packs
set(CPACK_STRIP_FILES ON)   # the build keeps its symbols (tools/benchmark.sh reads them)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/release)
include(CPack)
