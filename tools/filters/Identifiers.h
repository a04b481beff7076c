// The names that a run's code defines, and their parts, become words of the
// run: a comment that names `parse_header_block` or `makedirs` is not
// flagged for it (the definitions themselves are still checked).
#ifndef SPELLCHECK_TOOL_FILTERS_IDENTIFIERS_H
#define SPELLCHECK_TOOL_FILTERS_IDENTIFIERS_H

#include <string>
#include <string_view>
#include <unordered_set>

namespace spellcheck::tool {

// Adds a name and its parts (snake_case, camelCase, HTTPServer: HTTP, Server).
void AddNameAndParts(std::string_view name, std::unordered_set<std::string>& words);

// Adds the names that the definitions of a code file of `mode` give; a file
// that cannot be read, or that is larger than 16 MiB, adds nothing.
void AddDefinedNames(const std::string& path, const std::string& mode,
                     std::unordered_set<std::string>& words);
// The same for a document read already.
void AddDefinedNamesOf(std::string_view document, const std::string& mode,
                       std::unordered_set<std::string>& words);

}  // namespace spellcheck::tool

#endif
