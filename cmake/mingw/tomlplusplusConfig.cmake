# toml++ for the cross-build. It is used header-only, so the build machine's
# copy serves; only its folder is put on the include path (never /usr/include
# as a whole, whose C headers are not the target's).
set(SPELLCHECK_TOMLPLUSPLUS_HEADERS /usr/include/toml++
    CACHE PATH "The build machine's toml++ headers")
if(NOT EXISTS ${SPELLCHECK_TOMLPLUSPLUS_HEADERS}/toml.h)
  set(tomlplusplus_FOUND FALSE)
  set(tomlplusplus_NOT_FOUND_MESSAGE
      "toml++ headers not found in ${SPELLCHECK_TOMLPLUSPLUS_HEADERS}")
  return()
endif()
set(staged ${CMAKE_BINARY_DIR}/tomlplusplus-include)
file(MAKE_DIRECTORY ${staged})
if(NOT EXISTS ${staged}/toml++)
  file(CREATE_LINK ${SPELLCHECK_TOMLPLUSPLUS_HEADERS} ${staged}/toml++ SYMBOLIC)
endif()
if(NOT TARGET tomlplusplus::tomlplusplus)
  add_library(tomlplusplus::tomlplusplus INTERFACE IMPORTED)
  set_target_properties(tomlplusplus::tomlplusplus PROPERTIES
                        INTERFACE_INCLUDE_DIRECTORIES ${staged}
                        INTERFACE_COMPILE_DEFINITIONS TOML_HEADER_ONLY=1)
endif()
set(tomlplusplus_FOUND TRUE)
