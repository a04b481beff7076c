// GitHub workflow annotations, one a line as found:
// ::warning file=F,line=L,col=C::Misspelled word 'x' (suggestions: a, b)
#include "output/Report.h"

namespace spellcheck::tool {
namespace {

// The escapes of the workflow command syntax; properties also escape : and ,.
std::string Escape(std::string_view text, bool property) {
  std::string escaped;
  for (const char c : text) {
    switch (c) {
      case '%':
        escaped += "%25";
        break;
      case '\r':
        escaped += "%0D";
        break;
      case '\n':
        escaped += "%0A";
        break;
      case ':':
        escaped += property ? "%3A" : ":";
        break;
      case ',':
        escaped += property ? "%2C" : ",";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

class GithubReporter : public Reporter {
 public:
  explicit GithubReporter(Output& out) : out_(out) {}

  void Add(const Finding& finding) override {
    const std::string message = MessageFor(finding);
    out_ << "::warning file=" << Escape(finding.file, true) << ",line=" << finding.line
         << ",col=" << finding.column << "::" << Escape(message, false) << "\n";
  }

 private:
  Output& out_;
};

}  // namespace

std::unique_ptr<Reporter> MakeGithubReporter(Output& out, const ReportOptions&) {
  return std::make_unique<GithubReporter>(out);
}

}  // namespace spellcheck::tool
