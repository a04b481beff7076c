#include "store/RecordEdits.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "store/ProbeSearch.h"

namespace spellcheck::store {
namespace {

bool Less(const TvarWord& a, const TvarWord& b) {
  return CompareText(a.Text(), b.Text()) < 0;
}

bool IsOrdered(const Records& records) {
  return std::is_sorted(records.begin(), records.end(), Less);
}

// Insertion one word at a time, for a target whose order cannot be relied on.
bool MergeOneByOne(Records& target, const Records& source) {
  bool changed = false;
  for (const TvarWord& record : source) changed |= InsertRecord(target, record.Text());
  return changed;
}

}  // namespace

bool ProbeRecords(const Records& records, std::string_view word, bool ignoreCase) {
  const auto fetch = [&records](std::int64_t index, TvarWord& record) {
    if (index < 0 || static_cast<std::size_t>(index) >= records.size()) return false;
    record = records[static_cast<std::size_t>(index)];
    return true;
  };
  return ProbeSearch(static_cast<std::int64_t>(records.size()), fetch, word, ignoreCase);
}

std::size_t InsertionPoint(const Records& records, std::string_view word) {
  const std::size_t n = records.size();
  if (n == 0 || CompareText(records[0].Text(), word) >= 0) return 0;
  // The place after the last record is an empty entry, never greater than the word.
  for (std::size_t i = 0; i + 1 < n; ++i) {
    if (CompareText(records[i].Text(), word) < 0 && CompareText(records[i + 1].Text(), word) > 0) {
      return i + 1;
    }
  }
  return n;
}

bool InsertRecord(Records& records, std::string_view word) {
  if (ProbeRecords(records, word, false)) return false;
  const std::size_t at = InsertionPoint(records, word);
  records.insert(records.begin() + static_cast<std::ptrdiff_t>(at), TvarWord::FromWord(word));
  return true;
}

std::size_t RemoveMatching(Records& records, std::string_view word, bool ignoreCase) {
  const auto matches = [&](const TvarWord& record) {
    const std::string_view text = record.Text();
    return CompareText(text, word) == 0 || (ignoreCase && EqualIgnoringAsciiCase(text, word));
  };
  const auto kept = std::remove_if(records.begin(), records.end(), matches);
  const auto removed = static_cast<std::size_t>(std::distance(kept, records.end()));
  records.erase(kept, records.end());
  return removed;
}

bool MergeRecords(Records& target, const Records& source) {
  if (!IsOrdered(target)) return MergeOneByOne(target, source);

  // In an ordered list the exact lookup finds every stored word and the
  // insertion point is the first greater record, so the insertions add each
  // distinct source word the target lacks, in order: one merge pass.
  Records fresh;
  fresh.reserve(source.size());
  for (const TvarWord& record : source) fresh.push_back(TvarWord::FromWord(record.Text()));
  std::stable_sort(fresh.begin(), fresh.end(), Less);
  const auto same = [](const TvarWord& a, const TvarWord& b) {
    return CompareText(a.Text(), b.Text()) == 0;
  };
  fresh.erase(std::unique(fresh.begin(), fresh.end(), same), fresh.end());
  Records missing;
  missing.reserve(fresh.size());
  std::set_difference(fresh.begin(), fresh.end(), target.begin(), target.end(),
                      std::back_inserter(missing), Less);
  if (missing.empty()) return false;

  Records merged;
  merged.reserve(target.size() + missing.size());
  std::merge(target.begin(), target.end(), missing.begin(), missing.end(),
             std::back_inserter(merged), Less);
  target.swap(merged);
  return true;
}

}  // namespace spellcheck::store
