#!/usr/bin/env bash
# The manual pages against the program and the header: spellcheck(1) has its
# sections and names every command and option that the program's --help
# lists (and every environment variable the tool reads); spellcheck(3) names
# every operation of the header and every error code with its message.
#
# Usage: man-page-test.sh TOOL SPELLCHECK.1 SPELLCHECK.3 HEADER TOOL-SOURCES
set -uo pipefail
tool=$1 page1=$2 page3=$3 header=$4 sources=$5
. "$(dirname "$0")/help-lists.sh"

passed=0
failed=0
check() {  # check WHAT COMMAND...: passes when the command succeeds
  local what=$1
  shift
  if "$@" >/dev/null 2>&1; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAILED: $what"
  fi
}

# The pages as a reader sees them, without formatting.
render() { MANWIDTH=100 MAN_KEEP_FORMATTING="" man -l "$1" 2>/dev/null | col -b; }
text1=$(render "$page1")
text3=$(render "$page3")
check "spellcheck.1 renders" test -n "$text1"
check "spellcheck.3 renders" test -n "$text3"

# The text of one section (from its heading to the next).
section() { awk -v name="$2" '/^[A-Z]/ { on = ($0 == name); next } on' <<<"$1"; }
# A word that stands alone: not part of a longer option or name.
mentions() { grep -qE -- "(^|[^-A-Za-z0-9_])$2([^-A-Za-z0-9_]|\$)" <<<"$1"; }

for heading in NAME SYNOPSIS DESCRIPTION COMMANDS OPTIONS PIPE "EXIT STATUS" ENVIRONMENT FILES \
  EXAMPLES "SEE ALSO"; do
  check "spellcheck.1 has the section $heading" grep -qx "$heading" <<<"$text1"
done

# Every command of --help has an entry of its own under COMMANDS, and every
# entry there is a command of --help (or the pipe).
commands=$(section "$text1" COMMANDS)
listed=$(help_commands "$tool")
check "--help lists commands" test -n "$listed"
for command in $listed; do
  check "COMMANDS has an entry for '$command'" grep -qE "^       $command( |$)" <<<"$commands"
done
for entry in $(grep -oE '^       [a-z]+' <<<"$commands"); do
  [[ $entry == pipe ]] && continue
  check "COMMANDS' '$entry' is a command of --help" grep -qx "$entry" <<<"$listed"
done

# Every option of the tool and of each command is described.
for option in $(help_options "$tool"); do
  check "spellcheck.1 describes the option $option" mentions "$(section "$text1" OPTIONS)" "$option"
done
for command in $listed; do
  for option in $(help_options "$tool" "$command"); do
    check "spellcheck.1 describes '$command $option'" mentions "$(section "$text1" OPTIONS)" "$option"
  done
done
for mode in $(help_values "$tool" list --mode) $(help_values "$tool" list --format); do
  check "spellcheck.1 names the value '$mode'" mentions "$(section "$text1" OPTIONS)" "$mode"
done

# The pipe's options, from its own help.
for option in $("$tool" -a --help | grep -oE '^  -[-A-Za-z]+(, -[-A-Za-z]+)*' | tr -d ' ' |
  tr ',' '\n'); do
  check "PIPE describes the option $option" mentions "$(section "$text1" PIPE)" "$option"
done

# The environment variables the tool reads.
environment=$(section "$text1" ENVIRONMENT)
for variable in $(grep -rhoE '(Environment|getenv)\("[A-Z_]+"\)' "$sources" |
  sed -E 's/.*\("([A-Z_]+)"\)/\1/' | sort -u); do
  check "ENVIRONMENT names $variable" mentions "$environment" "$variable"
done

# spellcheck(3): the sections, the factory, every operation and error code.
for heading in NAME SYNOPSIS DESCRIPTION OPERATIONS ERRORS EXAMPLES; do
  check "spellcheck.3 has the section $heading" grep -qx "$heading" <<<"$text3"
done
check "spellcheck.3 names CreateSpellerCheck" mentions "$text3" CreateSpellerCheck
operations=$(grep -oE 'virtual [^(]*[ *]([A-Za-z]+)\(' "$header" | sed -E 's/.*[ *]([A-Za-z]+)\($/\1/')
check "the header declares operations" test -n "$operations"
for operation in $operations; do
  check "OPERATIONS describes $operation" mentions "$(section "$text3" OPERATIONS)" "$operation"
done
while read -r code message; do
  check "ERRORS gives code $code: $message" grep -qF "$code \"$message\"" <<<"$text3"
done < <(awk '/^ +case [0-9]+:/ { code = $2; sub(":", "", code); next }
  code != "" && /return "/ { split($0, part, "\""); print code, part[2]; code = "" }' "$header")
for class in EInOutError EOutOfMemory DefaultDic; do
  check "spellcheck.3 names $class" mentions "$text3" "$class"
done

echo "$passed passed, $failed failed"
((failed == 0))
