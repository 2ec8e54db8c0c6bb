#!/usr/bin/env bash
# Makes dist/vmxdiag_<version>_<arch>.deb: the window, the command-line tool and
# the simulator, with the sample database.ini, the desktop entry, manual pages
# and bash completion. Packs the release build (build/release, the tree of
# run.sh and test.sh; built first when anything is out of date) with CPack,
# and checks the package as the test suite does: unpacked, its programs run,
# lintian, desktop-file-validate and appstreamcli.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
bash scripts/deps.sh
bash scripts/build.sh build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

# Only this run's package is left there to copy.
rm -rf build/release/package
ctest --test-dir build/release -R '^package\.' --output-on-failure
mkdir -p dist
deb=$(echo build/release/package/vmxdiag_*.deb)
cp "$deb" dist/
echo "dist/$(basename "$deb")"
dpkg-deb -f "$deb" Version Depends
