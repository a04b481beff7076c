// spellcheck lsp: a language server on standard input and output that
// reports the misspelled words of open documents as diagnostics and offers
// quick fixes for them.
#ifndef SPELLCHECK_TOOL_LSP_SERVER_H
#define SPELLCHECK_TOOL_LSP_SERVER_H

#include "catalogue/RunDictionaries.h"
#include "store/FileSystem.h"

namespace spellcheck::tool::lsp {

// Serves one client until it says exit (0 after shutdown, else 1) or its
// input ends. `options`: the command line's dictionaries, which the client's
// settings override.
int RunLanguageServer(store::FileSystem& fs, const catalogue::DictionaryOptions& options);

}  // namespace spellcheck::tool::lsp

#endif
