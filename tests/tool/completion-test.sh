#!/usr/bin/env bash
# The bash completion, as bash calls it: COMP_WORDS and COMP_CWORD set, the
# completion function called, COMPREPLY read. The commands, options and
# values it offers are compared with what the program's --help lists.
#
# Usage: completion-test.sh TOOL COMPLETION-FILE BASH_COMPLETION
set -uo pipefail
tool=$1 completion=$2 bash_completion=$3
[[ $tool == /* ]] || tool=$PWD/$tool
. "$(dirname "$0")/help-lists.sh"

# bash_completion expects an interactive shell's settings.
set +o nounset
. "$bash_completion"
. "$completion"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$scratch" || exit 2

passed=0
failed=0
fail() {
  failed=$((failed + 1))
  echo "FAILED: $*"
}

# complete LINE: the completions of LINE's last word (empty after a blank),
# sorted, one a line. The program is the one under test.
complete_line() {
  local line=$1
  read -ra COMP_WORDS <<<"$line"
  [[ $line == *" " ]] && COMP_WORDS+=("")
  COMP_WORDS[0]=$tool
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMP_LINE="$tool ${line#* }"
  COMP_POINT=${#COMP_LINE}
  COMPREPLY=()
  _spellcheck "$tool" "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
  printf '%s\n' "${COMPREPLY[@]}" | sed '/^$/d' | sort -u
}

# expect_has LINE WORD...: every WORD is offered.
expect_has() {
  local line=$1 offered word
  shift
  offered=$(complete_line "$line")
  for word in "$@"; do
    if grep -qxF -- "$word" <<<"$offered"; then
      passed=$((passed + 1))
    else
      fail "'$line' does not offer '$word' (offers: $(echo $offered))"
    fi
  done
}

# expect_exactly LINE WORD...: the words offered are exactly these.
expect_exactly() {
  local line=$1 offered wanted
  shift
  offered=$(complete_line "$line")
  wanted=$(printf '%s\n' "$@" | sed '/^$/d' | sort -u)
  if [[ $offered == "$wanted" ]]; then
    passed=$((passed + 1))
  else
    fail "'$line' offers [$(echo $offered)], not [$(echo $wanted)]"
  fi
}

# The commands: exactly those of --help, and the pipe.
commands=$(help_commands "$tool")
[[ -n $commands ]] || fail "--help lists no commands"
expect_exactly "spellcheck " $commands pipe
expect_exactly "spellcheck li" list
expect_exactly "spellcheck --main x.dic ver" verify

# The options: the tool's own everywhere, each command's own after it.
global=$(help_options "$tool")
expect_has "spellcheck -" $global -a -l
for command in $commands; do
  expect_exactly "spellcheck $command -" $global $(help_options "$tool" "$command")
done
expect_has "spellcheck --no-custom list --w" --where --words

# Values: --mode and --format exactly as --help names them.
expect_exactly "spellcheck list --mode " $(help_values "$tool" list --mode)
expect_exactly "spellcheck list --format " $(help_values "$tool" list --format)
expect_exactly "spellcheck list --format j" json
expect_exactly "spellcheck list --format=s" sarif
expect_exactly "spellcheck list --suggest --mode ma" markdown
expect_has "spellcheck --encoding UTF-16" UTF-16LE UTF-16BE
expect_exactly "spellcheck suggest --max " ""

# Files: operands of list, build, dump, verify, merge; values of file options.
mkdir -p docs
: >notes.md
: >words.dic
expect_exactly "spellcheck list no" notes.md
expect_exactly "spellcheck list --where d" docs
expect_exactly "spellcheck dump wo" words.dic
expect_exactly "spellcheck --main wo" words.dic
expect_exactly "spellcheck build notes.md -o wo" words.dic
expect_exactly "spellcheck add --to wo" words.dic
expect_exactly "spellcheck list --words no" notes.md
# Words are no files.
expect_exactly "spellcheck check no" ""
expect_exactly "spellcheck add no" ""

# The pipe (-a, pipe) and ispell's list mode (-l) take the pipe's options.
expect_has "spellcheck -a -" -d -p -t -H -n -v --max --positional --main
expect_has "spellcheck pipe -" -d -p
expect_has "spellcheck -l -" -d -t
expect_exactly "spellcheck -a -p no" notes.md

# Language tags: the dictionaries beside the program, when it has no
# `dicts` command...
mkdir -p fake/bin fake/share/spellcheck
cat >fake/bin/spellcheck <<'EOF'
#!/bin/sh
echo "spellcheck: no such command" >&2
exit 2
EOF
chmod +x fake/bin/spellcheck
: >fake/share/spellcheck/en_US.dic
: >fake/share/spellcheck/de_DE.dic
: >fake/share/spellcheck/cust.dic
tool_under_test=$tool
tool=$scratch/fake/bin/spellcheck
HOME=$scratch/home XDG_DATA_HOME=$scratch/data expect_has "spellcheck list --lang " en_US de_DE
HOME=$scratch/home XDG_DATA_HOME=$scratch/data expect_has "spellcheck -d e" en_US
offered=$(HOME=$scratch/home XDG_DATA_HOME=$scratch/data complete_line "spellcheck --lang ")
if grep -qx cust <<<"$offered"; then fail "the custom dictionary is offered as a language"; else
  passed=$((passed + 1)); fi
# ...the pipe's -d also takes files...
expect_has "spellcheck -a -d " en_US notes.md
# ...and what `spellcheck dicts` lists where it has that command.
cat >fake/bin/spellcheck <<'EOF'
#!/bin/sh
[ "$1" = dicts ] || exit 2
printf 'fr_FR  /usr/share/spellcheck/fr_FR.dic  300000 words\nnl: Dutch\n'
EOF
expect_exactly "spellcheck --lang " fr_FR nl
tool=$tool_under_test

echo "$passed passed, $failed failed"
((failed == 0))
