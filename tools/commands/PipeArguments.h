// The command line of the ispell pipe. Clients pass ispell's options, most of
// which mean nothing here: they are accepted and ignored, so that no client
// fails to start. -d and -p choose the main and custom dictionary when they
// name files that can serve as such.
#ifndef SPELLCHECK_TOOL_PIPEARGUMENTS_H
#define SPELLCHECK_TOOL_PIPEARGUMENTS_H

#include <string>
#include <vector>

#include "commands/Commands.h"
#include "catalogue/RunDictionaries.h"

namespace spellcheck::tool {

struct PipeArguments {
  catalogue::DictionaryOptions dictionaries;
  // -p naming ispell's own kind of personal dictionary, a text of one word a
  // line: its words are accepted, and words added go there, as text.
  std::string personalList;
  SuggestOptions suggestions;
  // The filter of every line: "tex" (-t), "html" (-H), "nroff" (-n), or
  // "text"; the pipe's + and - switch TeX on and back.
  std::string mode = "text";
  bool versionOnly = false;  // -v, -vv: the banner alone
  bool help = false;
};

// Never fails: what it does not know it ignores. Throws ToolError only for
// an option of the tool's own that lacks its value.
PipeArguments ParsePipeArguments(const std::vector<std::string>& arguments);

// True when `path` holds word-list records (or, for a custom dictionary, is
// a .dic file yet to be made in an existing folder).
bool IsUsableDictionary(const std::string& path, bool mayBeMissing);

}  // namespace spellcheck::tool

#endif
