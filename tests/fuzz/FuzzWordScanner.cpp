// Arbitrary bytes as a line of text: the word scanner finds words that lie
// inside the line, in order, without overlap, each made of something.
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "input/WordScanner.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  std::vector<spellcheck::tool::WordSpan> words;
  spellcheck::tool::ScanWords(line, words);
  std::size_t end = 0;
  std::size_t charEnd = 0;
  for (const auto& word : words) {
    if (word.byteLength == 0) std::abort();
    if (word.byteOffset < end || word.byteOffset + word.byteLength > size) std::abort();
    if (word.charOffset < charEnd || word.charOffset > word.byteOffset) std::abort();
    end = word.byteOffset + word.byteLength;
    charEnd = word.charOffset + 1;
  }
  return 0;
}
