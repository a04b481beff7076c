# Sourced by the benchmarks that run the tool: nothing of the user's (custom
# dictionary, config, languages from the environment) changes its answers.
export LC_ALL=C.UTF-8
unset SPELLCHECK_LANG SPELLCHECK_MAIN SPELLCHECK_CUSTOM
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME=$home XDG_DATA_HOME=$home XDG_CONFIG_HOME=$home
# The dictionaries alone, for comparisons with other checkers: every word is
# checked whatever its length, and no vocabulary adds words.
engine_config=$home/engine.toml
printf 'min-word-length = 1\n\n[vocabularies]\nall = []\n' >"$engine_config"
