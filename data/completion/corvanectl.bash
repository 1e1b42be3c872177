# bash completion for corvanectl
# Installed as /usr/share/bash-completion/completions/corvanectl.

_corvanectl()
{
    local cur prev words cword
    _init_completion -s || return

    local commands="scan show get set backup restore stats traps reset restore-defaults wep-keys"
    local device_options="--community-file --community --port --timeout --retries --concurrency --force --loopback-only --help"
    local settings="channel essid rts-threshold fragmentation-threshold preamble authentication basic-rates
        auto-rate-fallback ip-address ip-mask ethernet-address wep-key1 wep-key2 wep-key3 wep-key4 wep-key-id
        wep traps bridge-mode bssid"

    if [[ $cword -eq 1 ]]; then
        COMPREPLY=($(compgen -W "$commands --help --version" -- "$cur"))
        return
    fi
    local command=${words[1]}

    case $prev in
        --community-file|--log)
            _filedir
            return ;;
        --dir)
            _filedir -d
            return ;;
        --community|--port|--timeout|--retries|--concurrency|--watch|--count|--scan-address|--listen)
            return ;;
    esac

    local options
    case $command in
        scan) options="--scan-address $device_options" ;;
        show) options="--json $device_options" ;;
        get) options="$device_options" ;;
        set) options="--dry-run $device_options" ;;
        backup) options="--dir $device_options" ;;
        restore) options="--yes --with-address --dry-run $device_options" ;;
        stats) options="--watch --csv --count $device_options" ;;
        traps) options="--port --listen --log --json --count --help" ;;
        reset|restore-defaults) options="--yes $device_options" ;;
        wep-keys) options="--help" ;;
    esac

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
        return
    fi

    case $command in
        set)
            # FIELD=VALUE: the setting's name, then its choices.
            if [[ $cur == *=* ]]; then
                local field=${cur%%=*} choices=""
                case $field in
                    preamble) choices="short long" ;;
                    authentication) choices="open shared both" ;;
                    basic-rates) choices="1-2-5.5-11 1-2" ;;
                    auto-rate-fallback|wep|traps) choices="on off" ;;
                    bridge-mode) choices="bridge-to-bridge access-point bridge" ;;
                esac
                COMPREPLY=($(compgen -W "$choices" -- "${cur#*=}"))
            else
                COMPREPLY=($(compgen -S = -W "$settings" -- "$cur"))
                compopt -o nospace
            fi ;;
        get)
            COMPREPLY=($(compgen -W "$settings" -- "$cur")) ;;
        restore)
            _filedir json ;;
    esac
}
complete -F _corvanectl corvanectl
