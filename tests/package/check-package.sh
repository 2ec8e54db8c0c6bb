#!/usr/bin/env bash
# Checks the Debian package as a user's machine meets it: unpacked into a
# scratch root (dpkg-deb -x) and its programs run from there.
#
#   tests/package/check-package.sh DEB SOURCE_DIR contents
#       the programs and their versions, the sample, the desktop entry and its
#       launcher, the icons, the manual pages, the completion, the changelog
#   tests/package/check-package.sh DEB SOURCE_DIR lint
#       lintian (no error), desktop-file-validate, appstreamcli validate
#
# Every failure is reported, then the script exits with 1.
set -euo pipefail
deb=$(realpath "$1")
source_dir=$(realpath "$2")
part=$3

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# An unexpected failure ends the run: say where.
trap 'echo "FAIL: stopped at line $LINENO" >&2' ERR
root=$scratch/root
dpkg-deb -x "$deb" "$root"
usr=$root/usr
version=$(dpkg-deb -f "$deb" Version)

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
# A missing tool would pass a check that it cannot make.
for tool in lintian desktop-file-validate appstreamcli man readelf file dpkg-parsechangelog; do
    command -v "$tool" >/dev/null || fail "$tool is missing (scripts/deps.sh installs it)"
done
((failures == 0)) || exit 1
# Sorted lines of a word list, to compare sets.
lines() { tr ' ' '\n' | sed '/^$/d' | sort -u; }

# The long options that a --help text lists, and the subcommands it lists.
help_options() { grep -oE '^ +(-[a-z], ?)?--[a-z-]+' | grep -oE -- '--[a-z-]+' | sort -u; }
help_commands() { sed -n '/^Subcommands:/,/^$/p' | sed -n 's/^  \([a-z-]*\) .*/\1/p' | sort; }

entry=$usr/share/applications/vmxdiag.desktop
desktop_value() { sed -n "s/^$1=//p" "$entry"; }

check_programs() {
    local program out
    for program in vmxdiag vmxdiag-cli vmx-ecusim; do
        [[ -x $usr/bin/$program ]] || { fail "usr/bin/$program is missing"; continue; }
        # A platform that needs a display and no display: the window answers
        # --version and --help before Qt would look for one.
        out=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb \
            timeout 60 "$usr/bin/$program" --version 2>&1) || fail "$program --version failed: $out"
        [[ $out == "$program $version" ]] ||
            fail "$program --version says '$out', the package is $version"
        out=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb \
            timeout 60 "$usr/bin/$program" --help 2>&1) || fail "$program --help failed: $out"
        [[ $out == *--version* ]] || fail "$program --help without a display says '$out'"
        if readelf -S --wide "$usr/bin/$program" | grep -qE ' \.(symtab|debug_info) '; then
            fail "$program is not stripped"
        fi
    done
    # Computed from the programs' libraries, not written by hand.
    local depends
    depends=$(dpkg-deb -f "$deb" Depends)
    [[ $depends == *libqt6widgets6* && $depends == *libc6* && $depends == *libstdc++6* ]] ||
        fail "Depends lacks the programs' libraries: $depends"
    local recommends
    recommends=$(dpkg-deb -f "$deb" Recommends)
    [[ $recommends == *fonts-liberation* && $recommends == *bash-completion* ]] ||
        fail "Recommends lacks the window's fonts or the completion: $recommends"
    cmp -s "$usr/share/vmxdiag/database.ini" "$source_dir/data/database.ini" ||
        fail "usr/share/vmxdiag/database.ini is not the sample"
}

