// Tells whether any of a run's dictionary files changed since the last look:
// its identity, size, permissions or time stamp. A file changed so recently
// that its time stamp cannot yet be trusted counts as changed at the next look too.
#ifndef SPELLCHECK_TOOL_DICTIONARYWATCH_H
#define SPELLCHECK_TOOL_DICTIONARYWATCH_H

#include <string>
#include <vector>

#include "store/FileSystem.h"

namespace spellcheck::tool {

class DictionaryWatch {
 public:
  explicit DictionaryWatch(std::vector<std::string> files);

  // Looks at every file once; true when any differs from the last look.
  bool Changed();

 private:
  struct Seen {
    bool exists = false;
    store::FileInfo info;
    bool operator==(const Seen& other) const;
  };
  static Seen Look(const std::string& file, bool& racy);

  std::vector<std::string> files_;
  std::vector<Seen> seen_;
  bool racy_ = false;
};

}  // namespace spellcheck::tool

#endif
