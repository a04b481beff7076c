#include "vocabularies/Vocabularies.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>

#include "catalogue/Folders.h"
#include "store/TvarWord.h"
#include "text/Cp1252.h"

namespace spellcheck::tool {
namespace {

namespace fs = std::filesystem;

// ASCII only: the lists' words with other letters are kept as written.
std::string Lower(std::string_view word) {
  std::string lower(word);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
  }
  return lower;
}

bool IsUpper(char c) {
  return c >= 'A' && c <= 'Z';
}
bool IsLower(char c) {
  return c >= 'a' && c <= 'z';
}

// The general vocabularies, on for every kind of file.
constexpr std::array<std::string_view, 6> General{"english",   "software", "acronyms",
                                                  "companies", "licenses", "filetypes"};

}  // namespace

std::unique_ptr<Vocabulary> Vocabulary::Load(const fs::path& dic, bool anyCase,
                                             engine::DictionarySource& source) {
  source.BeginOperation();
  std::shared_ptr<const engine::LoadedDictionary> words = source.Contents(dic.string());
  if (words == nullptr) return nullptr;
  auto vocabulary = std::unique_ptr<Vocabulary>(new Vocabulary());
  vocabulary->words_ = std::move(words);
  vocabulary->anyCase_ = anyCase;
  return vocabulary;
}

std::unique_ptr<Vocabulary> Vocabulary::Load(const fs::path& dic, bool anyCase) {
  const auto source =
      engine::KeepInMemory(store::FileSystem::Default(), {engine::Recheck::When::OnRefresh, {}});
  return Load(dic, anyCase, *source);
}

std::size_t Vocabulary::Size() const {
  return words_->Size();
}

bool Vocabulary::HoldsCp1252(std::string_view word) const {
  return !word.empty() && word.size() <= store::MaxWordLength && words_->Find(word, false);
}

VocabularyQuery::VocabularyQuery(std::string_view utf8Word) {
  if (utf8Word.empty() || !text::Utf8ToCp1252(utf8Word, word_) || word_.empty()) return;
  valid_ = true;
  lower_ = Lower(word_);
  capitalised_ = IsUpper(word_[0]);
  for (std::size_t i = 1; i < word_.size(); ++i) {
    restUpper_ = restUpper_ && !IsLower(word_[i]);
    restLower_ = restLower_ && !IsUpper(word_[i]);
  }
  if (capitalised_ && restUpper_) {
    // NASA for Nasa's list entry, SMITH for Smith.
    title_ = lower_;
    title_[0] = word_[0];
  }
}

bool Vocabulary::Holds(std::string_view utf8Word) const {
  return Holds(VocabularyQuery(utf8Word));
}

bool Vocabulary::Holds(const VocabularyQuery& query) const {
  if (!query.valid_) return false;
  if (anyCase_) return HoldsCp1252(query.lower_);
  if (HoldsCp1252(query.word_)) return true;
  if (!query.capitalised_ || !(query.restUpper_ || query.restLower_)) return false;
  if (HoldsCp1252(query.lower_)) return true;
  return query.restUpper_ && HoldsCp1252(query.title_);
}

const std::vector<VocabularyInfo>& KnownVocabularies() {
  static const std::vector<VocabularyInfo> known{
      {"english", "English words of SCOWL's larger sizes, names and abbreviations"},
      {"software", "software terms, tools and services"},
      {"acronyms", "computing acronyms"},
      {"companies", "company and product names"},
      {"licenses", "public licence names"},
      {"filetypes", "file types and extensions"},
      {"python", "Python: keywords, standard library"},
      {"cpp", "C and C++: keywords, standard library"},
      {"go", "Go: keywords, standard library"},
      {"js", "JavaScript, TypeScript and Node.js"},
      {"rust", "Rust: keywords, standard library, crates"},
      {"shell", "shell: builtins, common commands"},
  };
  return known;
}

bool IsVocabulary(std::string_view name) {
  for (const VocabularyInfo& info : KnownVocabularies()) {
    if (info.name == name) return true;
  }
  return false;
}

std::string VocabularyNames() {
  std::string names;
  for (const VocabularyInfo& info : KnownVocabularies()) {
    if (!names.empty()) names += ", ";
    names += info.name;
  }
  return names;
}

bool IsEnglishRun(const catalogue::RunDictionaries& run) {
  const auto& languages = run.languages.languages;
  return languages.empty() ||
         std::any_of(languages.begin(), languages.end(),
                     [](const catalogue::Language& each) { return each.tag.starts_with("en"); });
}

std::vector<std::string> DefaultVocabularies(std::string_view mode, bool english) {
  std::vector<std::string> names;
  for (const std::string_view name : General) {
    if (english || name != "english") names.emplace_back(name);
  }
  if (mode == "python" || mode == "go" || mode == "js" || mode == "rust" || mode == "shell") {
    names.emplace_back(mode);
  } else if (mode == "c") {
    names.emplace_back("cpp");
  } else if (mode == "markdown" || mode == "html" || mode == "nroff" || mode == "text") {
    // Software's documents name the APIs of any language. The C and C++ list
    // is left out: it holds many short abbreviations and accepts ten times
    // more typos than the others (bench/vocabulary-cost.py).
    names.insert(names.end(), {"python", "go", "js", "rust", "shell"});
  }
  return names;
}

std::optional<fs::path> FindVocabulary(std::string_view name) {
  for (const std::string& folder : catalogue::DataFolders()) {
    fs::path file = fs::path(folder) / "vocabularies" / (std::string(name) + ".dic");
    std::error_code error;
    if (fs::is_regular_file(file, error)) return file;
  }
  return std::nullopt;
}

