# fish completion for yentax

set -l commands convert check rerate restore
complete -c yentax -f
complete -c yentax -n "not __fish_seen_subcommand_from $commands" -a convert -d 'rewrite the yen amounts of pages'
complete -c yentax -n "not __fish_seen_subcommand_from $commands" -a check -d 'list the amounts a conversion would change'
complete -c yentax -n "not __fish_seen_subcommand_from $commands" -a restore -d 'put pages back from their backups'
complete -c yentax -n "not __fish_seen_subcommand_from $commands" -a rerate -d 'move the prices from one rate to another'
complete -c yentax -n "not __fish_seen_subcommand_from $commands" -a '(__fish_complete_suffix .KVT)' -d 'settings file'
complete -c yentax -n "not __fish_seen_subcommand_from $commands" -l help -d 'print the help'
complete -c yentax -n "not __fish_seen_subcommand_from $commands" -l version -d 'print the version'

set -l both "__fish_seen_subcommand_from convert check"
complete -c yentax -n $both -F
complete -c yentax -n $both -l rate -x -d 'tax rate in percent'
complete -c yentax -n $both -l source-kind -x -a 'before-tax tax-included'
complete -c yentax -n $both -l rounding -x -a 'down up-from-2 up-from-3 up-from-4 up-from-5 up-from-6 up-from-7 up-from-8 up-from-9 up half-up'
complete -c yentax -n $both -l place -x -a 'none 1 2 3 4'
complete -c yentax -n $both -l kind -x -a 'append replace breakdown'
complete -c yentax -n $both -l style -x -a 'amount-only with-text base tax base-and-tax included'
complete -c yentax -n $both -l bracket -x -a "'()' '（）' '[]' '［］' '<>' '＜＞' '｢｣' '「」' '{}' '｛｝' '《》' '≪≫' '〔〕' '『』' '【】' '‘’' '〝〟' none"
complete -c yentax -n $both -l detect -x -a 'all marked custom'
complete -c yentax -n $both -l min -x -a none
complete -c yentax -n $both -l max -x -a none
complete -c yentax -n $both -l extensions -x -a htm,html
complete -c yentax -n $both -l log -r -F -d 'write the conversion log'
complete -c yentax -n $both -l settings -r -k -a '(__fish_complete_suffix .KVT)' -d 'settings file'
complete -c yentax -n $both -s r -l recursive -d 'take subfolders too'
complete -c yentax -n $both -l hidden -d 'take hidden files and folders'
complete -c yentax -n $both -s L -l follow-links -d 'follow symbolic links'
complete -c yentax -n $both -s j -l jobs -x -d 'pages at once'
complete -c yentax -n $both -s q -l quiet -d 'no progress and no summary'
complete -c yentax -n $both -s v -l verbose -d 'a summary also off a terminal'
complete -c yentax -n $both -l version -d 'print the version'
complete -c yentax -n $both -s h -l help -d 'print the help'
complete -c yentax -n '__fish_seen_subcommand_from convert rerate' -s o -l output -x -a '(__fish_complete_directories)'
complete -c yentax -n '__fish_seen_subcommand_from convert rerate' -l in-place -d 'replace the pages'
complete -c yentax -n '__fish_seen_subcommand_from convert rerate' -s n -l dry-run -d 'write nothing'
complete -c yentax -n '__fish_seen_subcommand_from convert rerate' -l diff -d 'a unified diff with --dry-run'
complete -c yentax -n '__fish_seen_subcommand_from convert rerate' -l copy-other -d 'copy the other files too'
complete -c yentax -n '__fish_seen_subcommand_from convert rerate' -l log-encoding -x -a 'utf-8 cp932'
complete -c yentax -n '__fish_seen_subcommand_from check' -l format -x -a 'text json jsonl'
set -l restore '__fish_seen_subcommand_from restore'
complete -c yentax -n $restore -F
complete -c yentax -n $restore -s g -l generation -x -d 'the backup to restore, as --list numbers it'
complete -c yentax -n $restore -s l -l list -d 'show the backups; write nothing'
complete -c yentax -n $restore -s f -l force -d 'restore pages edited since too'
complete -c yentax -n $restore -l backup-dir -x -a '(__fish_complete_directories)'
complete -c yentax -n $restore -l settings -r -k -a '(__fish_complete_suffix .KVT)' -d 'settings file'
complete -c yentax -n $restore -l extensions -x -a htm,html
complete -c yentax -n $restore -s r -l recursive -d 'take subfolders too'
complete -c yentax -n $restore -l hidden -d 'take hidden files and folders'
complete -c yentax -n $restore -s L -l follow-links -d 'follow symbolic links'
complete -c yentax -n $restore -s q -l quiet -d 'print only what failed'
complete -c yentax -n $restore -s v -l verbose -d 'a summary also off a terminal'
complete -c yentax -n $restore -l version -d 'print the version'
complete -c yentax -n $restore -s h -l help -d 'print the help'
complete -c yentax -n '__fish_seen_subcommand_from rerate' -l from -x -d 'the rate the prices show now'
complete -c yentax -n '__fish_seen_subcommand_from rerate' -l to -x -d 'the rate they are to show'
complete -c yentax -n '__fish_seen_subcommand_from rerate' -l items -x -a 'reduced standard all'
complete -c yentax -n '__fish_seen_subcommand_from rerate' -l backup-dir -x -a '(__fish_complete_directories)'
complete -c yentax -n '__fish_seen_subcommand_from rerate' -l no-backup -d 'keep no backups'
