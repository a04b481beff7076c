# GoogleTest and GoogleMock built from source for a cross-build (Debian's
# googletest package ships them in /usr/src/googletest), under the names that
# find_package(GTest) gives natively.
set(SPELLCHECK_GOOGLETEST_SOURCE /usr/src/googletest
    CACHE PATH "GoogleTest sources for the cross-build")
if(NOT EXISTS ${SPELLCHECK_GOOGLETEST_SOURCE}/CMakeLists.txt)
  message(FATAL_ERROR "GoogleTest sources not found in ${SPELLCHECK_GOOGLETEST_SOURCE}")
endif()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(${SPELLCHECK_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
foreach(name gtest gtest_main gmock gmock_main)
  if(NOT TARGET GTest::${name})
    add_library(GTest::${name} ALIAS ${name})
  endif()
endforeach()
