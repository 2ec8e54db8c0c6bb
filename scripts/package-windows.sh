#!/usr/bin/env bash
# Makes the window and the command-line tool for 64-bit Windows into
#   vmxdiag-<version>-x64.msi          an installer for the user who runs it
#                                      (packaging/windows/vmxdiag.wxs, with wixl)
#   vmxdiag-<version>-windows-x64.zip  the same files to unpack anywhere
# each .exe needing no DLL beside it but the system's, with the sample
# database.ini, a short text on their use and the licence. Cross-builds
# build/windows first.
#
#   scripts/package-windows.sh [FOLDER [VERSION]]
#
# FOLDER is dist/ unless given; VERSION, for a test of upgrades, stands in for
# the project's in the names and the installer (the programs keep theirs).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-$top/dist}")
cd "$top"
bash scripts/deps.sh
bash scripts/build.sh build/windows -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

version=${2:-$(sed -n 's/^project(vmxdiag VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)}
name=vmxdiag-$version-windows-x64
msi=vmxdiag-$version-x64.msi
# Only the system's own DLLs: anything else would be missing on the laptop.
for exe in build/windows/vmxdiag.exe build/windows/vmxdiag-cli.exe; do
    dlls=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z')
    for dll in $dlls; do
        case $dll in
            kernel32.dll | msvcrt.dll | advapi32.dll | user32.dll | comctl32.dll | comdlg32.dll | \
                gdi32.dll | shell32.dll | ole32.dll) ;;
            *)
                echo "$exe needs $dll, which Windows does not have" >&2
                exit 1
                ;;
        esac
    done
done

stage=build/windows/package/$name
rm -rf build/windows/package
mkdir -p "$stage" "$out"
x86_64-w64-mingw32-strip -o "$stage/vmxdiag.exe" build/windows/vmxdiag.exe
x86_64-w64-mingw32-strip -o "$stage/vmxdiag-cli.exe" build/windows/vmxdiag-cli.exe
cp data/database.ini "$stage/database.ini"
sed 's/$/\r/' packaging/copyright >"$stage/LICENSE.txt"
# Windows line endings, so that Notepad shows the lines.
title="vmxdiag $version for Windows (64-bit)"
sed 's/$/\r/' >"$stage/README.txt" <<TEXT
$title
$(printf '%*s' ${#title} '' | tr ' ' '=')

Reads the diesel-engine ECU over its diagnostic line: live values, stored
errors, identification and engine hours.

  vmxdiag.exe       the window
  vmxdiag-cli.exe   the same from a command prompt, for logs and scripts
  database.ini      the definitions of the parameters and errors (a sample)

The installer or the zip
------------------------

$msi installs the tool for you alone, without administrator
rights, into %LOCALAPPDATA%\Programs\vmxdiag: a Start-menu folder
"VMX Engine Diagnostics", a working folder of your own, and an entry under
Settings, Apps (on Windows 7: Control Panel, Programs and Features) that
removes it again. A newer installer replaces an older version in place.
Take it for a PC that you use every day.

$name.zip needs no installation: unpack it into a folder
that you may write in (not under Program Files, where the language cannot
be saved), or onto a USB stick, keep its files together and start
vmxdiag.exe there. Take it to carry the tool from PC to PC, or where nothing
may be installed. Deleting the folder removes it.

Windows may warn about an unsigned program
------------------------------------------

The installer and the programs are not signed, so Windows may stop the
first start of each with "Windows protected your PC": click "More info",
then "Run anyway". A zip or installer downloaded from the internet can be
let through once before that: right-click it, Properties, tick "Unblock" at
the bottom of the General tab, OK.

Installed: the Start menu and the working folder
------------------------------------------------

  VMX Engine Diagnostics   the window
  Working folder           opens the working folder in Explorer
  VMX command prompt       a command prompt in the working folder, in which
                           vmxdiag-cli works

The window of the Start menu works in %LOCALAPPDATA%\vmxdiag (that is
C:\Users\YOUR NAME\AppData\Local\vmxdiag). Its first start puts a copy of
the sample database.ini there, in the language of Windows (Russian for a
Russian Windows, English otherwise). Put the real database.ini of your ECU
there: open "Working folder" and copy the file into it, replacing the
sample. The window writes the chosen language into that file, and its logs
go there too. Removing the program leaves the working folder and your files
in it.

From the zip, the window and vmxdiag-cli work in the folder they are
started in: vmxdiag.exe double-clicked reads the database.ini beside it.

The definition file and the programs
------------------------------------

database.ini as it comes is a SAMPLE, made up for a demonstration. Replace
it with the real definition file of your ECU (a text file in the Windows
Cyrillic code page, cp1251) before you read an engine. To see whether the
program reads it as meant, open "VMX command prompt" (from the zip: a
command prompt in its folder; type cmd in the address bar of the folder in
Explorer and press Enter) and run

  vmxdiag-cli check

which lists, line by line, what it would misread or not read as meant.

1. Connect the serial cable (or USB serial adapter) to the diagnostic line.
   The Device Manager shows its port under "Ports (COM & LPT)", e.g. COM3.
2. Start the window. It finds the port on which the ECU answers (COM1 to
   COM8 and the names that begin with them, such as COM12); when none does,
   it says "No connecting." and another port can be picked in the list.
3. F5 starts and stops reading, every 220 ms. F1 and F2: the two parameter
   pages; F3: the stored errors; F4: identification and engine hours;
   F8 clears the ECU's error memory. The language button switches between
   Russian and English; the choice is written into database.ini at the end.
4. F6 on a parameter page logs it: every good read while reading becomes a
   row of logs\YYYY-MM-DD_HHMMSS_setN.csv in the working folder, for the
   spreadsheet of your regional settings (with a decimal comma: ';' between
   the fields and ',' before the decimals; otherwise ',' and a point). The
   status bar counts the rows; F6 again, another page or closing the window
   ends the log. F7 opens the trend window: tick up to four rows of the page
   to plot them over the last minute or five.

To look at a fault later, or play it again on the bench, record every byte
on the line: start the window from the command prompt as

  vmxdiag --record engine.rec

(add --user-folder to work in the working folder of the Start menu;
vmxdiag-cli live, errors and info take --record FILE too), and read the
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
rm -f "$out/$name.zip"
(cd build/windows/package && zip -q -r -X "$out/$name.zip" "$name")

# The installer, of the same files. wixl takes an attribute it does not know
# for a warning and leaves it out: any word from it fails the build.
rm -f "$out/$msi"
said=$(wixl -a x64 -D Version="$version" -D Stage="$stage" \
    -D Icon=build/windows/resources/vmxdiag.ico -o "$out/$msi" \
    packaging/windows/vmxdiag.wxs 2>&1) || {
    echo "$said" >&2
    exit 1
}
if [ -n "$said" ]; then
    echo "$said" >&2
    rm -f "$out/$msi"
    exit 1
fi
shown=$(msiinfo export "$out/$msi" Property | sed -n 's/^ProductVersion\t//p' | tr -d '\r')
[ "$shown" = "$version" ] || {
    echo "$out/$msi says version '$shown', not $version" >&2
    exit 1
}

echo "$out/$name.zip:"
unzip -l "$out/$name.zip" | sed -n '4,$p'
echo "$out/$msi: version $shown, $(stat -c %s "$out/$msi") bytes"
