#include "lsp/Server.h"

#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <unordered_set>
#include <vector>

#include "errors/ToolError.h"
#include "lsp/CodeActions.h"
#include "lsp/Diagnostics.h"
#include "lsp/Document.h"
#include "lsp/DocumentCheck.h"
#include "lsp/JsonRpc.h"
#include "lsp/LanguageModes.h"
#include "lsp/ProjectLists.h"
#include "lsp/Settings.h"
#include "lsp/Suggestions.h"
#include "lsp/Transport.h"
#include "lsp/Uri.h"
#include "vocabularies/ProjectWords.h"

namespace spellcheck::tool::lsp {
namespace {

enum class Stage { Starting, Running, ShutDown };

// The protocol's MessageType.
constexpr int MessageError = 1;
constexpr int MessageWarning = 2;

struct OpenDocument {
  OpenDocument(std::string languageId, std::string text)
      : document(languageId, std::move(text)), check(ModeForLanguage(languageId)) {}
  Document document;
  DocumentCheck check;
  json version;
  std::optional<std::filesystem::path> folder;  // of a file: URI
  std::unordered_set<std::string> ignored;      // "Ignore in this document"
};

const json& Field(const json& object, const char* key) {
  if (!object.is_object() || !object.contains(key)) {
    throw RpcError(rpc::InvalidParams, std::string("missing parameter ") + key);
  }
  return object.at(key);
}

const std::string& StringField(const json& object, const char* key) {
  const json& value = Field(object, key);
  if (!value.is_string())
    throw RpcError(rpc::InvalidParams, std::string(key) + " must be a string");
  return value.get_ref<const std::string&>();
}

Position ReadPosition(const json& position) {
  const json& line = Field(position, "line");
  const json& character = Field(position, "character");
  if (!line.is_number_unsigned() || !character.is_number_unsigned()) {
    throw RpcError(rpc::InvalidParams, "a position needs whole numbers");
  }
  return {line.get<std::size_t>(), character.get<std::size_t>()};
}

class Server {
 public:
  Server(store::FileSystem& fs, const catalogue::DictionaryOptions& options, Connection& connection)
      : fs_(fs), connection_(connection) {
    settings_.dictionaries = options;
    connection_.SetGate([this](std::string_view method) { return Gate(method); });
    connection_.OnRequest("initialize", [this](const json& p) { return Initialize(p); });
    connection_.OnRequest("shutdown", [this](const json&) {
      stage_ = Stage::ShutDown;
      return json();
    });
    connection_.OnNotification("initialized", [](const json&) {});
    connection_.OnNotification("exit", [this](const json&) {
      exited_ = true;
      connection_.Stop();
    });
    connection_.OnNotification("textDocument/didOpen", [this](const json& p) { DidOpen(p); });
    connection_.OnNotification("textDocument/didChange", [this](const json& p) { DidChange(p); });
    connection_.OnNotification("textDocument/didClose", [this](const json& p) { DidClose(p); });
    connection_.OnNotification("textDocument/didSave", [this](const json& p) { DidSave(p); });
    connection_.OnNotification("workspace/didChangeConfiguration",
                               [this](const json& p) { DidChangeConfiguration(p); });
    connection_.OnRequest("textDocument/codeAction",
                          [this](const json& p) { return CodeAction(p); });
    connection_.OnRequest("workspace/executeCommand",
                          [this](const json& p) { return ExecuteCommand(p); });
  }

  int ExitStatus() const { return stage_ == Stage::ShutDown ? 0 : 1; }

 private:
  const RpcError* Gate(std::string_view method) {
    static const RpcError notInitialized(rpc::ServerNotInitialized,
                                         "the server is not initialized");
    static const RpcError again(rpc::InvalidRequest, "the server is initialized already");
    static const RpcError shutDown(rpc::InvalidRequest, "the server is shut down");
    if (method == "exit") return nullptr;
    if (stage_ == Stage::Starting) return method == "initialize" ? nullptr : &notInitialized;
    if (method == "initialize") return &again;
    if (stage_ == Stage::ShutDown) return &shutDown;
    return nullptr;
  }

  void ShowMessage(int type, const std::string& message) {
    std::cerr << "spellcheck lsp: " << message << "\n";
    connection_.Notify("window/showMessage", {{"type", type}, {"message", message}});
  }

  void Warn(const std::vector<std::string>& problems) {
    for (const std::string& problem : problems) ShowMessage(MessageWarning, "settings: " + problem);
  }

