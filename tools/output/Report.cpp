#include "output/Report.h"

#include "errors/ToolError.h"

namespace spellcheck::tool {

std::string FormatNames() {
  return "text, json, sarif, github";
}

std::unique_ptr<Reporter> MakeReporter(std::string_view format, Output& out,
                                       const ReportOptions& options) {
  if (format.empty() || format == "text") return MakeTextReporter(out, options);
  if (format == "json") return MakeJsonReporter(out, options);
  if (format == "sarif") return MakeSarifReporter(out, options);
  if (format == "github") return MakeGithubReporter(out, options);
  throw ToolError("unknown format '" + std::string(format) + "' (known: " + FormatNames() + ")");
}

std::size_t CharacterCount(std::string_view utf8) {
  std::size_t count = 0;
  for (const char c : utf8) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
  }
  return count;
}

std::string MessageFor(const Finding& finding) {
  std::string message = "Misspelled word '" + std::string(finding.word) + "'";
  if (finding.suggestions && !finding.suggestions->empty()) {
    message += " (suggestions: ";
    const char* separator = "";
    for (const std::string& suggestion : *finding.suggestions) {
      message += separator + suggestion;
      separator = ", ";
    }
    message += ")";
  }
  return message;
}

}  // namespace spellcheck::tool
