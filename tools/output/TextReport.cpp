// Today's output: word, or FILE:LINE:COLUMN: word, and with --suggest
// ": s1, s2"; each line as soon as it is found.
#include "output/Report.h"

namespace spellcheck::tool {
namespace {

class TextReporter : public Reporter {
 public:
  TextReporter(Output& out, const ReportOptions& options) : out_(out), options_(options) {}

  void Add(const Finding& finding) override {
    if (options_.where) {
      out_ << finding.file << ":" << finding.line << ":" << finding.column << ": ";
    }
    out_ << finding.word;
    if (finding.suggestions) {
      out_ << ":";
      const char* separator = " ";
      for (const std::string& suggestion : *finding.suggestions) {
        out_ << separator << suggestion;
        separator = ", ";
      }
    }
    out_ << "\n";
  }

 private:
  Output& out_;
  ReportOptions options_;
};

}  // namespace

std::unique_ptr<Reporter> MakeTextReporter(Output& out, const ReportOptions& options) {
  return std::make_unique<TextReporter>(out, options);
}

}  // namespace spellcheck::tool