  // A speller for the settings' dictionaries; the old one stays when the new
  // one cannot be made.
  void LoadSpeller() {
    try {
      catalogue::RunDictionaries dictionaries =
          catalogue::ResolveDictionaries(settings_.dictionaries);
      auto speller = std::make_unique<engine::Speller>(
          catalogue::MakeSpeller(fs_, dictionaries, catalogue::Reading::InMemory));
      dictionaries_ = std::move(dictionaries);
      speller_ = std::move(speller);
      loaded_ = settings_.dictionaries;
      // The dictionaries are read now rather than at the first document.
      speller_->IsCorrect("the");
    } catch (const std::exception& error) {
      ShowMessage(MessageError, error.what());
    }
    suggestions_.Clear();
  }

  json Initialize(const json& params) {
    const json& capabilities = params.value("capabilities", json::object());
    encoding_ = PositionEncoding::Utf16;
    if (capabilities.is_object()) {
      const json general = capabilities.value("general", json::object());
      const json offered =
          general.is_object() ? general.value("positionEncodings", json::array()) : json::array();
      if (offered.is_array()) {
        for (const json& name : offered) {
          if (name == "utf-8") encoding_ = PositionEncoding::Utf8;
        }
      }
    }
    if (const auto root = params.find("rootUri"); root != params.end() && root->is_string()) {
      root_ = PathOfUri(root->get<std::string>());
    }
    if (const auto folders = params.find("workspaceFolders");
        !root_ && folders != params.end() && folders->is_array() && !folders->empty() &&
        (*folders)[0].is_object() && (*folders)[0].value("uri", json()).is_string()) {
      root_ = PathOfUri((*folders)[0]["uri"].get<std::string>());
    }
    std::vector<std::string> problems;
    if (const auto options = params.find("initializationOptions"); options != params.end()) {
      ApplySettings(*options, settings_, problems);
    }
    stage_ = Stage::Running;
    Warn(problems);
    LoadSpeller();
    return {{"capabilities",
             {{"positionEncoding", EncodingName(encoding_)},
              {"textDocumentSync",
               {{"openClose", true}, {"change", 2}, {"save", {{"includeText", false}}}}},
              {"codeActionProvider", {{"codeActionKinds", json::array({"quickfix"})}}},
              {"executeCommandProvider", {{"commands", CommandNames()}}}}},
            {"serverInfo", {{"name", "spellcheck"}, {"version", SPELLCHECK_VERSION}}}};
  }

  std::function<bool(std::string_view)> AcceptedIn(const OpenDocument& open) {
    const WordSet& project = projectLists_.For(open.folder);
    return [&project, &open](std::string_view word) {
      const std::string text(word);
      return project.contains(text) || open.ignored.contains(text);
    };
  }

  // Suggestions take far longer than checking (the first one of a speller
  // makes its ranking index): the diagnostics go out at once with the
  // suggestions known, and when some were not, again with them.
  void Publish(const std::string& uri, OpenDocument& open) {
    if (speller_) {
      open.check.Check(open.document, *speller_, AcceptedIn(open), found_);
    } else {
      found_.clear();
    }
    if (Send(uri, open, 0) > 0) Send(uri, open, NewSuggestionsPerPublication);
  }

  // Publishes found_; answers how many of its words lacked suggestions.
  std::size_t Send(const std::string& uri, const OpenDocument& open, std::size_t budget) {
    std::size_t missing = 0;
    json diagnostics = speller_ ? DiagnosticsJson(open.document, found_, encoding_, settings_,
                                                  *speller_, suggestions_, budget, missing)
                                : json::array();
    json params = {{"uri", uri}, {"diagnostics", std::move(diagnostics)}};
    if (!open.version.is_null()) params["version"] = open.version;
    connection_.Notify("textDocument/publishDiagnostics", std::move(params));
    return missing;
  }

  // Every document anew: the dictionaries or the settings changed.
  void RecheckAll() {
    for (auto& [uri, open] : documents_) {
      open.check.Forget();
      Publish(uri, open);
    }
  }

  void RefreshDictionaries() {
    if (speller_ && speller_->Refresh()) {
      suggestions_.Clear();
      RecheckAll();
    }
  }

  OpenDocument* Find(const std::string& uri) {
    const auto at = documents_.find(uri);
    return at == documents_.end() ? nullptr : &at->second;
  }

