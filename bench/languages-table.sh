#!/usr/bin/env bash
# The languages table of the README: every tag `spellcheck dicts` lists, the
# Debian package its dictionary comes from, its kind and its words (word
# lists) or stems (Hunspell dictionaries). What is listed is what is
# installed: install the hunspell-* packages first for the whole table.
#
# Usage: bench/languages-table.sh BUILD_DIR
set -euo pipefail
build=${1:?usage: $0 BUILD_DIR}
tool=$build/tools/spellcheck
here=$(cd "$(dirname "$0")/.." && pwd)

# Our word lists: the package named in data/languages.txt.
declare -A list_package
while read -r tag package _; do
  [[ -z "$tag" || "$tag" == \#* ]] && continue
  list_package[$tag]=$package
done <"$here/data/languages.txt"

# One row a package: its tags (a package's tags often share one dictionary),
# its kind and the words or stems of its first dictionary.
echo "| tags | package | kind | words or stems |"
echo "|---|---|---|---:|"
"$tool" dicts | awk '/^also found|^this run:|^  /{exit} {print}' |
  while read -r tag kind rest; do
    if [[ "$kind" == "hunspell" ]]; then
      read -r count unit file <<<"$rest"
      package=$(dpkg -S "$(readlink -f "$file")" 2>/dev/null | head -1 | cut -d: -f1)
    else
      # "word list" is two words.
      read -r _ count unit file <<<"$rest"
      kind="word list"
      package=${list_package[$tag]:-}
      [[ -z "$package" && "$(basename "$file")" == english.dic ]] && package=${list_package[en_US]}
    fi
    printf '%s\t%s\t%s\t%s %s\n' "${package:-?}" "$tag" "$kind" "$count" "$unit"
  done |
  awk -F'\t' '{ if (!($1 in tags)) { order[n++] = $1; kind[$1] = $3; size[$1] = $4; tags[$1] = $2 }
                 else tags[$1] = tags[$1] ", " $2 }
       END { for (i = 0; i < n; i++) printf "| %s | %s | %s | %s |\n", tags[order[i]], order[i], kind[order[i]], size[order[i]] }' |
  sort -t'|' -k2
