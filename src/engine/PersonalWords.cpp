#include "engine/PersonalWords.h"

#include <utility>

#include "store/TextFile.h"
#include "text/Unicode.h"
#include "text/Utf8.h"

namespace spellcheck::engine {

PersonalWords::PersonalWords(store::FileSystem& fs, std::string file)
    : fs_(fs), file_(std::move(file)) {
  Load();
}

std::string PersonalWords::FileFor(const std::string& customDictionary) {
  const std::string& name = customDictionary;
  if (name.size() > 4 && name.ends_with(".dic")) return name.substr(0, name.size() - 4) + ".words";
  return name + ".words";
}

void PersonalWords::Load() {
  state_ = LookAt(fs_, file_);
  words_.clear();
  if (!state_.exists) return;
  std::string bytes;
  store::FileInfo info;
  if (store::ReadWholeFile(fs_, file_, bytes, info) != store::code::Ok) return;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    std::string_view line(bytes.data() + start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!line.empty()) words_.emplace(line);
    start = end + 1;
  }
}

bool PersonalWords::Holds(std::string_view utf8Word) const {
  if (words_.empty() || utf8Word.empty()) return false;
  if (words_.count(std::string(utf8Word)) != 0) return true;
  std::size_t next = 0;
  const char32_t first = text::DecodeUtf8(utf8Word, next);
  const char32_t lowered = text::UnicodeLower(first);
  if (lowered == first) return false;
  std::string form;
  text::AppendUtf8(form, lowered);
  form.append(utf8Word.substr(next));
  return words_.count(form) != 0;
}

bool PersonalWords::Add(std::string_view utf8Word) {
  const bool added = store::AddLine(fs_, file_, utf8Word);
  Load();
  return added;
}

bool PersonalWords::Remove(std::string_view utf8Word) {
  const bool removed = store::RemoveLine(fs_, file_, utf8Word);
  Load();
  return removed;
}

bool PersonalWords::Refresh() {
  if (LookAt(fs_, file_) == state_) return false;
  Load();
  return true;
}

}  // namespace spellcheck::engine
