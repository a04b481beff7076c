#include "hunspell/Dictionary.h"

#include "hunspell/AffixData.h"
#include "hunspell/AffixFile.h"
#include "hunspell/DicFile.h"
#include "hunspell/EditModel.h"
#include "hunspell/StemIndex.h"
#include "hunspell/Suggester.h"
#include "hunspell/WordChecker.h"
#include "hunspell/WordTable.h"
#include "store/TextFile.h"
#include "text/Unicode.h"

namespace spellcheck::hunspell {

namespace {
// The longest word a dictionary judges, in bytes of its own encoding.
constexpr std::size_t kMaxWordBytes = 100;
}  // namespace

Dictionary::Dictionary() = default;
Dictionary::~Dictionary() = default;

std::unique_ptr<Dictionary> Dictionary::FromText(std::string_view affBytes,
                                                 std::string_view dicBytes,
                                                 std::string_view affName, std::string_view dicName,
                                                 std::vector<std::string>* warnings) {
  std::unique_ptr<Dictionary> d(new Dictionary());
  d->affixes_ = std::make_unique<AffixData>();
  d->words_ = std::make_unique<WordTable>();
  ReadAffixFile(affBytes, affName, *d->affixes_, warnings);
  ReadDicFile(dicBytes, dicName, *d->affixes_, *d->words_, warnings);
  d->words_->Finish();
  d->Finish(affName);
  return d;
}

std::unique_ptr<Dictionary> Dictionary::ReadAffixes(store::FileSystem& fs,
                                                    const std::string& affPath,
                                                    std::vector<std::string>* warnings) {
  std::unique_ptr<Dictionary> d(new Dictionary());
  d->affixes_ = std::make_unique<AffixData>();
  d->words_ = std::make_unique<WordTable>();
  store::FileInfo info;
  std::string aff;
  if (store::ReadWholeFile(fs, affPath, aff, info)) throw LoadError(affPath + ": cannot be read");
  ReadAffixFile(aff, affPath, *d->affixes_, warnings);
  return d;
}

std::unique_ptr<Dictionary> Dictionary::Load(store::FileSystem& fs, const std::string& affPath,
                                             const std::string& dicPath,
                                             std::vector<std::string>* warnings) {
  std::unique_ptr<Dictionary> d = ReadAffixes(fs, affPath, warnings);
  {
    // The file's bytes are gone before the hash table is built.
    std::string dic;
    store::FileInfo info;
    if (store::ReadWholeFile(fs, dicPath, dic, info)) throw LoadError(dicPath + ": cannot be read");
    ReadDicFile(dic, dicPath, *d->affixes_, *d->words_, warnings);
  }
  d->words_->Finish();
  d->Finish(affPath);
  return d;
}

void Dictionary::CompileStems(compiled::ImageWriter& writer) const {
  words_->Compile(writer);
  Stems().Compile(writer);
}

std::unique_ptr<Dictionary> Dictionary::LoadCompiled(store::FileSystem& fs,
                                                     const std::string& affPath,
                                                     std::shared_ptr<const compiled::Image> stems) {
  if (stems == nullptr || stems->Sections() != WordTable::kSections + StemIndex::kSections) {
    return nullptr;
  }
  std::unique_ptr<Dictionary> d = ReadAffixes(fs, affPath, nullptr);
  if (!d->words_->View(stems, 0)) return nullptr;
  d->compiledStems_ = std::move(stems);
  d->Finish(affPath);
  return d;
}

void Dictionary::Finish(std::string_view affName) {
  checker_ = std::make_unique<WordChecker>(*affixes_, *words_);
  // The edit model knows a language's keyboard by the dictionary's name.
  const std::string_view name = affName.substr(affName.find_last_of("/\\") + 1);
  model_ = std::make_unique<EditModel>(*affixes_, name);
}

bool Dictionary::Decode(std::string_view utf8Word, std::u32string& out) const {
  if (utf8Word.size() > 4 * kMaxWordBytes) return false;
  if (!text::Utf8ToUtf32(utf8Word, out)) return false;
  return affixes_->charset.EncodedLength(out) <= kMaxWordBytes;
}

bool Dictionary::Check(std::string_view utf8Word) const {
  std::u32string word;
  if (!Decode(utf8Word, word)) return false;
  return checker_->Check(word);
}

std::vector<std::string> Dictionary::Suggest(std::string_view utf8Word, std::size_t max,
                                             long* work) const {
  if (work) *work = 0;
  std::u32string word;
  if (max == 0 || !Decode(utf8Word, word)) return {};
  Suggester suggester(*checker_, *model_, &Stems());
  std::vector<std::string> list = suggester.Suggest(word, max);
  if (work) *work = suggester.WorkDone();
  return list;
}

const StemIndex& Dictionary::Stems() const {
  std::call_once(stemsMade_, [this] {
    stems_ = StemIndex::View(compiledStems_, WordTable::kSections, words_->Size());
    if (stems_ == nullptr) stems_ = std::make_unique<StemIndex>(*words_);
  });
  return *stems_;
}

long Dictionary::SuggestBudget() {
  return Suggester::kBudget;
}

const std::string& Dictionary::WordCharacters() const {
  return affixes_->wordChars;
}
const std::string& Dictionary::Language() const {
  return affixes_->language;
}
const std::string& Dictionary::Encoding() const {
  return affixes_->encoding;
}
std::size_t Dictionary::StemCount() const {
  return words_->FileWords();
}

std::size_t Dictionary::MemoryBytes() const {
  std::size_t bytes = sizeof(*this) + sizeof(AffixData) + words_->MemoryBytes() +
                      affixes_->prefixIndex.MemoryBytes() + affixes_->suffixIndex.MemoryBytes();
  if (stems_) bytes += stems_->MemoryBytes();
  for (const auto* list : {&affixes_->prefixes, &affixes_->suffixes})
    for (const Affix& a : *list)
      bytes += sizeof(Affix) + (a.strip.capacity() + a.append.capacity()) * 4 +
               a.cont.capacity() * sizeof(Flag) + a.condition.Length() * 16;
  for (const auto& f : affixes_->aliases) bytes += sizeof(FlagSet) + f.capacity() * sizeof(Flag);
  return bytes;
}

}  // namespace spellcheck::hunspell
