// How list reports what it finds: as text (one word a line), as one JSON
// document, as SARIF 2.1.0 or as GitHub workflow annotations.
#ifndef SPELLCHECK_TOOL_OUTPUT_REPORT_H
#define SPELLCHECK_TOOL_OUTPUT_REPORT_H

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "output/Output.h"

namespace spellcheck::tool {

struct Finding {
  std::string_view file;
  std::size_t line = 0;
  std::size_t column = 0;                                 // in characters, from 1
  std::string_view word;                                  // UTF-8
  const std::vector<std::string>* suggestions = nullptr;  // with --suggest
};

// "Misspelled word 'x'", with the suggestions when there are: the message
// of the formats that carry one.
std::string MessageFor(const Finding& finding);

struct ReportOptions {
  bool where = false;    // text: FILE:LINE:COLUMN: before each word
  bool suggest = false;  // suggestions are given
};

class Reporter {
 public:
  virtual ~Reporter() = default;
  virtual void Add(const Finding& finding) = 0;
  // After the last input: what was gathered goes out.
  virtual void Finish() {}
};

// The formats known, separated by ", ".
std::string FormatNames();
// Throws ToolError for a format it does not know.
std::unique_ptr<Reporter> MakeReporter(std::string_view format, Output& out,
                                       const ReportOptions& options);

std::unique_ptr<Reporter> MakeTextReporter(Output& out, const ReportOptions& options);
std::unique_ptr<Reporter> MakeJsonReporter(Output& out, const ReportOptions& options);
std::unique_ptr<Reporter> MakeSarifReporter(Output& out, const ReportOptions& options);
std::unique_ptr<Reporter> MakeGithubReporter(Output& out, const ReportOptions& options);

// The number of characters of a UTF-8 text.
std::size_t CharacterCount(std::string_view utf8);

}  // namespace spellcheck::tool

#endif
