// Arbitrary bytes as a document of every kind: each filter's regions lie
// inside it, in order, without overlap, none empty.
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "filters/Filter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view document(reinterpret_cast<const char*>(data), size);
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
  return 0;
}