void PrintVocabularies(std::ostream& out) {
  std::string missing;
  bool any = false;
  for (const VocabularyInfo& info : KnownVocabularies()) {
    const std::optional<fs::path> file = FindVocabulary(info.name);
    if (!file) {
      missing += (missing.empty() ? "" : ", ") + std::string(info.name);
      continue;
    }
    if (!any) out << "vocabularies (by file kind: see spellcheck config):\n";
    any = true;
    std::error_code error;
    const auto size = fs::file_size(*file, error);
    out << "  " << info.name << "  " << (error ? 0 : size / store::RecordSize) << " words  "
        << file->string() << "  (" << info.what << ")\n";
  }
  if (!any) {
    out << "vocabularies: none installed (" << missing << ")\n";
  } else if (!missing.empty()) {
    out << "  not installed: " << missing << "\n";
  }
}

VocabularyCache::VocabularyCache()
    : source_(engine::KeepInMemory(store::FileSystem::Default(),
                                   {engine::Recheck::When::OnRefresh, {}},
                                   catalogue::RunCache(store::FileSystem::Default()))) {}

const Vocabulary* VocabularyCache::Get(const std::string& name) {
  const auto known = loaded_.find(name);
  if (known != loaded_.end()) return known->second.get();
  std::unique_ptr<Vocabulary> vocabulary;
  if (const std::optional<fs::path> file = FindVocabulary(name)) {
    vocabulary = Vocabulary::Load(*file, name != "english", *source_);
  }
  return loaded_.emplace(name, std::move(vocabulary)).first->second.get();
}

bool WordContext::Listed(std::string_view word, bool inDefinition) const {
  if (!inDefinition && identifiers != nullptr && identifiers->contains(std::string(word))) {
    return true;
  }
  if (vocabularies.empty()) return false;
  const VocabularyQuery query(word);
  for (const Vocabulary* vocabulary : vocabularies) {
    if (vocabulary->Holds(query)) return true;
  }
  return false;
}

bool WordContext::Known(std::string_view word, bool inDefinition, const Correct& correct,
                        KnownWords* memo) const {
  const bool listed =
      memo != nullptr && !inDefinition ? memo->Listed(*this, word) : Listed(word, inDefinition);
  return listed || (correct && correct(word));
}

bool KnownWords::Listed(const WordContext& context, std::string_view word) {
  if (context_ != &context) Forget();
  if (!answers_) answers_ = std::make_unique<engine::AnswerCache>();
  context_ = &context;
  bool listed = false;
  if (answers_->Find(word, listed)) return listed;
  listed = context.Listed(word, false);
  answers_->Put(word, listed);
  return listed;
}

void KnownWords::Forget() {
  if (answers_) answers_->Clear();
  context_ = nullptr;
}

bool WordContext::RunTogether(std::string_view word, int parts, const Correct& correct) const {
  // Two to `parts` known words of three letters or more.
  constexpr std::size_t Least = 3;
  for (std::size_t cut = Least; cut + Least <= word.size(); ++cut) {
    if (!Known(word.substr(0, cut), true, correct)) continue;
    const std::string_view rest = word.substr(cut);
    if (Known(rest, true, correct) || (parts > 2 && RunTogether(rest, parts - 1, correct))) {
      return true;
    }
  }
  return false;
}

bool WordContext::Accepts(std::string_view word, bool inDefinition, const Correct& correct,
                          KnownWords* memo) const {
  if (minLength > 1) {
    std::size_t chars = 0;
    for (const char c : word) chars += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    if (chars < minLength) return true;
  }
  if (Known(word, inDefinition, {}, memo)) return true;
  // The possessive of a known word: engine's, glibc's.
  for (const std::string_view ending : {std::string_view("'s"), std::string_view("\u2019s")}) {
    if (!english) break;
    if (word.size() > ending.size() + 1 && word.ends_with(ending) &&
        Known(word.substr(0, word.size() - ending.size()), inDefinition, correct, memo)) {
      return true;
    }
  }
  // Only in a definition's name: in prose, a word run together is more
  // often a typo (ascsending: asc, sending) than a name.
  if (!compounds || !inDefinition || word.size() < 6 || word.size() > 40) return false;
  for (const char c : word) {
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))) return false;
  }
  return RunTogether(word, 3, correct) && !OneEditFromKnown(word, correct);
}

bool WordContext::OneEditFromKnown(std::string_view word, const Correct& correct) const {
  // A run-together name that is one edit from a known word is more likely
  // its typo (chrset: chr, set; but charset) than a name.
  std::string lower(word);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
  }
  std::string variant;
  const auto known = [&](const std::string& candidate) {
    return candidate.size() >= 3 && Known(candidate, true, correct);
  };
  for (std::size_t i = 0; i < lower.size(); ++i) {
    variant = lower;
    variant.erase(i, 1);
    if (known(variant)) return true;
    if (i + 1 < lower.size()) {
      variant = lower;
      std::swap(variant[i], variant[i + 1]);
      if (known(variant)) return true;
    }
    for (char c = 'a'; c <= 'z'; ++c) {
      if (c == lower[i]) continue;
      variant = lower;
      variant[i] = c;
      if (known(variant)) return true;
    }
  }
  for (std::size_t i = 0; i <= lower.size(); ++i) {
    for (char c = 'a'; c <= 'z'; ++c) {
      variant = lower;
      variant.insert(variant.begin() + static_cast<std::ptrdiff_t>(i), c);
      if (known(variant)) return true;
    }
  }
  return false;
}

}  // namespace spellcheck::tool
