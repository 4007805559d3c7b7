# bash completion for yentax

_yentax_values() {
  case "$1" in
    --source-kind) echo "before-tax tax-included" ;;
    --rounding) echo "down up-from-2 up-from-3 up-from-4 up-from-5 up-from-6 up-from-7 up-from-8 up-from-9 up half-up" ;;
    --place) echo "none 1 2 3 4" ;;
    --kind) echo "append replace breakdown" ;;
    --style) echo "amount-only with-text base tax base-and-tax included" ;;
    --bracket) echo "() （） [] ［］ <> ＜＞ ｢｣ 「」 {} ｛｝ 《》 ≪≫ 〔〕 『』 【】 ‘’ 〝〟 none" ;;
    --detect) echo "all marked custom" ;;
    --min | --max) echo "none" ;;
    --extensions) echo "htm,html" ;;
    --format) echo "text json jsonl" ;;
    --log-encoding) echo "utf-8 cp932" ;;
    --items) echo "reduced standard all" ;;
  esac
}

# Offers each word that starts with cur; one the shell would read as syntax ("()", "<>")
# is offered in single quotes.
_yentax_offer() {
  local word cur="$1"
  shift
  for word in "$@"; do
    [[ $word == "$cur"* || "'$word" == "$cur"* ]] || continue
    if [[ $word == *[][\(\)\{\}\<\>\;\&\|\ ]* ]]; then
      COMPREPLY+=("'$word'")
    else
      COMPREPLY+=("$word")
    fi
  done
}

# Settings files (.KVT, .INI) and folders to find them in.
_yentax_settings_files() {
  local file
  while IFS= read -r file; do
    [[ -d $file || $file == *.[Kk][Vv][Tt] || $file == *.[Ii][Nn][Ii] ]] && COMPREPLY+=("$file")
  done < <(compgen -f -- "$1")
}

_yentax() {
  local cur prev command
  COMPREPLY=()
  cur="${COMP_WORDS[COMP_CWORD]}"
  prev="${COMP_WORDS[COMP_CWORD-1]}"
  command="${COMP_WORDS[1]}"

  if [[ $COMP_CWORD -eq 1 ]]; then
    if [[ $cur == -* ]]; then
      _yentax_offer "$cur" --help --version
    else
      _yentax_offer "$cur" convert check rerate restore
      compopt -o filenames 2>/dev/null
      _yentax_settings_files "$cur"
    fi
    return
  fi

  local settings="--rate --source-kind --rounding --place --kind --style --bracket --detect
    --min --max --extensions --reduced-rate --reduced-mark --reduced-pages --no-labels --log
    --settings --recursive --hidden --follow-links --jobs --quiet --verbose --version --help"
  local options
  case "$command" in
    convert) options="$settings --output --in-place --dry-run --diff --copy-other --log-encoding" ;;
    check) options="$settings --format" ;;
    restore) options="--generation --list --force --backup-dir --settings --extensions --recursive
      --hidden --follow-links --quiet --verbose --version --help" ;;
    rerate) options="$settings --from --to --items --output --in-place --backup-dir --no-backup
      --dry-run --diff --copy-other --log-encoding" ;;
    *) return ;;
  esac

  case "$prev" in
    -o | --output | --backup-dir)
      compopt -o filenames 2>/dev/null
      COMPREPLY=($(compgen -d -- "$cur"))
      return ;;
    --settings)
      compopt -o filenames 2>/dev/null
      _yentax_settings_files "$cur"
      return ;;
    --log)
      compopt -o filenames 2>/dev/null
      COMPREPLY=($(compgen -f -- "$cur"))
      return ;;
    -j | --jobs | --rate | --from | --to | --reduced-rate | --reduced-mark | --reduced-pages)
      return ;;
    -g | --generation)
      return ;;
  esac
  local values
  values="$(_yentax_values "$prev")"
  if [[ -n $values ]]; then
    local -a words
    read -r -a words <<< "$values"
    _yentax_offer "$cur" "${words[@]}"
    return
  fi
  if [[ $cur == -* ]]; then
    _yentax_offer "$cur" $options
  else
    compopt -o filenames 2>/dev/null
    COMPREPLY=($(compgen -f -- "$cur"))
  fi
}

complete -F _yentax yentax
