// One JSON document, written after the last input:
// {"findings": [{"file", "line", "column", "word", "suggestions"}]}; and
// SARIF 2.1.0, whose results carry the same.
#include <nlohmann/json.hpp>

#include "SpellcheckVersion.h"
#include "output/Report.h"

namespace spellcheck::tool {
namespace {

using nlohmann::json;

json Suggestions(const Finding& finding) {
  json list = json::array();
  if (finding.suggestions) {
    for (const std::string& suggestion : *finding.suggestions) list.push_back(suggestion);
  }
  return list;
}

// Dumped with invalid UTF-8 replaced, so the document is always well formed.
void Write(Output& out, const json& document) {
  out << document.dump(2, ' ', false, json::error_handler_t::replace) << "\n";
}

class JsonReporter : public Reporter {
 public:
  JsonReporter(Output& out, const ReportOptions& options) : out_(out), options_(options) {}

  void Add(const Finding& finding) override {
    json item = {{"file", finding.file},
                 {"line", finding.line},
                 {"column", finding.column},
                 {"word", finding.word}};
    if (options_.suggest) item["suggestions"] = Suggestions(finding);
    findings_.push_back(std::move(item));
  }

  void Finish() override { Write(out_, json{{"findings", std::move(findings_)}}); }

 private:
  Output& out_;
  ReportOptions options_;
  json findings_ = json::array();
};

// A SARIF location names a file by URI reference: forward slashes.
std::string Uri(std::string_view file) {
  std::string uri(file);
  for (char& c : uri) {
    if (c == '\\') c = '/';
  }
  return uri;
}

class SarifReporter : public Reporter {
 public:
  SarifReporter(Output& out, const ReportOptions& options) : out_(out), options_(options) {}

  void Add(const Finding& finding) override {
    const std::string message = MessageFor(finding);
    json region = {{"startLine", finding.line},
                   {"startColumn", finding.column},
                   {"endColumn", finding.column + CharacterCount(finding.word)}};
    json result = {{"ruleId", "spelling"},
                   {"level", "warning"},
                   {"message", {{"text", message}}},
                   {"locations", json::array({{{"physicalLocation",
                                                {{"artifactLocation", {{"uri", Uri(finding.file)}}},
                                                 {"region", region}}}}})}};
    if (options_.suggest) result["properties"] = {{"suggestions", Suggestions(finding)}};
    results_.push_back(std::move(result));
  }

  void Finish() override {
    const json rule = {{"id", "spelling"},
                       {"name", "Spelling"},
                       {"shortDescription", {{"text", "A word no dictionary holds"}}},
                       {"defaultConfiguration", {{"level", "warning"}}}};
    const json driver = {
        {"name", "spellcheck"}, {"version", SPELLCHECK_VERSION}, {"rules", json::array({rule})}};
    const json document = {
        {"$schema", "https://json.schemastore.org/sarif-2.1.0.json"},
        {"version", "2.1.0"},
        {"runs",
         json::array({{{"tool", {{"driver", driver}}}, {"results", std::move(results_)}}})}};
    Write(out_, document);
  }

 private:
  Output& out_;
  ReportOptions options_;
  json results_ = json::array();
};

}  // namespace

std::unique_ptr<Reporter> MakeJsonReporter(Output& out, const ReportOptions& options) {
  return std::make_unique<JsonReporter>(out, options);
}

std::unique_ptr<Reporter> MakeSarifReporter(Output& out, const ReportOptions& options) {
  return std::make_unique<SarifReporter>(out, options);
}

}  // namespace spellcheck::tool
