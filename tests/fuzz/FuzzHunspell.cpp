// Arbitrary bytes as a Hunspell dictionary and words: the input is cut at
// the first two lines "@@DIC" and "@@WORDS" into .aff, .dic and words (one a
// line). Loading, checking and suggesting must neither crash nor hang.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "hunspell/Dictionary.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const auto dicAt = input.find("@@DIC\n");
  const std::string_view aff = input.substr(0, dicAt);
  std::string_view rest =
      dicAt == std::string_view::npos ? std::string_view() : input.substr(dicAt + 6);
  const auto wordsAt = rest.find("@@WORDS\n");
  const std::string_view dic = rest.substr(0, wordsAt);
  std::string_view words =
      wordsAt == std::string_view::npos ? std::string_view() : rest.substr(wordsAt + 8);
  std::unique_ptr<spellcheck::hunspell::Dictionary> d;
  try {
    d = spellcheck::hunspell::Dictionary::FromText(aff, dic, "f.aff", "f.dic");
  } catch (const spellcheck::hunspell::LoadError&) {
    return 0;
  }
  int count = 0;
  while (!words.empty() && count++ < 8) {
    const auto end = words.find('\n');
    const std::string_view word = words.substr(0, end);
    words = end == std::string_view::npos ? std::string_view() : words.substr(end + 1);
    if (!d->Check(word)) d->Suggest(word, 5);
  }
  return 0;
}
