#include "engine/Speller.h"

#include <algorithm>

#include "engine/CompiledForms.h"
#include "store/TvarWord.h"
#include "text/Cp1252.h"
#include "text/Utf8.h"
#include "text/WordCase.h"

namespace spellcheck::engine {

namespace {
constexpr std::size_t kMaxSuggestBytes = 400;
}  // namespace

Speller::Speller(std::unique_ptr<Engine> engine, DictionarySet dictionaries, bool rememberAnswers,
                 compiled::Cache cache)
    : engine_(std::move(engine)),
      dictionaries_(std::move(dictionaries)),
      cache_(std::move(cache)),
      further_(dictionaries_.Further()) {
  for (const MainDictionary& main : dictionaries_.mains) {
    if (main.IsHunspell()) {
      hunspell_.emplace_back(engine_->FileSystem(), main.aff, main.file, cache_);
    } else {
      listMains_.push_back(main);
    }
  }
  // After the first main word list: the others, then the custom and further ones.
  if (!listMains_.empty()) listMain_ = listMains_.front().file;
  for (std::size_t k = 1; k < listMains_.size(); ++k) afterMain_.push_back(listMains_[k].file);
  afterMain_.insert(afterMain_.end(), further_.begin(), further_.end());
  if (dictionaries_.custom) {
    personal_.emplace(engine_->FileSystem(), PersonalWords::FileFor(*dictionaries_.custom));
  }
  if (rememberAnswers) {
    answers_ = std::make_unique<AnswerCache>();
    answersGeneration_ = engine_->Generation() + filesGeneration_;
  }
}

bool Speller::Refresh() {
  bool changed = engine_->Refresh();
  for (HunspellHandle& each : hunspell_) {
    if (each.Refresh()) {
      ++filesGeneration_;
      changed = true;
    }
  }
  if (personal_ && personal_->Refresh()) {
    ++filesGeneration_;
    changed = true;
  }
  return changed;
}

void Speller::Prepare() {
  // The Hunspell dictionaries were read when the speller was made.
  for (const MainDictionary& main : listMains_) IndexOf(main.file, &main);
}

std::string Speller::WordCharacters() const {
  std::string characters;
  for (const HunspellHandle& each : hunspell_) characters += each.Get().WordCharacters();
  return characters;
}

void Speller::ForgetStaleAnswers() {
  const std::uint64_t generation = engine_->Generation() + filesGeneration_;
  if (answersGeneration_ != generation) {
    answers_->Clear();
    answersGeneration_ = generation;
  }
}

bool Speller::CheckCp1252(std::string_view word) {
  if (engine_->Check(word, listMain_, afterMain_, dictionaries_.ignoreCase)) return true;
  return text::IsAllCapitals(word) && engine_->Check(text::CapitalisedForm(word), listMain_,
                                                     afterMain_, dictionaries_.ignoreCase);
}

bool Speller::IsCorrectWhole(std::string_view utf8Word) {
  if (utf8Word.empty()) return false;
  if (!sessionWords_.empty() && sessionWords_.count(std::string(utf8Word)) != 0) return true;
  if (personal_ && personal_->Holds(utf8Word)) return true;
  for (const HunspellHandle& each : hunspell_) {
    if (each.Get().Check(utf8Word)) return true;
  }
  if (!text::Utf8ToCp1252(utf8Word, cp1252_) || cp1252_.empty()) return false;
  return CheckCp1252(cp1252_);
}

bool Speller::IsCorrect(std::string_view utf8Word) {
  if (!answers_) return Answer(utf8Word);
  ForgetStaleAnswers();
  bool correct = false;
  if (answers_->Find(utf8Word, correct)) return correct;
  correct = Answer(utf8Word);
  answers_->Put(utf8Word, correct);
  return correct;
}

void Speller::IsCorrectAll(std::span<const std::string_view> words, std::vector<char>& answers) {
  answers.assign(words.size(), 0);
  if (!answers_) {
    for (std::size_t i = 0; i < words.size(); ++i) answers[i] = Answer(words[i]) ? 1 : 0;
    return;
  }
  ForgetStaleAnswers();
  pending_.clear();
  for (std::size_t i = 0; i < words.size(); ++i) {
    bool correct = false;
    if (answers_->Find(words[i], correct)) {
      answers[i] = correct ? 1 : 0;
    } else {
      pending_.push_back(i);
    }
  }
  for (const std::size_t i : pending_) {
    if (!text::Utf8ToCp1252(words[i], cp1252_)) continue;
    for (const MainDictionary& main : listMains_) engine_->Prefetch(cp1252_, main.file);
  }
  for (const std::size_t i : pending_) {
    const bool correct = Answer(words[i]);
    answers[i] = correct ? 1 : 0;
    answers_->Put(words[i], correct);
  }
}

bool Speller::Answer(std::string_view utf8Word) {
  if (IsCorrectWhole(utf8Word)) return true;
  if (!ChecksHyphenParts() || utf8Word.find('-') == std::string_view::npos) return false;
  std::size_t start = 0;
  for (;;) {
    const std::size_t hyphen = utf8Word.find('-', start);
    const std::string_view part = utf8Word.substr(start, hyphen - start);
    if (!IsCorrectWhole(part)) return false;
    if (hyphen == std::string_view::npos) return true;
    start = hyphen + 1;
  }
}

std::vector<std::string> Speller::Suggest(std::string_view utf8Word, Order order, std::size_t max) {
  // No word of any dictionary is this long (100 bytes in the dictionary's
  // encoding; 4 bytes a letter at most in UTF-8): nothing to look for.
  if (utf8Word.size() > kMaxSuggestBytes) return {};
  std::vector<std::string> fromLists;
  if (text::Utf8ToCp1252(utf8Word, cp1252_) && !cp1252_.empty()) {
    const std::string word = cp1252_;
    for (const std::string& found :
         order == Order::Ranked || !hunspell_.empty() ? Ranked(word, max) : Positional(word)) {
      fromLists.push_back(text::Cp1252ToUtf8(found));
    }
  }
  // With Hunspell dictionaries, their lists and the word lists' take turns,
  // each best first.
  const std::vector<std::string> fromHunspell = RankedHunspell(utf8Word, max);
  std::vector<std::string> suggestions;
  auto take = [&](const std::string& found) {
    // Two stored words can have one form in capitals.
    if (suggestions.size() < max &&
        std::find(suggestions.begin(), suggestions.end(), found) == suggestions.end()) {
      suggestions.push_back(found);
    }
  };
  for (std::size_t k = 0; k < std::max(fromHunspell.size(), fromLists.size()); ++k) {
    if (k < fromHunspell.size()) take(fromHunspell[k]);
    if (k < fromLists.size()) take(fromLists[k]);
  }
  return suggestions;
}

std::vector<std::string> Speller::RankedHunspell(std::string_view utf8Word, std::size_t max) {
  if (hunspell_.size() == 1) return hunspell_.front().Get().Suggest(utf8Word, max);
  std::vector<std::vector<std::string>> lists;
  for (const HunspellHandle& each : hunspell_) lists.push_back(each.Get().Suggest(utf8Word, max));
  std::vector<std::string> merged;
  for (std::size_t k = 0; merged.size() < max; ++k) {
    bool any = false;
    for (const auto& list : lists) {
      if (k >= list.size()) continue;
      any = true;
      if (std::find(merged.begin(), merged.end(), list[k]) == merged.end())
        merged.push_back(list[k]);
    }
    if (!any) break;
  }
  return merged;
}

std::vector<std::string> Speller::Positional(const std::string& word) {
  const bool allCapitals = text::IsAllCapitals(word);
  const std::string query = allCapitals ? text::CapitalisedForm(word) : word;
  std::vector<std::string> found = engine_->SimilarWords(query, listMain_, afterMain_);
  if (allCapitals) {
    for (std::string& each : found) each = text::UpperCase(each);
  }
  return found;
}

std::vector<std::string> Speller::Ranked(const std::string& word, std::size_t max) {
  auto suggest = [&] {
    std::vector<const suggest::RankedIndex*> indexes;
    for (const MainDictionary& main : listMains_) indexes.push_back(IndexOf(main.file, &main));
    for (const std::string& file : further_) indexes.push_back(IndexOf(file, nullptr));
    return suggest::Suggest(word, indexes, max);
  };
  std::vector<std::string> found = suggest();
  // A compiled index found damaged on the way may have missed words: it is
  // made anew from its dictionary, not from any compiled file, and asked again.
  bool again = false;
  for (Ranking& ranking : rankings_) {
    if (ranking.index != nullptr && ranking.index->Damaged()) {
      ranking.contents = nullptr;
      ranking.damaged = again = true;
    }
  }
  return again ? suggest() : found;
}

const suggest::RankedIndex* Speller::IndexOf(const std::string& file, const MainDictionary* main) {
  std::shared_ptr<const LoadedDictionary> contents = engine_->Contents(file);
  Ranking* ranking = nullptr;
  for (Ranking& each : rankings_) {
    if (each.file == file) ranking = &each;
  }
  if (ranking == nullptr) ranking = &rankings_.emplace_back(Ranking{file, nullptr, nullptr, false});
  if (contents == nullptr) {
    *ranking = Ranking{file, nullptr, nullptr, false};
    return nullptr;
  }
  if (ranking->contents == contents) return ranking->index.get();
  ranking->index = MakeIndex(*contents, main, !ranking->damaged);
  ranking->contents = std::move(contents);
  ranking->damaged = false;
  return ranking->index.get();
}

std::unique_ptr<suggest::RankedIndex> Speller::MakeIndex(const LoadedDictionary& contents,
                                                         const MainDictionary* main,
                                                         bool fromCache) {
  std::vector<std::string_view> words;
  auto wordsOf = [&] {
    words.reserve(contents.Records().size());
    for (const store::TvarWord& record : contents.Records()) words.push_back(record.Text());
    return std::span<const std::string_view>(words);
  };
  if (main == nullptr) {
    // The user's own words, few and often changed: ranked with the first
    // language's sounds, never compiled.
    const suggest::Sounds sounds = dictionaries_.mains.empty()
                                       ? suggest::Sounds::English
                                       : SoundsOf(dictionaries_.mains.front());
    return std::make_unique<suggest::RankedIndex>(wordsOf(), suggest::AllCommon{}, sounds);
  }
  // Compiled only from the whole file: a read that failed part-way is no
  // state of it.
  const CompiledForm form = RankedForm(engine_->FileSystem(), *main, {true, contents.Info()});
  const bool whole = contents.Size() == contents.Info().size / store::RecordSize;
  if (!cache_.Enabled() || !form.compilable || !whole) {
    return std::make_unique<suggest::RankedIndex>(wordsOf(), LevelsOf(main->levels),
                                                  SoundsOf(*main));
  }
  auto build = [&](compiled::ImageWriter& writer) {
    suggest::RankedIndex::Compile(wordsOf(), LevelsOf(main->levels), false, SoundsOf(*main),
                                  writer);
  };
  return fromCache ? cache_.Load(form.kind, form.name, form.key, build, suggest::RankedIndex::View)
                   : cache_.Make(form.kind, form.name, form.key, build, suggest::RankedIndex::View);
}

suggest::Sounds Speller::SoundsOf(const MainDictionary& main) {
  return main.englishSounds ? suggest::Sounds::English : suggest::Sounds::None;
}

const suggest::WordLevels* Speller::LevelsOf(const std::string& file) {
  if (file.empty()) return nullptr;
  for (const Levels& each : levels_) {
    if (each.file == file) return each.levels.get();
  }
  auto levels = std::make_unique<suggest::WordLevels>();
  // Without the file every word counts as equally common.
  if (!levels->LoadFile(file)) levels.reset();
  return levels_.emplace_back(Levels{file, std::move(levels)}).levels.get();
}

void Speller::AcceptForSession(std::string_view utf8Word) {
  if (utf8Word.empty() || !text::IsValidUtf8(utf8Word)) return;
  sessionWords_.insert(std::string(utf8Word));
  if (answers_) answers_->Clear();
}

bool Speller::AddToCustom(std::string_view utf8Word) {
  if (utf8Word.empty() || !text::IsValidUtf8(utf8Word)) return false;
  if (!dictionaries_.custom) {
    AcceptForSession(utf8Word);
    return true;
  }
  if (text::Utf8ToCp1252(utf8Word, cp1252_) && cp1252_.size() <= store::MaxWordLength) {
    engine_->Add(cp1252_, *dictionaries_.custom);
  } else {
    personal_->Add(utf8Word);
    ++filesGeneration_;
  }
  return true;
}

void Speller::RemoveFromCustom(std::string_view utf8Word) {
  if (!dictionaries_.custom || utf8Word.empty()) return;
  if (text::Utf8ToCp1252(utf8Word, cp1252_) && !cp1252_.empty()) {
    engine_->Remove(cp1252_, *dictionaries_.custom, dictionaries_.ignoreCase);
  }
  if (personal_->Remove(utf8Word)) ++filesGeneration_;
}

}  // namespace spellcheck::engine