check_desktop_entry() {
    local exec icon png
    exec=$(desktop_value Exec)
    [[ $exec == /* && -x $root$exec ]] || fail "the entry's Exec '$exec' is not a program of the package"
    icon=$(desktop_value Icon)
    [[ -f $usr/share/icons/hicolor/scalable/apps/$icon.svg ]] ||
        fail "no scalable icon '$icon' in the hicolor theme"
    png=$usr/share/icons/hicolor/48x48/apps/$icon.png
    [[ $(file -b "$png" 2>&1) == "PNG image data, 48 x 48,"* ]] || fail "no 48 px icon '$icon'"
}

# The launcher, started as the entry starts it, with a home folder whose name
# has a space in it.
check_launcher() {
    local launcher home folder out
    launcher=$root$(desktop_value Exec)
    home="$scratch/the home"
    folder="$home/.local/share/vmxdiag"
    mkdir -p "$home"
    run_launcher() { env -i HOME="$home" PATH=/usr/bin:/bin "$@" timeout 60 "$launcher" "${args[@]}"; }

    args=(--version)
    out=$(run_launcher 2>&1) || fail "the launcher failed: $out"
    [[ $out == "vmxdiag $version" ]] || fail "the launcher did not start vmxdiag: $out"
    # The sample as it is, but for its language: no locale is English.
    cmp -s <(grep -av '^Language=' "$folder/database.ini") \
        <(grep -av '^Language=' "$usr/share/vmxdiag/database.ini") ||
        fail "the launcher did not put the sample into $folder"
    [[ $(grep -a '^Language=' "$folder/database.ini") == $'Language=EN\r' ]] ||
        fail "without a locale the sample's copy is not in English"

    # From here the window is a stand-in that tells where it was started.
    # shellcheck disable=SC2016 # the stand-in expands them
    printf '#!/bin/sh\necho "$PWD|$*"\n' >"$usr/bin/vmxdiag"
    echo '; the user own line' >>"$folder/database.ini"
    args=(--record "a b.rec")
    out=$(run_launcher)
    [[ $out == "$folder|--record a b.rec" ]] || fail "not started in $folder with its arguments: $out"
    grep -q 'the user own line' "$folder/database.ini" ||
        fail "the launcher replaced the user's database.ini"

    # The copy's language is the locale's: the first of LC_ALL, LC_MESSAGES
    # and LANG that is set (not empty); ru... is Russian, anything else English.
    local n=0 locale expected language
    args=()
    while read -r expected locale; do
        n=$((n + 1))
        # shellcheck disable=SC2086 # the locale variables, one word each
        run_launcher XDG_DATA_HOME="$scratch/lang$n" $locale >/dev/null
        language=$(grep -a '^Language=' "$scratch/lang$n/vmxdiag/database.ini" | tr -d '\r')
        [[ $language == "Language=$expected" ]] || fail "with $locale the copy has $language"
    done <<'CASES'
RU LANG=ru_RU.UTF-8
EN LANG=de_DE.UTF-8
EN LC_MESSAGES=en_GB.UTF-8 LANG=ru_RU.UTF-8
RU LC_ALL=ru_UA.UTF-8 LC_MESSAGES=C LANG=en_US.UTF-8
RU LC_ALL= LC_MESSAGES= LANG=ru_RU.KOI8-R
CASES

    out=$(run_launcher XDG_DATA_HOME="$scratch/data")
    [[ $out == "$scratch/data/vmxdiag|" && -f $scratch/data/vmxdiag/database.ini ]] ||
        fail "XDG_DATA_HOME is not followed: $out"
    # A relative XDG_DATA_HOME is invalid; the default is taken.
    out=$(cd "$scratch" && run_launcher XDG_DATA_HOME=data)
    [[ $out == "$folder|" ]] || fail "a relative XDG_DATA_HOME was taken: $out"
}

manual_text() { zcat "$usr/share/man/man1/$1.1.gz" | LC_ALL=C.UTF-8 MANWIDTH=200 man -E ascii -l - 2>/dev/null; }

check_manual_pages() {
    local program page warnings option help
    for program in vmxdiag vmxdiag-cli vmx-ecusim; do
        page=$usr/share/man/man1/$program.1.gz
        [[ -f $page ]] || { fail "no manual page for $program"; continue; }
        warnings=$(zcat "$page" | LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l - 2>&1 >/dev/null)
        [[ -z $warnings ]] || fail "$program.1 renders with warnings: $warnings"
        [[ $(manual_text "$program" | tail -n 1) == "vmxdiag $version "* ]] ||
            fail "$program.1 is not of version $version"
        help=$(QT_QPA_PLATFORM=offscreen timeout 60 "$usr/bin/$program" --help 2>/dev/null)
        for option in $(help_options <<<"$help"); do
            grep -q -- "$option\b" <(manual_text "$program") || fail "$program.1 does not tell $option"
        done
    done
    local command text
    text=$(manual_text vmxdiag-cli)
    for command in $("$usr/bin/vmxdiag-cli" --help | help_commands); do
        grep -q "^ *$command\b" <<<"$text" || fail "vmxdiag-cli.1 does not tell the command $command"
        for option in $("$usr/bin/vmxdiag-cli" "$command" --help | help_options); do
            grep -q -- "$option\b" <<<"$text" || fail "vmxdiag-cli.1 does not tell $command $option"
        done
    done
}

# The words the completion offers for a command line whose last word is the one
# being completed, sorted, one a line. Run as bash runs it, in the current folder.
complete_words() {
    (
        set +e
        # shellcheck source=/dev/null
        source "$usr/share/bash-completion/completions/vmxdiag-cli"
        COMP_WORDS=(vmxdiag-cli "$@")
        COMP_CWORD=$#
        _vmxdiag_cli
        printf '%s\n' "${COMPREPLY[@]}"
    ) | sed '/^$/d' | sort
}

check_completion() {
    local cli=$usr/bin/vmxdiag-cli command help option values
    [[ $(complete_words '') == "$( ("$cli" --help | help_commands; "$cli" --help | help_options) | sort)" ]] ||
        fail "completion of the commands differs from --help: $(complete_words '' | lines)"
    for command in $("$cli" --help | help_commands); do
        help=$("$cli" "$command" --help)
        [[ $(complete_words "$command" -) == "$(help_options <<<"$help")" ]] ||
            fail "completion of $command's options differs from its --help: $(complete_words "$command" - | xargs)"
        # Options with a fixed set of values, such as --format TEXT:{table,csv}.
        while read -r option values; do
            [[ $(complete_words "$command" "$option" '') == "$(tr ',' ' ' <<<"$values" | lines)" ]] ||
                fail "completion of $command $option differs from {$values}"
        done < <(sed -n 's/^ *\(--[a-z-]*\) [A-Z]*:{\([a-z,-]*\)}.*/\1 \2/p' <<<"$help")
    done

    # Port names: COM1 to COM8 without dosdevices/, its links with it. A link to a
    # FIFO hangs whoever opens it: completion must only read the names.
    local folder=$scratch/ports
    mkdir -p "$folder"
    [[ $(cd "$folder" && complete_words probe --port '' | xargs) == "COM1 COM2 COM3 COM4 COM5 COM6 COM7 COM8" ]] ||
        fail "completion of --port without dosdevices/"
    mkdir -p "$folder/dosdevices"
    mkfifo "$folder/fifo"
    ln -s ../fifo "$folder/dosdevices/COM3"
    ln -s /dev/null "$folder/dosdevices/COM12"
    touch "$folder/dosdevices/notes.txt"
    export -f complete_words
    export usr
    out=$(cd "$folder" && timeout 20 bash -c "complete_words live --port ''" | xargs)
    [[ $out == "COM12 COM3" ]] || fail "completion of --port with dosdevices/ gave '$out'"
    out=$(cd "$folder" && complete_words errors --port = CO | xargs)
    [[ $out == "COM12 COM3" ]] || fail "completion of --port=CO gave '$out'"
}

check_history() {
    local changelog=$scratch/changelog
    zcat "$usr/share/doc/vmxdiag/changelog.gz" >"$changelog"
    [[ $(dpkg-parsechangelog -l "$changelog" -S Version) == "$version" ]] ||
        fail "the changelog's newest entry is not version $version"
}

check_lint() {
    local report status=0 metainfo
    # Tags of every kind are shown; lintian fails on errors only (and when it
    # cannot run).
    report=$(lintian --display-info --pedantic "$deb" 2>&1) || status=$?
    grep -v 'root privileges' <<<"$report" || true
    ((status == 0)) || fail "lintian reports errors (exit status $status)"
    desktop-file-validate "$entry" || fail "desktop-file-validate"
    for metainfo in "$usr"/share/metainfo/*.metainfo.xml; do
        appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate $metainfo"
        grep -q "<launchable type=\"desktop-id\">$(basename "$entry")</launchable>" "$metainfo" ||
            fail "the metainfo does not launch $(basename "$entry")"
        grep -q "<release version=\"$version\"" "$metainfo" ||
            fail "the metainfo has no release $version"
    done
}

case $part in
    contents)
        check_programs
        check_desktop_entry
        check_manual_pages
        check_completion
        check_history
        # Last: it puts a stand-in in the place of the window.
        check_launcher
        ;;
    lint) check_lint ;;
    *)
        echo "unknown part: $part" >&2
        exit 2
        ;;
esac
if ((failures > 0)); then
    echo "$failures failed check(s) of $deb" >&2
    exit 1
fi
echo "$deb: $part checked"