  void DidOpen(const json& params) {
    const json& item = Field(params, "textDocument");
    const std::string& uri = StringField(item, "uri");
    const std::string& languageId = item.value("languageId", json("")).is_string()
                                        ? item["languageId"].get_ref<const std::string&>()
                                        : std::string();
    const std::string& text = StringField(item, "text");
    documents_.erase(uri);
    auto [at, added] = documents_.try_emplace(uri, languageId, text);
    at->second.version = item.value("version", json());
    if (const auto path = PathOfUri(uri)) at->second.folder = path->parent_path();
    RefreshDictionaries();
    Publish(uri, at->second);
  }

  void DidChange(const json& params) {
    const json& item = Field(params, "textDocument");
    const std::string& uri = StringField(item, "uri");
    OpenDocument* open = Find(uri);
    if (!open) {
      std::cerr << "spellcheck lsp: a change to " << uri << ", which is not open\n";
      return;
    }
    const json& changes = Field(params, "contentChanges");
    if (!changes.is_array()) throw RpcError(rpc::InvalidParams, "contentChanges must be a list");
    for (const json& change : changes) {
      const std::string& text = StringField(change, "text");
      if (const auto range = change.find("range"); range != change.end()) {
        const LineEdit edit =
            open->document.Replace(ReadPosition(Field(*range, "start")),
                                   ReadPosition(Field(*range, "end")), text, encoding_);
        open->check.Edited(edit);
      } else {
        open->check.Edited(open->document.ReplaceAll(text));
      }
    }
    open->version = item.value("version", json());
    Publish(uri, *open);
  }

  void DidClose(const json& params) {
    const std::string& uri = StringField(Field(params, "textDocument"), "uri");
    if (documents_.erase(uri) == 0) return;
    connection_.Notify("textDocument/publishDiagnostics",
                       {{"uri", uri}, {"diagnostics", json::array()}});
  }

  void DidSave(const json& params) {
    const std::string& uri = StringField(Field(params, "textDocument"), "uri");
    // A saved project list or dictionary changes what other documents show.
    projectLists_.Forget();
    RefreshDictionaries();
    if (OpenDocument* open = Find(uri)) Publish(uri, *open);
  }

  void DidChangeConfiguration(const json& params) {
    std::vector<std::string> problems;
    ApplySettings(params.value("settings", json()), settings_, problems);
    Warn(problems);
    const catalogue::DictionaryOptions& wanted = settings_.dictionaries;
    if (!speller_ || wanted.main != loaded_.main || wanted.custom != loaded_.custom ||
        wanted.extra != loaded_.extra || wanted.languages != loaded_.languages) {
      LoadSpeller();
    } else {
      suggestions_.Clear();
    }
    RecheckAll();
  }

  json CodeAction(const json& params) {
    const std::string& uri = StringField(Field(params, "textDocument"), "uri");
    json actions = json::array();
    OpenDocument* open = Find(uri);
    if (!open || !speller_) return actions;
    std::set<std::string> seen;  // word and range: a diagnostic sent twice gets one set
    const auto addFor = [&](const std::string& word, const json& range, const json& diagnostic) {
      if (!seen.insert(word + range.dump()).second) return;
      AddWordActions(actions, uri, range, word,
                     suggestions_.For(*speller_, word, settings_.maxSuggestions), diagnostic);
    };
    const json context = params.value("context", json::object());
    const json diagnostics =
        context.is_object() ? context.value("diagnostics", json::array()) : json::array();
    bool any = false;
    if (diagnostics.is_array()) {
      for (const json& diagnostic : diagnostics) {
        if (!diagnostic.is_object() || diagnostic.value("source", json()) != DiagnosticSource) {
          continue;
        }
        const json& range = Field(diagnostic, "range");
        std::string word;
        const json data = diagnostic.value("data", json());
        if (data.is_object() && data.value("word", json()).is_string()) {
          word = data["word"].get<std::string>();
        } else {
          // A client that does not keep data: the word is read from the text.
          const Position start = ReadPosition(Field(range, "start"));
          const Position end = ReadPosition(Field(range, "end"));
          const std::size_t from = open->document.Offset(start, encoding_);
          const std::size_t to = open->document.Offset(end, encoding_);
          if (to > from) word = open->document.Text().substr(from, to - from);
        }
        if (word.empty()) continue;
        any = true;
        addFor(word, range, diagnostic);
      }
    }
    if (any) return actions;
    // No diagnostics given: the misspellings the range touches.
    const json& range = Field(params, "range");
    const Position start = ReadPosition(Field(range, "start"));
    const Position end = ReadPosition(Field(range, "end"));
    open->check.Check(open->document, *speller_, AcceptedIn(*open), found_);
    const std::vector<Misspelling> found = found_;
    for (const Misspelling& misspelling : found) {
      const std::string_view line = open->document.Line(misspelling.line);
      const Position from{misspelling.line, ByteToColumn(line, misspelling.begin, encoding_)};
      const Position to{misspelling.line, ByteToColumn(line, misspelling.end, encoding_)};
      const bool before =
          to.line < start.line || (to.line == start.line && to.column < start.column);
      const bool after =
          from.line > end.line || (from.line == end.line && from.column > end.column);
      if (before || after) continue;
      const json wordRange = RangeJson(open->document, misspelling.line, misspelling.begin,
                                       misspelling.end, encoding_);
      const std::string word(misspelling.word);
      json diagnostic = {{"range", wordRange},
                         {"severity", static_cast<int>(settings_.severity)},
                         {"source", DiagnosticSource},
                         {"message", "Unknown word '" + word + "'"},
                         {"data", {{"word", word}}}};
      addFor(word, wordRange, diagnostic);
    }
    return actions;
  }

