# The Debian package: everything `cmake --install` installs (the library with
# its soname and namelink, the header, the CMake package, spellcheck.pc, the
# tool, the bundled dictionaries, the manual pages, the bash completion, and
# whatever else gets an install rule), in one package named spellcheck.
#
#   cmake --preset package && cmake --build --preset package
#   cd build-package && cpack -G DEB        (or: cmake --workflow --preset package)
#
# The package installs under CMAKE_INSTALL_PREFIX, which should be /usr for it
# (the package preset sets it), so that the paths compiled into the tool and
# written into the CMake and pkg-config files are those of the installed files.
if(WIN32)
  return()
endif()

set(CPACK_PACKAGE_NAME spellcheck)
set(CPACK_PACKAGE_VENDOR "spellcheck")
set(SPELLCHECK_PACKAGE_MAINTAINER "spellcheck maintainers <spellcheck@localhost>" CACHE STRING
    "The Maintainer field of the Debian package")
set(CPACK_PACKAGE_CONTACT "${SPELLCHECK_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "spelling checker and library for texts, code and editors")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})

set(CPACK_DEBIAN_PACKAGE_NAME spellcheck)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # spellcheck_VERSION_ARCH.deb
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The long description below the summary; CPack indents it, an empty line
# parts paragraphs.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "spellcheck checks words and texts against word-list dictionaries, suggests
spellings (ranked by spelling, sound and how common a word is), keeps
dictionaries and speaks the ispell pipe protocol for editors. Its list
command checks only the prose of Markdown, HTML, XML, TeX, man pages and
mail and the comments and strings of code, and writes text, JSON, SARIF or
GitHub annotations.

The package holds the tool with its bundled English dictionary, the shared
library libspellcheck (one exported factory, CreateSpellerCheck) with its
header, CMake package and pkg-config file, the manual pages spellcheck(1)
and spellcheck(3) and the bash completion.")
# Depends: from the programs' and libraries' own needs (dpkg-shlibdeps).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# A shlibs file for libspellcheck.so.1, so that packages built against it
# depend on this package.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
# The bundled dictionary compiled for every user at installation, in
# /var/cache/spellcheck, and removed with the package. Our own maintainer
# scripts replace the ones CPack would write with an ldconfig call, so the
# linker's cache is refreshed by dpkg's ldconfig trigger instead, after
# installation and removal alike.
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    "${CMAKE_CURRENT_LIST_DIR}/debian/postinst;${CMAKE_CURRENT_LIST_DIR}/debian/postrm;${CMAKE_CURRENT_LIST_DIR}/debian/triggers")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Programs and libraries without their symbol tables.
set(CPACK_STRIP_FILES ON)

include(CPack)
