// Arbitrary bytes as a document of every kind: each filter's regions lie
// inside it, in order, without overlap, none empty. The document ends where
// an unreadable page begins, so that a read past its end by a library the
// sanitizers do not see into (md4c, gumbo) fails every time, not only when
// the fuzzer's buffer happens to end a page.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

#include "filters/Filter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::size_t page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
  const std::size_t pages = (size + page - 1) / page + 1;
  void* mapped =
      ::mmap(nullptr, pages * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) std::abort();
  char* guard = static_cast<char*>(mapped) + (pages - 1) * page;
  if (::mprotect(guard, page, PROT_NONE) != 0) std::abort();
  if (size != 0) std::memcpy(guard - size, data, size);
  const std::string_view document(guard - size, size);
  std::vector<spellcheck::tool::Region> regions;
  for (const char* mode : {"markdown", "html", "xml", "tex", "nroff", "email", "c", "java", "js",
                           "go", "rust", "python", "shell", "cmake", "yaml", "toml"}) {
    const auto filter = spellcheck::tool::MakeFilter(mode);
    if (!filter) continue;
    filter->Regions(document, regions);
    std::size_t end = 0;
    for (const auto& region : regions) {
      if (region.begin < end || region.begin >= region.end || region.end > size) std::abort();
      end = region.end;
    }
  }
  ::munmap(mapped, pages * page);
  return 0;
}
