// <fcntl.h> for the tool's Windows build: the C library's own, plus the two
// POSIX open flags that it lacks. A descriptor that children do not inherit
// is Windows' form of close-on-exec; Windows has no controlling terminals.
#ifndef SPELLCHECK_TOOL_WIN32_FCNTL_H
#define SPELLCHECK_TOOL_WIN32_FCNTL_H

#include_next <fcntl.h>

#ifndef O_CLOEXEC
#define O_CLOEXEC O_NOINHERIT
#endif
#ifndef O_NOCTTY
#define O_NOCTTY 0
#endif

#endif