  json ExecuteCommand(const json& params) {
    const std::string& command = StringField(params, "command");
    const json arguments = params.value("arguments", json::array());
    if (command == AddToDictionaryCommand) {
      const CommandArguments read = ReadCommandArguments(arguments, false);
      if (!speller_) throw RpcError(rpc::RequestFailed, "no dictionary is loaded");
      try {
        catalogue::PrepareCustomFolder(dictionaries_);
      } catch (const catalogue::Error& error) {
        throw RpcError(rpc::RequestFailed, error.what());
      }
      if (!speller_->AddToCustom(read.word)) {
        throw RpcError(rpc::RequestFailed,
                       "'" + read.word + "' cannot be stored in the custom dictionary");
      }
      speller_->Refresh();
      suggestions_.Clear();
      RecheckAll();
      return nullptr;
    }
    if (command == AddToProjectCommand) {
      const CommandArguments read = ReadCommandArguments(arguments, true);
      const auto path = PathOfUri(read.uri);
      if (!path) throw RpcError(rpc::RequestFailed, "the document is not a file: " + read.uri);
      const std::filesystem::path folder = path->parent_path();
      // A new list goes to the workspace's root when the document is in it.
      std::filesystem::path home = folder;
      if (root_) {
        const auto relative = folder.lexically_relative(*root_);
        if (!relative.empty() && *relative.begin() != "..") home = *root_;
      }
      try {
        const ProjectAddition addition =
            AddProjectWords(folder, home / ProjectWordsFileName, {read.word});
        if (!addition.rejected.empty()) {
          throw RpcError(rpc::InvalidParams, "'" + read.word + "' is not a word for a word list");
        }
      } catch (const ToolError& error) {
        throw RpcError(rpc::RequestFailed, error.what());
      }
      projectLists_.Forget();
      for (auto& [uri, open] : documents_) Publish(uri, open);
      return nullptr;
    }
    if (command == IgnoreInDocumentCommand) {
      const CommandArguments read = ReadCommandArguments(arguments, true);
      OpenDocument* open = Find(read.uri);
      if (!open) throw RpcError(rpc::InvalidParams, "the document is not open: " + read.uri);
      open->ignored.insert(read.word);
      Publish(read.uri, *open);
      return nullptr;
    }
    throw RpcError(rpc::InvalidParams, "unknown command " + command);
  }

  store::FileSystem& fs_;
  Connection& connection_;
  Stage stage_ = Stage::Starting;
  bool exited_ = false;
  PositionEncoding encoding_ = PositionEncoding::Utf16;
  Settings settings_;
  catalogue::DictionaryOptions loaded_;  // what the speller was made from
  catalogue::RunDictionaries dictionaries_;
  std::unique_ptr<engine::Speller> speller_;
  Suggestions suggestions_;
  ProjectLists projectLists_;
  std::optional<std::filesystem::path> root_;
  std::map<std::string, OpenDocument> documents_;
  std::vector<Misspelling> found_;
};

}  // namespace

int RunLanguageServer(store::FileSystem& fs, const catalogue::DictionaryOptions& options) {
  Transport transport = Transport::Standard();
  Connection connection(transport);
  Server server(fs, options, connection);
  connection.Run();
  return server.ExitStatus();
}

}  // namespace spellcheck::tool::lsp
