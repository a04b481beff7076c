#include "engine/Speller.h"

#include <algorithm>

#include "text/Cp1252.h"
#include "text/WordCase.h"

namespace spellcheck::engine {

Speller::Speller(std::unique_ptr<Engine> engine, DictionarySet dictionaries, bool rememberAnswers)
    : engine_(std::move(engine)),
      dictionaries_(std::move(dictionaries)),
      further_(dictionaries_.Further()) {
  if (rememberAnswers) {
    answers_ = std::make_unique<AnswerCache>();
    answersGeneration_ = engine_->Generation();
  }
}

bool Speller::CheckCp1252(std::string_view word) {
  if (engine_->Check(word, dictionaries_.main, further_, dictionaries_.ignoreCase)) return true;
  return text::IsAllCapitals(word) &&
         engine_->Check(text::CapitalisedForm(word), dictionaries_.main, further_,
                        dictionaries_.ignoreCase);
}

bool Speller::IsCorrectWhole(std::string_view utf8Word) {
  if (!text::Utf8ToCp1252(utf8Word, cp1252_) || cp1252_.empty()) return false;
  if (!sessionWords_.empty() && sessionWords_.count(cp1252_) != 0) return true;
  return CheckCp1252(cp1252_);
}

bool Speller::IsCorrect(std::string_view utf8Word) {
  if (!answers_) return Answer(utf8Word);
  if (answersGeneration_ != engine_->Generation()) {
    answers_->Clear();
    answersGeneration_ = engine_->Generation();
  }
  bool correct = false;
  if (answers_->Find(utf8Word, correct)) return correct;
  correct = Answer(utf8Word);
  answers_->Put(utf8Word, correct);
  return correct;
}

bool Speller::Answer(std::string_view utf8Word) {
  if (IsCorrectWhole(utf8Word)) return true;
  if (utf8Word.find('-') == std::string_view::npos) return false;
  std::size_t start = 0;
  for (;;) {
    const std::size_t hyphen = utf8Word.find('-', start);
    const std::string_view part = utf8Word.substr(start, hyphen - start);
    if (!IsCorrectWhole(part)) return false;
    if (hyphen == std::string_view::npos) return true;
    start = hyphen + 1;
  }
}

std::vector<std::string> Speller::Suggest(std::string_view utf8Word) {
  if (!text::Utf8ToCp1252(utf8Word, cp1252_)) return {};
  const bool allCapitals = text::IsAllCapitals(cp1252_);
  const std::string query = allCapitals ? text::CapitalisedForm(cp1252_) : cp1252_;
  std::vector<std::string> suggestions;
  for (const std::string& word : engine_->SimilarWords(query, dictionaries_.main, further_)) {
    std::string utf8 = text::Cp1252ToUtf8(allCapitals ? text::UpperCase(word) : word);
    // Two stored words can have one form in capitals.
    if (std::find(suggestions.begin(), suggestions.end(), utf8) == suggestions.end()) {
      suggestions.push_back(std::move(utf8));
    }
  }
  return suggestions;
}

void Speller::AcceptForSession(std::string_view utf8Word) {
  if (!text::Utf8ToCp1252(utf8Word, cp1252_) || cp1252_.empty()) return;
  sessionWords_.insert(cp1252_);
  if (answers_) answers_->Clear();
}

bool Speller::AddToCustom(std::string_view utf8Word) {
  if (!text::Utf8ToCp1252(utf8Word, cp1252_) || cp1252_.empty()) return false;
  if (!dictionaries_.custom) {
    sessionWords_.insert(cp1252_);
    if (answers_) answers_->Clear();
    return true;
  }
  engine_->Add(cp1252_, *dictionaries_.custom);
  return true;
}

}  // namespace spellcheck::engine
