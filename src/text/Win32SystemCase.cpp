// The platform's case mapping on Windows: the system's own, locale-aware
// mapping of the ANSI code page, applied to a one-character buffer.

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include "text/CaseMapping.h"

namespace spellcheck::text {

unsigned char SystemUpper(unsigned char c) {
  char buffer[1] = {static_cast<char>(c)};
  ::CharUpperBuffA(buffer, 1);
  return static_cast<unsigned char>(buffer[0]);
}

unsigned char SystemLower(unsigned char c) {
  char buffer[1] = {static_cast<char>(c)};
  ::CharLowerBuffA(buffer, 1);
  return static_cast<unsigned char>(buffer[0]);
}

}  // namespace spellcheck::text
