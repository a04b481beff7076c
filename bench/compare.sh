#!/usr/bin/env bash
# Runs the same text and the same misspelled words through hunspell, aspell
# and spellcheck, and prints words per second and suggestion latency side by
# side, as ratios from this one run.
#
# Usage: bench/compare.sh [BUILD_FOLDER] [TEXT]
#   BUILD_FOLDER  where the tool was built (default: build)
#   TEXT          an English text (default: bench/make-corpus.sh's text of
#                 about 500,000 words that never repeats itself)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build}
tool=$build/tools/spellcheck
[[ -x $tool ]] || { echo "compare.sh: no tool at $tool; build first" >&2; exit 2; }
for program in hunspell aspell; do
  command -v $program >/dev/null || { echo "compare.sh: $program is not installed" >&2; exit 2; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The user's own dictionaries play no part.
export HOME=$work SPELLCHECK_CUSTOM=$work/cust.dic LC_ALL=C.UTF-8

text=${2:-}
if [[ -z $text ]]; then
  text=$work/text.txt
  "$here/make-corpus.sh" 500000 >"$text"
fi
words=$(wc -w <"$text")

# Misspelled words: real words of the text with two neighbouring letters
# swapped, the commonest kind of slip (one in five words of the pipe text).
awk '{ for (i = 1; i <= NF; i++) { w = $i; gsub(/[^A-Za-z]/, "", w);
         if (length(w) >= 5) print tolower(w) } }' "$text" | sort -u | awk 'NR <= 2000' >"$work/real.txt"
awk 'BEGIN { srand(7) } { n = length($0); p = 2 + int(rand() * (n - 2));
       print substr($0, 1, p - 1) substr($0, p + 1, 1) substr($0, p, 1) substr($0, p + 2) }' \
  "$work/real.txt" >"$work/swapped.txt"
hunspell -l -d en_US <"$work/swapped.txt" | awk 'NR <= 300' >"$work/misspelled.txt"
misspelled=$(wc -l <"$work/misspelled.txt")
awk 'NR == FNR { bad[++n] = $0; next }
     { out = ""; for (i = 1; i <= NF; i++) { w = $i; if (i % 5 == 0) w = bad[(++k % n) + 1];
         out = out (i > 1 ? " " : "") w } print out }' \
  "$work/misspelled.txt" <(awk 'NR <= 400' "$text") >"$work/pipe.txt"
pipewords=$(wc -w <"$work/pipe.txt")

# seconds COMMAND...: wall-clock seconds of one run, output discarded.
seconds() {
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null
  end=$(date +%s%N)
  awk -v ns=$((end - start)) 'BEGIN { printf "%.4f", ns / 1e9 }'
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }'; }
rate() { awk -v n="$1" -v s="$2" 'BEGIN { printf "%.0f", (s > 0 ? n / s : 0) }'; }
ms_per() { awk -v s="$1" -v n="$2" 'BEGIN { printf "%.3f", s * 1000 / n }'; }

# The median of three runs of each, so that one busy moment does not decide
# (one run is enough for a command that takes seconds).
median() {
  local times=() t
  for _ in 1 2 3; do
    t=$(seconds "$@")
    times+=("$t")
    awk -v t="$t" 'BEGIN { exit !(t > 5) }' && break
  done
  printf '%s\n' "${times[@]}" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

echo word >"$work/one.txt"
list_hunspell() { hunspell -l -d en_US <"$text"; }
floor_startup() { "$tool" list "$work/one.txt"; }
floor_read() { cat "$text"; }
list_aspell() { aspell list -l en <"$text"; }
list_spellcheck() { "$tool" list "$text" || [[ $? == 1 ]]; }
pipe_hunspell() { hunspell -a -d en_US <"$work/pipe.txt"; }
pipe_aspell() { aspell -a -l en <"$work/pipe.txt"; }
pipe_spellcheck() { "$tool" -a <"$work/pipe.txt"; }
suggest_hunspell() { hunspell -a -d en_US <"$work/misspelled.txt"; }
suggest_aspell() { aspell -a -l en <"$work/misspelled.txt"; }
suggest_spellcheck() { "$tool" -a <"$work/misspelled.txt"; }
start_hunspell() { hunspell -a -d en_US </dev/null; }
start_aspell() { aspell -a -l en </dev/null; }
start_spellcheck() { "$tool" -a </dev/null; }

echo "Text: $words words; pipe text: $pipewords words, every fifth misspelled;" \
  "$misspelled misspelled words for suggestions"
echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')"
echo
printf '%-12s %14s %14s %16s %14s %12s\n' program "list words/s" "pipe words/s" "suggest ms/word" "start-up ms" "peak list KB"
declare -A list pipe suggest start
for program in hunspell aspell spellcheck; do
  list[$program]=$(median list_$program)
  pipe[$program]=$(median pipe_$program)
  start[$program]=$(median start_$program)
  suggest[$program]=$(median suggest_$program)
  peak=$( { /usr/bin/time -f %M bash -c "$(declare -f list_$program); text=$text tool=$tool list_$program" >/dev/null; } 2>&1 | tail -1)
  # Suggestion latency: the time of the misspelled words beyond start-up.
  sug=$(awk -v a="${suggest[$program]}" -v b="${start[$program]}" 'BEGIN { d = a - b; print (d > 0 ? d : 0) }')
  suggest[$program]=$sug
  printf '%-12s %14s %14s %16s %14s %12s\n' $program "$(rate $words "${list[$program]}")" \
    "$(rate $pipewords "${pipe[$program]}")" "$(ms_per "$sug" "$misspelled")" \
    "$(ms_per "${start[$program]}" 1)" "$peak"
done
startup=$(median floor_startup)
readtext=$(median floor_read)
echo
echo "Floor of spellcheck list: start-up with the dictionary read and indexed" \
  "$(ms_per "$startup" 1) ms, reading the text $(ms_per "$readtext" 1) ms;" \
  "the whole list $(ms_per "${list[spellcheck]}" 1) ms"
echo
echo "Ratios (spellcheck's speed over the other's; goals in brackets):"
echo "  list:  $(ratio "${list[hunspell]}" "${list[spellcheck]}")x hunspell -l [>= 60]," \
  "$(ratio "${list[aspell]}" "${list[spellcheck]}")x aspell list [>= 4]"
echo "  pipe:  $(ratio "${pipe[hunspell]}" "${pipe[spellcheck]}")x hunspell -a [>= 50]," \
  "$(ratio "${pipe[aspell]}" "${pipe[spellcheck]}")x aspell -a [> 1]"
echo "  suggestions: $(ratio "${suggest[hunspell]}" "${suggest[spellcheck]}")x hunspell," \
  "$(ratio "${suggest[aspell]}" "${suggest[spellcheck]}")x aspell"
