#!/usr/bin/env bash
# Installs the Debian packages that the build, the tests and the demo need, when any is missing,
# and the Russian locale (a decimal comma) that the tests run under. Safe to run again: it does
# nothing once everything is there.
set -euo pipefail

packages=(
    cmake ninja-build g++ clang libclang-rt-14-dev
    libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev nlohmann-json3-dev
    # The report's HTML is read back by a strict HTML5 parser in the tests.
    python3-html5lib
    qt6-base-dev locales
    # The window without a display (run.sh, screenshots): a virtual X server,
    # the fonts the window names, a screen grabber and a key presser.
    xvfb xauth fonts-liberation imagemagick xdotool
    # The Windows build: cross compiler, googletest sources for it, Wine to run
    # it, zip for the package, wixl and msiinfo for the installer, and
    # rsvg-convert for the icon drawn from its SVG.
    g++-mingw-w64-x86-64-posix googletest wine64 zip wixl msitools librsvg2-bin
    # The Debian package (CPack: dpkg-shlibdeps, file) and its checks: lintian,
    # the desktop entry's and the metainfo's validators, the manual pages.
    dpkg-dev file lintian desktop-file-utils appstream man-db
)
locale=ru_RU.UTF-8

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi

# Says what to do where this script cannot install by itself (no root, no
# sudo), and stops.
as_root() {
    if [ -n "$sudo" ] && ! command -v sudo >/dev/null 2>&1; then
        echo "This needs root, and there is no sudo here. As root, run:" >&2
        printf '    %s\n' "$@" >&2
        echo "(or install sudo and add your user to the group sudo), then run this again." >&2
        exit 1
    fi
}

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
if [ ${#missing[@]} -gt 0 ]; then
    as_root "apt-get update" "apt-get install --no-install-recommends ${missing[*]}"
    echo "Installing missing packages: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# locale -a lists it as ru_RU.utf8.
available=$(locale -a 2>/dev/null || true)
if ! grep -qix 'ru_RU\.utf-\?8' <<<"$available"; then
    as_root "localedef -i ru_RU -c -f UTF-8 -A /usr/share/locale/locale.alias $locale"
    echo "Generating the locale $locale"
    $sudo localedef -i ru_RU -c -f UTF-8 -A /usr/share/locale/locale.alias "$locale"
fi
