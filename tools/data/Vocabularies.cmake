# The vocabularies, share/spellcheck/vocabularies/NAME.dic: the English words
# of the bundled dictionary's larger sizes (SCOWL, Debian package scowl) and
# the technical ones of data/vocabularies.txt (cspell's word-list packages,
# fetched by scripts/install-deps). Each is made by make_vocabulary (cspell's
# markers and excluded words dropped) and the tool's own build command. A list
# that is missing leaves its vocabulary out, with a message; the build goes on.
set(SPELLCHECK_VOCABULARY_SOURCE_DIR ${PROJECT_SOURCE_DIR}/deps/cspell CACHE PATH
    "Folder of the cspell word-list packages the technical vocabularies are made from")
# 70: measured with bench/english-sizes.py (see the README).
set(SPELLCHECK_ENGLISH_VOCABULARY_SIZE 70 CACHE STRING
    "Largest SCOWL size whose words the English vocabulary holds")

add_executable(spellcheck_make_vocabulary MakeVocabulary.cpp)
target_link_libraries(spellcheck_make_vocabulary PRIVATE spellcheck_core)
set_target_properties(spellcheck_make_vocabulary PROPERTIES OUTPUT_NAME make_vocabulary)

set(vocabulary_dir ${PROJECT_BINARY_DIR}/share/spellcheck/vocabularies)
set(vocabulary_dics)
set(SPELLCHECK_BUILT_VOCABULARIES)
set(missing_vocabularies)

# cspell's lists count in any case: they are made in lower case. English is
# looked up as a dictionary is, and kept as written.
function(spellcheck_vocabulary name)
  set(list ${CMAKE_CURRENT_BINARY_DIR}/vocabulary-${name}.txt)
  set(dic ${vocabulary_dir}/${name}.dic)
  set(lower --lower)
  if(name STREQUAL "english")
    set(lower)
  endif()
  add_custom_command(OUTPUT ${dic}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${vocabulary_dir}
    COMMAND spellcheck_make_vocabulary ${lower} ${list} ${ARGN}
    COMMAND spellcheck_tool build --quiet ${list} -o ${dic}
    DEPENDS spellcheck_make_vocabulary spellcheck_tool ${ARGN}
    COMMENT "Making the vocabulary ${name}"
    VERBATIM)
  set(vocabulary_dics ${vocabulary_dics} ${dic} PARENT_SCOPE)
  set(SPELLCHECK_BUILT_VOCABULARIES ${SPELLCHECK_BUILT_VOCABULARIES} ${name} PARENT_SCOPE)
  install(FILES ${dic} DESTINATION ${CMAKE_INSTALL_DATADIR}/spellcheck/vocabularies)
endfunction()

# English: the American lists of every size up to the chosen one.
set(english_lists)
foreach(list IN LISTS SPELLCHECK_LEVEL_LISTS)
  file(GLOB found ${SPELLCHECK_SCOWL_DIR}/${list}.[0-9]*)
  foreach(file IN LISTS found)
    string(REGEX MATCH "[0-9]+$" size ${file})
    if(size LESS_EQUAL SPELLCHECK_ENGLISH_VOCABULARY_SIZE)
      list(APPEND english_lists ${file})
    endif()
  endforeach()
endforeach()
if(english_lists)
  list(SORT english_lists)
  spellcheck_vocabulary(english ${english_lists})
  if(EXISTS /usr/share/doc/scowl/copyright)
    install(FILES /usr/share/doc/scowl/copyright
            DESTINATION ${CMAKE_INSTALL_DATADIR}/spellcheck/vocabularies RENAME english.copyright)
  endif()
else()
  message(STATUS "No English vocabulary: no SCOWL lists in ${SPELLCHECK_SCOWL_DIR} "
                 "(Debian package scowl)")
  list(APPEND missing_vocabularies english)
endif()

file(STRINGS ${PROJECT_SOURCE_DIR}/data/vocabularies.txt vocabulary_lines REGEX "^[a-z]")
set(vocabulary_packages)
foreach(line IN LISTS vocabulary_lines)
  string(REGEX REPLACE "[ \t]+" ";" fields "${line}")
  list(POP_FRONT fields name)
  set(lists)
  set(absent)
  foreach(relative IN LISTS fields)
    set(file ${SPELLCHECK_VOCABULARY_SOURCE_DIR}/${relative})
    if(EXISTS ${file})
      list(APPEND lists ${file})
      string(REGEX REPLACE "/.*" "" package ${relative})
      list(APPEND vocabulary_packages ${package})
    else()
      string(REGEX REPLACE "/.*" "" package ${relative})
      list(APPEND absent @cspell/dict-${package})
    endif()
  endforeach()
  if(absent)
    list(REMOVE_DUPLICATES absent)
    list(JOIN absent ", " absent)
    message(STATUS "No ${name} vocabulary: ${absent} not in ${SPELLCHECK_VOCABULARY_SOURCE_DIR} "
                   "(scripts/install-deps fetches it)")
    list(APPEND missing_vocabularies ${name})
    continue()
  endif()
  spellcheck_vocabulary(${name} ${lists})
endforeach()
# Each package's licence travels with what is made of it.
list(REMOVE_DUPLICATES vocabulary_packages)
foreach(package IN LISTS vocabulary_packages)
  set(licence ${SPELLCHECK_VOCABULARY_SOURCE_DIR}/${package}/LICENSE)
  if(EXISTS ${licence})
    install(FILES ${licence} DESTINATION ${CMAKE_INSTALL_DATADIR}/spellcheck/vocabularies
            RENAME cspell-dict-${package}.LICENSE)
  endif()
endforeach()
if(vocabulary_dics)
  add_custom_target(spellcheck_vocabularies ALL DEPENDS ${vocabulary_dics})
endif()
message(STATUS "Vocabularies built: ${SPELLCHECK_BUILT_VOCABULARIES}")
if(missing_vocabularies)
  message(STATUS "Vocabularies missing: ${missing_vocabularies}")
endif()
