# Bash completion for spellcheck(1): commands, each command's options, the
# values of --mode, --format, --encoding and the language options, and files.
# Installed as share/bash-completion/completions/spellcheck.
#
# A new command: add its name to _spellcheck_commands and its options to
# _spellcheck_command_options (tests/tool/completion-test.sh compares both
# with the program's --help).

# The commands, in the order of `spellcheck --help` (pipe: the ispell pipe).
_spellcheck_commands="check suggest list config fix add delete merge build dump verify dicts compile lsp
  pipe"

# Options every command takes (before or after the command's name).
_spellcheck_global_options="-d --lang --main --custom --dic --no-custom --ignore-case --encoding
  -h --help -V --version"

# The options of the ispell pipe (spellcheck -a, spellcheck pipe) and of
# ispell's list mode (spellcheck -l).
_spellcheck_pipe_options="--main --custom --dic --no-custom --ignore-case --max --positional
  --encoding -d -p -v -vv -t -H -n -i -h --help"

# The options of one command, besides the global ones.
_spellcheck_command_options() {
  case $1 in
    suggest) echo "--max --positional" ;;
    list) echo "--suggest --where --mode --format --words --max --positional --config --no-config
      -j --jobs" ;;
    config) echo "--config --no-config --mode --words" ;;
    fix) echo "--mode --words" ;;
    add) echo "--to --project" ;;
    delete) echo "--from --also --also-custom" ;;
    build) echo "-o --output --quiet" ;;
    compile) echo "--all --into" ;;
    check | merge | dump | verify | dicts | lsp) ;;
  esac
}

# The values of --mode and --format.
_spellcheck_modes="text markdown html xml tex nroff email c java js go rust python shell cmake
  yaml toml"
_spellcheck_formats="text json sarif github"

# Language tags: from `spellcheck dicts` where the program has that command
# (the first field of each line that starts with a tag), else the names of
# the dictionaries (*.dic) in share/spellcheck beside the program and in the
# usual data folders.
_spellcheck_languages() {
  local program=$1 line tag folder dic
  local -a tags=()
  local listing
  if listing=$("$program" dicts </dev/null 2>/dev/null) && [[ -n $listing ]]; then
    while read -r line; do
      tag=${line%%[[:space:]]*}
      tag=${tag%:}
      tag=${tag%.dic}
      [[ $tag =~ ^[A-Za-z]{2,3}([_-][A-Za-z0-9]+)*$ ]] && tags+=("$tag")
    done <<<"$listing"
  fi
  if ((${#tags[@]} == 0)); then
    local path
    path=$(type -P -- "$program" 2>/dev/null) || path=$program
    if [[ $path == */* ]]; then
      path=$(readlink -f -- "$path" 2>/dev/null || echo "$path")
      folder=${path%/*}/../share/spellcheck
    fi
    for folder in "$folder" "${XDG_DATA_HOME:-$HOME/.local/share}/spellcheck" \
      /usr/local/share/spellcheck /usr/share/spellcheck; do
      [[ -n $folder && -d $folder ]] || continue
      for dic in "$folder"/*.dic; do
        [[ -f $dic ]] || continue
        tag=${dic##*/}
        tag=${tag%.dic}
        [[ $tag == cust ]] || tags+=("$tag")
      done
    done
  fi
  printf '%s\n' "${tags[@]}" | sort -u
}

# iconv's names for --encoding, without their "//" endings.
_spellcheck_encodings() {
  local names
  names=$(iconv -l 2>/dev/null | tr ', ' '\n\n' | sed -n 's#/*$##; /^[A-Za-z0-9][-A-Za-z0-9_.:]*$/p')
  [[ -n $names ]] || names="UTF-8 UTF-16 UTF-16LE UTF-16BE ISO-8859-1 ISO-8859-15 CP1252 ASCII"
  echo "$names"
}

_spellcheck() {
  local cur prev words cword split
  _init_completion -s || return

  # What the words so far ask for: a command, the pipe (-a, pipe) or the
  # list mode (-l); the values of options are skipped.
  local command="" pipe="" i word
  for ((i = 1; i < cword; i++)); do
    word=${words[i]}
    case $word in
      --main | --custom | --dic | --encoding | --mode | --format | --words | --max | --to | \
        --from | --also | -o | --output | --lang | -d | -p | -T | -w | --config | -j | --jobs | \
        --into)
        ((i++))
        ;;
      -a | -l) pipe=1 ;;
      -v | -vv) [[ -z $command ]] && pipe=1 ;;
      -*) ;;
      *)
        if [[ -z $command && -z $pipe ]]; then
          command=$word
          [[ $command == pipe ]] && pipe=1
        fi
        ;;
    esac
  done

  # The value of an option.
  case $prev in
    --main | --custom | --dic | --to | --from | --also | --words | -o | --output | -p | --config)
      _filedir
      return
      ;;
    --into)
      _filedir -d
      return
      ;;
    --encoding | -i)
      COMPREPLY=($(compgen -W "$(_spellcheck_encodings)" -- "$cur"))
      return
      ;;
    --mode)
      COMPREPLY=($(compgen -W "$_spellcheck_modes" -- "$cur"))
      return
      ;;
    --format)
      COMPREPLY=($(compgen -W "$_spellcheck_formats" -- "$cur"))
      return
      ;;
    --lang | -d)
      COMPREPLY=($(compgen -W "$(_spellcheck_languages "${words[0]}")" -- "$cur"))
      # The pipe's -d also takes a dictionary file.
      [[ -n $pipe && $prev == -d ]] && _filedir
      return
      ;;
    --max | -T | -w | -j | --jobs)
      return
      ;;
  esac
  $split && return

  if [[ -n $pipe ]]; then
    [[ $cur == -* ]] && COMPREPLY=($(compgen -W "$_spellcheck_pipe_options" -- "$cur"))
    return
  fi

  if [[ -z $command ]]; then
    if [[ $cur == -* ]]; then
      COMPREPLY=($(compgen -W "$_spellcheck_global_options -a -l -v" -- "$cur"))
    else
      COMPREPLY=($(compgen -W "$_spellcheck_commands" -- "$cur"))
    fi
    return
  fi

  if [[ $cur == -* ]]; then
    COMPREPLY=($(compgen -W "$_spellcheck_global_options $(_spellcheck_command_options "$command")" \
      -- "$cur"))
    return
  fi

  # Operands: files for the commands that read or write files; nothing for
  # words.
  case $command in
    list | build | merge | dump | verify) _filedir ;;
  esac
}
complete -F _spellcheck spellcheck
