#!/usr/bin/env bash
# Installs the Debian packages that the build, the tests and the demo need, when any is missing.
# Safe to run again: it does nothing once everything is there.
set -euo pipefail

packages=(
    cmake ninja-build g++ clang libclang-rt-14-dev
    libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev
    qt6-base-dev
    # The window without a display (run.sh, screenshots): a virtual X server,
    # the fonts the window names, a screen grabber and a key presser.
    xvfb xauth fonts-liberation imagemagick xdotool
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
