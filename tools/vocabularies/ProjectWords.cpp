#include "vocabularies/ProjectWords.h"

#include <unistd.h>

#include <fstream>
#include <iostream>
#include <system_error>

#include "errors/ToolError.h"
#include "input/TextCodec.h"
#include "output/Output.h"

namespace spellcheck::tool {
namespace {

namespace fs = std::filesystem;

// A line's word: without a carriage return or surrounding blanks; empty for
// blank and comment lines.
std::string_view LineWord(std::string_view line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) {
    line.remove_suffix(1);
  }
  while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
  if (line.starts_with('#')) return {};
  return line;
}

fs::path CurrentFolder() {
  std::error_code error;
  fs::path folder = fs::current_path(error);
  return error ? fs::path(".") : folder;
}

}  // namespace

std::optional<fs::path> FindProjectWords(const fs::path& start) {
  std::error_code error;
  fs::path folder = fs::absolute(start, error);
  if (error) return std::nullopt;
  while (true) {
    const fs::path candidate = folder / ProjectWordsFileName;
    if (fs::is_regular_file(candidate, error)) return candidate;
    const fs::path parent = folder.parent_path();
    if (parent.empty() || parent == folder) return std::nullopt;
    folder = parent;
  }
}

void ReadWordList(const fs::path& file, WordSet& words) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw ToolError(file.string() + ": cannot read the word list");
  std::string line;
  while (std::getline(in, line)) {
    const std::string_view word = LineWord(line);
    if (!word.empty()) words.insert(std::string(word));
  }
  if (in.bad()) throw ToolError(file.string() + ": cannot read the word list");
}

ProjectWords::ProjectWords(const std::vector<std::string>& lists) {
  for (const std::string& list : lists) ReadWordList(list, given_);
}

const WordSet& ProjectWords::For(const std::string& file) {
  const fs::path folder = file == "-" ? CurrentFolder() : fs::path(file).parent_path();
  return ForFolder(folder.empty() ? CurrentFolder() : folder);
}

const WordSet& ProjectWords::ForFolder(const fs::path& folder,
                                       const std::vector<std::string>& further,
                                       const std::string& namedIn) {
  auto known = nearest_.find(folder);
  if (known == nearest_.end()) {
    fs::path key;
    if (const std::optional<fs::path> list = FindProjectWords(folder)) {
      std::error_code error;
      key = fs::weakly_canonical(*list, error);
      if (error) key = *list;
    }
    known = nearest_.emplace(folder, key).first;
  }
  const fs::path& list = known->second;
  if (list.empty() && further.empty()) return given_;
  auto at = byLists_.find({list, further});
  if (at == byLists_.end()) {
    WordSet words = given_;
    try {
      for (const std::string& more : further) ReadWordList(more, words);
    } catch (const ToolError& error) {
      throw ToolError(std::string(error.what()) +
                      (namedIn.empty() ? "" : " (named in " + namedIn + ")"));
    }
    if (!list.empty()) ReadWordList(list, words);
    at = byLists_.emplace(std::make_pair(list, further), std::move(words)).first;
  }
  return at->second;
}

fs::path ProjectListFor(const std::string& file) {
  fs::path folder = fs::path(file).parent_path();
  if (folder.empty()) folder = CurrentFolder();
  return FindProjectWords(folder).value_or(folder / ProjectWordsFileName);
}

bool FitsWordList(std::string_view word) {
  return !word.empty() && LineWord(word) == word && word.find('\n') == std::string_view::npos;
}

std::vector<bool> AppendToWordList(const fs::path& list, const std::vector<std::string>& words) {
  WordSet known;
  bool endsWithNewline = true;
  if (fs::exists(list)) {
    ReadWordList(list, known);
    std::ifstream in(list, std::ios::binary | std::ios::ate);
    if (in && in.tellg() > 0) {
      in.seekg(-1, std::ios::end);
      endsWithNewline = in.get() == '\n';
    }
  }
  std::vector<bool> added;
  std::string appended;
  for (const std::string& word : words) {
    added.push_back(known.insert(word).second);
    if (added.back()) appended += word + "\n";
  }
  if (!appended.empty()) {
    std::ofstream file(list, std::ios::binary | std::ios::app);
    if (!endsWithNewline) file << '\n';
    file << appended;
    file.close();
    if (!file) throw ToolError(list.string() + ": cannot write the word list");
  }
  return added;
}

ProjectAddition AddProjectWords(const fs::path& folder, const fs::path& otherwise,
                                const std::vector<std::string>& utf8Words) {
  ProjectAddition addition;
  addition.list = FindProjectWords(folder).value_or(otherwise);
  std::vector<std::string> words;
  for (const std::string& word : utf8Words) {
    (FitsWordList(word) ? words : addition.rejected).push_back(word);
  }
  const std::vector<bool> added = AppendToWordList(addition.list, words);
  for (std::size_t i = 0; i < words.size(); ++i) addition.words.emplace_back(words[i], added[i]);
  return addition;
}

int RunAddProject(const std::vector<std::string>& arguments, const std::string& encoding) {
  TextCodec codec(encoding);
  std::vector<std::string> utf8Words;
  for (const std::string& argument : arguments) utf8Words.emplace_back(codec.ToUtf8(argument));
  const ProjectAddition addition =
      AddProjectWords(CurrentFolder(), CurrentFolder() / ProjectWordsFileName, utf8Words);
  Output out(STDOUT_FILENO, codec);
  for (const std::string& word : addition.rejected) {
    std::cerr << "spellcheck: not added: '" << word << "' is not a word for a word list\n";
  }
  for (const auto& [word, added] : addition.words) {
    out << word << (added ? ": added to " : ": already in ") << addition.list.string() << "\n";
  }
  out.Flush();
  return addition.rejected.empty() ? ExitOk : ExitFound;
}

}  // namespace spellcheck::tool
