// Tells whether any of a run's dictionary files changed since the last look:
// its identity, size, permissions or times. A file changed so recently that
// its time stamp cannot yet be trusted counts as changed at the next look too.
#ifndef SPELLCHECK_TOOL_DICTIONARYWATCH_H
#define SPELLCHECK_TOOL_DICTIONARYWATCH_H

#include <sys/stat.h>

#include <string>
#include <vector>

namespace spellcheck::tool {

class DictionaryWatch {
 public:
  explicit DictionaryWatch(std::vector<std::string> files);

  // Looks at every file once; true when any differs from the last look.
  bool Changed();

 private:
  struct Seen {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    mode_t mode = 0;
    timespec modified{};
    timespec changed{};
    bool operator==(const Seen& other) const;
  };
  static Seen Look(const std::string& file, bool& racy);

  std::vector<std::string> files_;
  std::vector<Seen> seen_;
  bool racy_ = false;
};

}  // namespace spellcheck::tool

#endif
