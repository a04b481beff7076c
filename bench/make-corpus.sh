#!/usr/bin/env bash
# Writes a varied English text of about WORDS words (default 500,000) to
# standard output: the Debian changelogs, copyright files and licence texts of
# this machine, in a fixed order, each paragraph at most once, so that the text
# never repeats itself (a repeated text flatters every cache).
#
# Usage: bench/make-corpus.sh [WORDS] > text.txt
set -eu
limit=${1:-500000}
{
  for f in /usr/share/common-licenses/*; do [[ -f $f && ! -L $f ]] && cat "$f"; echo; done
  for f in /usr/share/doc/*/changelog.Debian.gz; do zcat "$f" 2>/dev/null; echo; done
  for f in /usr/share/doc/*/copyright; do cat "$f"; echo; done
} | LC_ALL=C awk -v limit="$limit" '
  # Paragraphs are runs of lines between blank lines; a paragraph seen before
  # (boilerplate shared by many packages) is left out.
  function flush() {
    if (para != "" && !(para in seen)) {
      seen[para] = 1
      printf "%s\n", para
      words += split(para, ignored)
      if (words >= limit) exit
    }
    para = ""
  }
  /^[[:space:]]*$/ { flush(); next }
  { para = para (para == "" ? "" : "\n") $0 }
  END { flush() }'
