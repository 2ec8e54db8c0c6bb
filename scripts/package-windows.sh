#!/usr/bin/env bash
# Makes dist/vmxdiag-cli-windows-x64.zip: the command-line tool for 64-bit
# Windows as one .exe that needs no DLL beside it, the sample database.ini and
# a short text on its use. Cross-builds build/windows first.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
bash scripts/deps.sh
bash scripts/build.sh build/windows -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

exe=build/windows/vmxdiag-cli.exe
# Only the system's own DLLs: anything else would be missing on the laptop.
dlls=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z')
for dll in $dlls; do
    case $dll in
        kernel32.dll | msvcrt.dll | advapi32.dll | user32.dll) ;;
        *)
            echo "$exe needs $dll, which Windows does not have" >&2
            exit 1
            ;;
    esac
done

stage=build/windows/package/vmxdiag-cli
rm -rf "$stage"
mkdir -p "$stage" dist
x86_64-w64-mingw32-strip -o "$stage/vmxdiag-cli.exe" "$exe"
cp data/database.ini "$stage/database.ini"
# Windows line endings, so that Notepad shows the lines.
sed 's/$/\r/' >"$stage/README.txt" <<'TEXT'
vmxdiag-cli for Windows (64-bit)
================================

Reads the diesel-engine ECU over its diagnostic line: live values, stored
errors, identification and engine hours. No installation: keep
vmxdiag-cli.exe and database.ini in one folder.

1. Connect the serial cable (or USB serial adapter) to the diagnostic line.
   The Device Manager shows its port under "Ports (COM & LPT)", e.g. COM3.
   COM1 to COM8 are found by themselves, and so are the names that begin
   with them (COM12, COM31, ...); COM9 and COM90 to COM99 are not: name them
   with --port.
2. Open a command prompt in the folder: in Explorer, type cmd in the address
   bar of the folder and press Enter.
3. Run:

     vmxdiag-cli ports           the serial ports of this laptop
     vmxdiag-cli probe           on which port the ECU answers
     vmxdiag-cli live            live values, every 220 ms (Ctrl+C stops)
     vmxdiag-cli live --set 2 --format csv > log.csv
     vmxdiag-cli live --format csv-semicolon > log.csv   (for a spreadsheet
                                 set up for the decimal comma)
     vmxdiag-cli errors          stored errors
     vmxdiag-cli clear-errors    clears the ECU's error memory (asks first)
                                 and reads it back
     vmxdiag-cli info            identification, engine hours, VIN
     vmxdiag-cli check           what in database.ini would be misread

   Without --port the tool takes the first port on which the ECU answers;
   --port COM3 names one. "in use by another program" means another
   program (a terminal, another diagnostic tool) holds the port: close it.
   vmxdiag-cli --help and vmxdiag-cli COMMAND --help tell the rest.

A USB adapter passes what it receives on only every so often (its latency
timer, 16 ms by default), which slows every reading down. Where its driver
offers the setting: Device Manager, Ports (COM & LPT), the adapter's port,
Properties, Port Settings, Advanced, Latency Timer (msec): 1.

Texts come in the language that database.ini names (Language=RU or EN under
[Configuration]); --lang en or --lang ru overrides it for one run. The
console shows Russian text in UTF-8; with an old raster font, choose a
TrueType font such as Consolas in the console window's properties.
TEXT
rm -f dist/vmxdiag-cli-windows-x64.zip
(cd build/windows/package && zip -q -r -X "$top/dist/vmxdiag-cli-windows-x64.zip" vmxdiag-cli)
echo "dist/vmxdiag-cli-windows-x64.zip:"
unzip -l dist/vmxdiag-cli-windows-x64.zip | sed -n '4,$p'
