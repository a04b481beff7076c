#include "commands/PersonalList.h"

#include <fstream>
#include <vector>

#include "errors/ToolError.h"
#include "input/WordScanner.h"

namespace spellcheck::tool {

PersonalList::PersonalList(std::string path) : path_(std::move(path)) {
  std::ifstream in(path_, std::ios::binary);
  if (!in) return;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    // ispell may keep flags after a slash; aspell begins with a header line.
    line = line.substr(0, line.find('/'));
    if (line.find_first_of(" \t") != std::string::npos) continue;
    if (!line.empty() && known_.insert(line).second) words_.push_back(line);
  }
  if (in.bad()) throw ToolError("cannot read the personal word list " + path_);
}

void PersonalList::Add(std::string_view word) {
  if (!known_.insert(std::string(word)).second) return;
  words_.emplace_back(word);
  std::ofstream out(path_, std::ios::binary | std::ios::app);
  out << word << '\n';
  out.flush();
  if (!out) throw ToolError("cannot write the personal word list " + path_);
}

bool IsOneWord(std::string_view text) {
  std::vector<WordSpan> spans;
  ScanWords(text, spans);
  return spans.size() == 1 && spans[0].byteOffset == 0 && spans[0].byteLength == text.size();
}

}  // namespace spellcheck::tool
