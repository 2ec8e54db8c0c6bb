# bash completion for vmxdiag-cli: its commands, each command's options and the
# values they take. The port names are the entries of dosdevices/ in the current
# folder, or COM1 to COM8 without that folder, as the tool resolves them; no
# device is opened to find them.

_vmxdiag_cli_ports() {
    local cur=$1 entry
    local names=()
    if [[ $cur == /* ]]; then
        mapfile -t COMPREPLY < <(compgen -f -- "$cur")
        compopt -o filenames 2>/dev/null
        return
    fi
    if [[ -d dosdevices ]]; then
        for entry in dosdevices/*; do
            [[ -L $entry ]] && names+=("${entry#dosdevices/}")
        done
    else
        names=(COM1 COM2 COM3 COM4 COM5 COM6 COM7 COM8)
    fi
    mapfile -t COMPREPLY < <(compgen -W "${names[*]}" -- "$cur")
}

_vmxdiag_cli_commands="ports probe info live errors clear-errors report definitions eval check replay help"

_vmxdiag_cli_files() {
    mapfile -t COMPREPLY < <(compgen -f -- "$1")
    compopt -o filenames 2>/dev/null
}

_vmxdiag_cli() {
    COMPREPLY=()
    local cur=${COMP_WORDS[COMP_CWORD]} index=$((COMP_CWORD - 1))
    # --option=value: bash splits at the '=', so the option is the word before it.
    if [[ $cur == = ]]; then
        cur=""
        index=$COMP_CWORD
    fi
    [[ ${COMP_WORDS[index]:-} == = ]] && index=$((index - 1))
    local prev=${COMP_WORDS[index]:-}

    # The command is the first word after the program that is no option; the
    # program itself takes none with a value.
    local command="" i
    for ((i = 1; i < COMP_CWORD; i++)); do
        if [[ ${COMP_WORDS[i]} != -* ]]; then
            command=${COMP_WORDS[i]}
            break
        fi
    done

    if [[ -n $command ]]; then
        case $prev in
            --port) _vmxdiag_cli_ports "$cur"; return ;;
            --lang | --language) mapfile -t COMPREPLY < <(compgen -W "ru en" -- "$cur"); return ;;
            --format)
                local formats="table csv csv-semicolon"
                [[ $command == report ]] && formats="html json"
                mapfile -t COMPREPLY < <(compgen -W "$formats" -- "$cur")
                return
                ;;
            --set) mapfile -t COMPREPLY < <(compgen -W "1 2" -- "$cur"); return ;;
            --record | --output) _vmxdiag_cli_files "$cur"; return ;;
            --count | --interval) return ;;
        esac
    fi

    local options=""
    case $command in
        "")
            mapfile -t COMPREPLY < <(compgen -W "$_vmxdiag_cli_commands --help --version" -- "$cur")
            return
            ;;
        ports) ;;
        help) ;;
        probe) options="--port" ;;
        clear-errors) options="--port --lang --yes" ;;
        info | errors) options="--port --lang --record --force" ;;
        live) options="--set --count --interval --format --port --lang --record --force" ;;
        report) options="--port --set --lang --format --output --force" ;;
        definitions) options="--lang" ;;
        eval) options="--explain" ;;
        check) options="--werror" ;;
        replay) options="--format --lang" ;;
        *) return ;;
    esac
    if [[ $cur == -* ]]; then
        mapfile -t COMPREPLY < <(compgen -W "$options --help" -- "$cur")
    elif [[ $command == check || $command == replay ]]; then
        _vmxdiag_cli_files "$cur"
    elif [[ $command == help ]]; then
        mapfile -t COMPREPLY < <(compgen -W "$_vmxdiag_cli_commands" -- "$cur")
    fi
}

complete -F _vmxdiag_cli vmxdiag-cli
