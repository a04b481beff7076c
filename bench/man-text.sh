#!/usr/bin/env bash
# Writes the plain text of one language's translated manual pages (Debian's
# manpages-LANG packages) to standard output: the pages in name order,
# rendered by groff without hyphenation on wide lines, each paragraph at most
# once (a repeated text flatters every cache), until about WORDS words.
#
#   bench/man-text.sh DIR [WORDS]   DIR: the pages' folder under /usr/share/man
#                                   (de, fr, pt_BR, ...); WORDS: default: all
set -eu  # no pipefail: the pages stop flowing once enough words came
dir=/usr/share/man/$1
limit=${2:-0}
[[ -d $dir ]] || { echo "man-text.sh: no $dir (apt-get install manpages-$1)" >&2; exit 2; }

# Pages that only point at another (".so man1/x.1") have no text of their own.
find "$dir" -type f -name '*.gz' | LC_ALL=C sort | while read -r page; do
  zcat "$page" 2>/dev/null | grep -q -m1 -v -e '^\.so ' -e '^\.\\"' -e '^$' || continue
  zcat "$page" | preconv 2>/dev/null | groff -t -man -Tutf8 -rHY=0 -rLL=250n -P-cbou 2>/dev/null
  echo
done | awk -v limit="$limit" '
  # A page header or footer line (NAME(1) ... NAME(1)) is left out: it repeats
  # on every page.
  function flush() {
    if (para != "" && !(para in seen)) {
      seen[para] = 1
      printf "%s\n\n", para
      words += split(para, ignored)
      if (limit > 0 && words >= limit) exit
    }
    para = ""
  }
  /^[[:space:]]*$/ { flush(); next }
  /^[^ ]+\([0-9][^)]*\) .*[^ ]+\([0-9][^)]*\)$/ { next }
  { sub(/^[[:space:]]+/, ""); para = para (para == "" ? "" : "\n") $0 }
  END { flush() }'
