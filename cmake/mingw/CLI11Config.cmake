# CLI11 for the cross-build. It is header-only, so the build machine's copy
# serves; only its folder is put on the include path (never /usr/include as a
# whole, whose C headers are not the target's).
set(SPELLCHECK_CLI11_HEADERS /usr/include/CLI CACHE PATH "The build machine's CLI11 headers")
if(NOT EXISTS ${SPELLCHECK_CLI11_HEADERS}/CLI.hpp)
  set(CLI11_FOUND FALSE)
  set(CLI11_NOT_FOUND_MESSAGE "CLI11 headers not found in ${SPELLCHECK_CLI11_HEADERS}")
  return()
endif()
set(staged ${CMAKE_BINARY_DIR}/cli11-include)
file(MAKE_DIRECTORY ${staged})
if(NOT EXISTS ${staged}/CLI)
  file(CREATE_LINK ${SPELLCHECK_CLI11_HEADERS} ${staged}/CLI SYMBOLIC)
endif()
if(NOT TARGET CLI11::CLI11)
  add_library(CLI11::CLI11 INTERFACE IMPORTED)
  set_target_properties(CLI11::CLI11 PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${staged})
endif()
set(CLI11_FOUND TRUE)
