# What the program's --help lists, for the tests that compare the manual page
# and the bash completion with it (sourced by man-page-test.sh and
# completion-test.sh). CLI11's help: "Options:" and "Subcommands:" sections,
# each entry on a line of its own indented by two blanks.

# help_commands TOOL: the subcommands of `TOOL --help`, one a line.
help_commands() {
  "$1" --help | awk '/^Subcommands:/ { on = 1; next } /^[^ ]/ { on = 0 } on && /^  [a-z]/ { print $1 }'
}

# help_options TOOL [COMMAND]: the option names of `TOOL [COMMAND] --help`,
# one a line ("-o,--output" gives -o and --output).
help_options() {
  local tool=$1
  shift
  "$tool" "$@" --help |
    awk '/^Options:/ { on = 1; next } /^[^ ]/ { on = 0 } on && /^  -/ { print $1 }' |
    tr ',' '\n'
}

# help_values TOOL COMMAND OPTION: the values an option's help names after
# its last colon ("Output format: text, json"), one a line.
help_values() {
  "$1" "$2" --help | grep -E "^  $3 " | sed 's/.*: //' | tr ',' '\n' | tr -d ' '
}
