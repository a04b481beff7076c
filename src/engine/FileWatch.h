// The one way the program tells whether a dictionary file changed since it
// was read: its identity (device and file number), size, permission bits,
// modification time and change time, as seen by name. The change time matters:
// a copy that restores the old modification time (cp -p, rsync -t) still moves it.
#ifndef SPELLCHECK_ENGINE_FILEWATCH_H
#define SPELLCHECK_ENGINE_FILEWATCH_H

#include <cstdint>
#include <string>

#include "compiled/Image.h"
#include "store/FileSystem.h"

namespace spellcheck::engine {

// What one look at a name saw.
struct FileState {
  bool exists = false;
  store::FileInfo info;

  bool operator==(const FileState& other) const;
};

// Adds a file's name and state to the key of what is compiled from it.
void AddTo(compiled::Key& key, const std::string& name, const FileState& state);

// Looks at the file behind `name`, following links.
FileState LookAt(store::FileSystem& fs, const std::string& name);

// Whether contents read from a file in `state` can be trusted for as long as
// a look shows the same state. Time stamps move in coarse steps, so a file
// changed within the last moment before it was read could change again
// unseen; it is not to be trusted until it has been quiet for a while. A time
// stamp later than the reading (a clock set back, a skewed file server) says
// nothing about that moment: such a file is judged once, as trusted, since
// any later change gives it a new change time from the present clock.
bool Settled(const FileState& state, std::int64_t readAtNs);

// The wall clock in nanoseconds since 1970, the scale of the time stamps.
std::int64_t WallClockNs();

}  // namespace spellcheck::engine

#endif
