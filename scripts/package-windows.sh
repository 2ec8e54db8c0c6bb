#!/usr/bin/env bash
# Makes dist/vmxdiag-<version>-windows-x64.zip: the window and the
# command-line tool for 64-bit Windows, each one .exe that needs no DLL beside
# it but the system's, the sample database.ini and a short text on their use.
# Cross-builds build/windows first.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
bash scripts/deps.sh
bash scripts/build.sh build/windows -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

version=$(sed -n 's/^project(vmxdiag VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
name=vmxdiag-$version-windows-x64
# Only the system's own DLLs: anything else would be missing on the laptop.
for exe in build/windows/vmxdiag.exe build/windows/vmxdiag-cli.exe; do
    dlls=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z')
    for dll in $dlls; do
        case $dll in
            kernel32.dll | msvcrt.dll | advapi32.dll | user32.dll | comctl32.dll | gdi32.dll | \
                shell32.dll | ole32.dll) ;;
            *)
                echo "$exe needs $dll, which Windows does not have" >&2
                exit 1
                ;;
        esac
    done
done

stage=build/windows/package/$name
rm -rf build/windows/package
mkdir -p "$stage" dist
x86_64-w64-mingw32-strip -o "$stage/vmxdiag.exe" build/windows/vmxdiag.exe
x86_64-w64-mingw32-strip -o "$stage/vmxdiag-cli.exe" build/windows/vmxdiag-cli.exe
cp data/database.ini "$stage/database.ini"
# Windows line endings, so that Notepad shows the lines.
title="vmxdiag $version for Windows (64-bit)"
sed 's/$/\r/' >"$stage/README.txt" <<TEXT
$title
$(printf '%*s' ${#title} '' | tr ' ' '=')

Reads the diesel-engine ECU over its diagnostic line: live values, stored
errors, identification and engine hours. No installation: keep the files of
this folder together.

  vmxdiag.exe       the window: double-click it
  vmxdiag-cli.exe   the same from a command prompt, for logs and scripts
  database.ini      the definitions of the parameters and errors

database.ini here is a SAMPLE, made up for a demonstration. Replace it with
the real definition file of your ECU (a text file in the Windows Cyrillic
code page, cp1251) before you read an engine. To see whether the program
reads it as meant, open a command prompt in this folder (type cmd in the
address bar of the folder in Explorer and press Enter) and run

  vmxdiag-cli check

which lists, line by line, what it would misread or not read as meant.

1. Connect the serial cable (or USB serial adapter) to the diagnostic line.
   The Device Manager shows its port under "Ports (COM & LPT)", e.g. COM3.
2. Start vmxdiag.exe. It finds the port on which the ECU answers (COM1 to
   COM8 and the names that begin with them, such as COM12); when none does,
   it says "No connecting." and another port can be picked in the list.
3. F5 starts and stops reading, every 220 ms. F1 and F2: the two parameter
   pages; F3: the stored errors; F4: identification and engine hours;
   F8 clears the ECU's error memory. The language button switches between
   Russian and English; the choice is written into database.ini at the end.
4. F6 on a parameter page logs it: every good read while reading becomes a
   row of logs\YYYY-MM-DD_HHMMSS_setN.csv in this folder, for the
   spreadsheet of your regional settings (with a decimal comma: ';' between
   the fields and ',' before the decimals; otherwise ',' and a point). The
   status bar counts the rows; F6 again, another page or closing the window
   ends the log. F7 opens the trend window: tick up to four rows of the page
   to plot them over the last minute or five.

To look at a fault later, or play it again on the bench, record every byte
on the line: start the window from a command prompt in this folder as

  vmxdiag --record engine.rec

(vmxdiag-cli live, errors and info take --record FILE too), and read the
file with

  vmxdiag-cli replay engine.rec

FILE must be a new file; --force replaces one that is there.

From a command prompt:

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
   program (the window, a terminal, another diagnostic tool) holds the
   port: close it. vmxdiag-cli --help and vmxdiag-cli COMMAND --help tell
   the rest.

A USB adapter passes what it receives on only every so often (its latency
timer, 16 ms by default), which slows every reading down. Where its driver
offers the setting: Device Manager, Ports (COM & LPT), the adapter's port,
Properties, Port Settings, Advanced, Latency Timer (msec): 1.

Texts come in the language that database.ini names (Language=RU or EN under
[Configuration]); vmxdiag-cli takes --lang en or --lang ru for one run. The
console shows Russian text in UTF-8; with an old raster font, choose a
TrueType font such as Consolas in the console window's properties.
TEXT
rm -f "dist/$name.zip"
(cd build/windows/package && zip -q -r -X "$top/dist/$name.zip" "$name")
echo "dist/$name.zip:"
unzip -l "dist/$name.zip" | sed -n '4,$p'
