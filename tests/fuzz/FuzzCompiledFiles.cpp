// Arbitrary bytes as the sections of a compiled file whose checksum holds:
// the first byte chooses what it is read as (a word list's table, a ranked
// index, a Hunspell dictionary's stems, or, as a whole file, its header);
// then each section is a 4-byte length and that many bytes. Whatever a view
// accepts is then used: lookups and suggestions must neither crash nor hang.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "compiled/Image.h"
#include "engine/LoadedDictionary.h"
#include "hunspell/Dictionary.h"
#include "suggest/RankedIndex.h"

namespace {

using namespace spellcheck;

std::vector<std::string> Sections(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> sections;
  while (size >= 4 && sections.size() < 32) {
    std::uint32_t length;
    std::memcpy(&length, data, 4);
    data += 4;
    size -= 4;
    length = static_cast<std::uint32_t>(std::min<std::size_t>(length, size));
    sections.emplace_back(reinterpret_cast<const char*>(data), length);
    data += length;
    size -= length;
  }
  return sections;
}

// An affix file for the stems to be read with, written once.
const std::string& AffixFile() {
  static const std::string path = [] {
    std::string name = "/tmp/fuzz_compiled_files.aff";
    std::ofstream(name) << "SET UTF-8\nTRY esianrtolcdugmphbyfvkwz\nSFX S Y 1\nSFX S 0 s .\n";
    return name;
  }();
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const int what = data[0] % 4;
  if (what == 3) {
    std::vector<unsigned char> bytes(data + 1, data + size);
    compiled::Image::Open(std::make_unique<store::BytesMapping>(std::move(bytes)),
                          compiled::Kind::Records, {});
    return 0;
  }
  compiled::ImageWriter writer;
  for (const std::string& section : Sections(data + 1, size - 1)) writer.Add(section);
  const compiled::Kind kind = what == 0   ? compiled::Kind::Records
                              : what == 1 ? compiled::Kind::Ranked
                                          : compiled::Kind::Hunspell;
  const auto image = compiled::Image::InMemory(writer, kind, {});
  const char* words[] = {"house", "Huose", "ab", "Hauss", "x"};
  if (what == 0) {
    if (auto view = engine::LoadedDictionary::View(image, {})) {
      std::vector<std::string> similar;
      for (const char* word : words) {
        view->Find(word, false);
        view->Find(word, true);
        view->CollectSimilar(word, similar);
      }
    }
  } else if (what == 1) {
    if (auto view = suggest::RankedIndex::View(image)) {
      const suggest::RankedIndex* indexes[] = {view.get()};
      for (const char* word : words) suggest::Suggest(word, indexes);
    }
  } else {
    if (auto view =
            hunspell::Dictionary::LoadCompiled(store::FileSystem::Default(), AffixFile(), image)) {
      for (const char* word : words) {
        if (!view->Check(word)) view->Suggest(word, 5);
      }
    }
  }
  return 0;
}
