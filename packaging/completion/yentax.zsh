#compdef yentax
# zsh completion for yentax

_yentax() {
  local -a common convert_only check_only rerate_only restore_only
  common=(
    '--rate=[tax rate in percent]:rate:'
    '--source-kind=[what the page amounts are]:kind:(before-tax tax-included)'
    '--rounding=[rounding]:mode:(down up-from-2 up-from-3 up-from-4 up-from-5 up-from-6 up-from-7 up-from-8 up-from-9 up half-up)'
    '--place=[the place that decides the rounding]:place:(none 1 2 3 4)'
    '--kind=[what is written]:kind:(append replace breakdown)'
    '--style=[the style of the kind]:style:(amount-only with-text base tax base-and-tax included)'
    '--bracket=[the brackets]:pair:("()" "（）" "[]" "［］" "<>" "＜＞" "｢｣" "「」" "{}" "｛｝" "《》" "≪≫" "〔〕" "『』" "【】" "‘’" "〝〟" none)'
    '--detect=[which numbers are amounts]:mode:(all marked custom)'
    '--min=[amounts at or below are left alone]:yen:(none)'
    '--max=[amounts at or above are left alone]:yen:(none)'
    '--extensions=[page extensions]:list:(htm,html)'
    '--log=[write the conversion log]:log file:_files'
    '--settings=[start from a settings file]:settings file:_files -g "*.(KVT|kvt|INI|ini)(-.)"'
    '(-r --recursive)'{-r,--recursive}'[take subfolders too]'
    '--hidden[take hidden files and folders]'
    '(-L --follow-links)'{-L,--follow-links}'[follow symbolic links]'
    '(-j --jobs)'{-j+,--jobs=}'[pages at once]:number:'
    '(-q --quiet)'{-q,--quiet}'[no progress and no summary]'
    '(-v --verbose)'{-v,--verbose}'[a summary also off a terminal]'
    '--version[print the version]'
    '(-h --help)'{-h,--help}'[print the help]'
  )
  convert_only=(
    '(-o --output)'{-o+,--output=}'[destination folder]:folder:_files -/'
    '--in-place[replace the pages]'
    '(-n --dry-run)'{-n,--dry-run}'[write nothing]'
    '--diff[a unified diff with --dry-run]'
    '--copy-other[copy the other files of the site too]'
    '--log-encoding=[the log encoding]:encoding:(utf-8 cp932)'
  )
  check_only=('--format=[report format]:format:(text json jsonl)')
  restore_only=(
    '(-g --generation)'{-g+,--generation=}'[the backup to restore, as --list numbers it]:number:'
    '(-l --list)'{-l,--list}'[show the backups; write nothing]'
    '(-f --force)'{-f,--force}'[restore pages edited since too]'
    '--backup-dir=[where the backups are]:folder:_files -/'
    '--settings=[take the backup folder from a settings file]:settings file:_files -g "*.(KVT|kvt|INI|ini)(-.)"'
    '--extensions=[page extensions]:list:(htm,html)'
    '(-r --recursive)'{-r,--recursive}'[take subfolders too]'
    '--hidden[take hidden files and folders]'
    '(-L --follow-links)'{-L,--follow-links}'[follow symbolic links]'
    '(-q --quiet)'{-q,--quiet}'[print only what failed]'
    '(-v --verbose)'{-v,--verbose}'[a summary also off a terminal]'
    '--version[print the version]'
    '(-h --help)'{-h,--help}'[print the help]'
  )
  rerate_only=(
    '--from=[the rate the prices show now]:rate:'
    '--to=[the rate they are to show]:rate:'
    '--items=[which items move]:items:(reduced standard all)'
    '--backup-dir=[keep the backups there]:folder:_files -/'
    '--no-backup[keep no backups]'
  )

  if (( CURRENT == 2 )); then
    _alternatives \
      'commands:command:((convert\:"rewrite the yen amounts of pages" check\:"list the amounts a conversion would change" rerate\:"move the prices from one rate to another" restore\:"put pages back from their backups"))' \
      'options:option:(--help --version)' \
      'settings:settings file:_files -g "*.(KVT|kvt|INI|ini)(-.)"'
    return
  fi
  case $words[2] in
    convert) _arguments -s -S $common $convert_only '*:page or folder:_files' ;;
    check) _arguments -s -S $common $check_only '*:page or folder:_files' ;;
    rerate) _arguments -s -S $common $convert_only $rerate_only '*:page or folder:_files' ;;
    restore) _arguments -s -S $restore_only '*:page or folder:_files' ;;
  esac
}

_yentax "$@"
