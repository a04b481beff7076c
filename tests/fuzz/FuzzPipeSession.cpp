// Arbitrary bytes as the input of an ispell pipe session (commands, escapes,
// invalid UTF-8, long lines): the session answers without crashing and ends
// cleanly at the end of its input.
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "commands/Commands.h"
#include "store/FileSystem.h"
#include "store/TvarWord.h"

namespace {

struct Files {
  std::string folder;
  std::string main;
  std::string custom;
  std::string input;
};

const Files& Setup() {
  static const Files files = [] {
    Files f;
    std::string pattern = "/tmp/spellcheck-pipe-fuzz-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    f.folder = pattern;
    f.main = f.folder + "/main.dic";
    f.custom = f.folder + "/cust.dic";
    f.input = f.folder + "/input.txt";
    std::ofstream out(f.main, std::ios::binary);
    for (const char* word : {"Hello", "apple", "hello", "house", "mouse", "world"}) {
      const auto record = spellcheck::store::TvarWord::FromWord(word);
      out.write(reinterpret_cast<const char*>(&record), sizeof record);
    }
    return f;
  }();
  return files;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Files& files = Setup();
  ::unlink(files.custom.c_str());
  {
    std::ofstream input(files.input, std::ios::binary | std::ios::trunc);
    input.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  const int savedIn = ::dup(STDIN_FILENO);
  const int savedOut = ::dup(STDOUT_FILENO);
  const int in = ::open(files.input.c_str(), O_RDONLY);
  const int out = ::open("/dev/null", O_WRONLY);
  ::dup2(in, STDIN_FILENO);
  ::dup2(out, STDOUT_FILENO);
  const int status = spellcheck::tool::RunPipe(spellcheck::store::FileSystem::Default(),
                                               {"-a", "-d", files.main, "-p", files.custom});
  ::dup2(savedIn, STDIN_FILENO);
  ::dup2(savedOut, STDOUT_FILENO);
  for (const int fd : {savedIn, savedOut, in, out}) ::close(fd);
  if (status != 0) std::abort();
  return 0;
}
