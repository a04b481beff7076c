# nlohmann/json for the cross-build. It is header-only, so the build
# machine's copy serves; only its folder is put on the include path (never
# /usr/include as a whole, whose C headers are not the target's).
set(SPELLCHECK_NLOHMANN_JSON_HEADERS /usr/include/nlohmann
    CACHE PATH "The build machine's nlohmann/json headers")
if(NOT EXISTS ${SPELLCHECK_NLOHMANN_JSON_HEADERS}/json.hpp)
  set(nlohmann_json_FOUND FALSE)
  set(nlohmann_json_NOT_FOUND_MESSAGE
      "nlohmann/json headers not found in ${SPELLCHECK_NLOHMANN_JSON_HEADERS}")
  return()
endif()
set(staged ${CMAKE_BINARY_DIR}/nlohmann-json-include)
file(MAKE_DIRECTORY ${staged})
if(NOT EXISTS ${staged}/nlohmann)
  file(CREATE_LINK ${SPELLCHECK_NLOHMANN_JSON_HEADERS} ${staged}/nlohmann SYMBOLIC)
endif()
if(NOT TARGET nlohmann_json::nlohmann_json)
  add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
  set_target_properties(nlohmann_json::nlohmann_json PROPERTIES
                        INTERFACE_INCLUDE_DIRECTORIES ${staged})
endif()
set(nlohmann_json_FOUND TRUE)
