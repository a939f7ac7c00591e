#!/usr/bin/env bash
# Checks, without Windows, what decides whether the exes start on Windows 7
# and later and that Wine does not look at.
#
#   check_exes.sh OBJDUMP EXE... -- C++ COMPILER AND ITS FLAGS
#
# - An exe's manifest names the exe's own processor architecture (x86 for a
#   32-bit exe, amd64 for a 64-bit one); Windows refuses to start it
#   otherwise.
# - Every DLL an exe imports is one that Windows 7 has.
# - Every function it imports is declared by the Windows headers when they
#   are told to target Windows 7 (_WIN32_WINNT=0x0601): the headers declare
#   most functions only for the Windows versions that have them. A few newer
#   ones that they declare for every version are named below. A function
#   newer than Windows 7 has to be looked up at run time (GetProcAddress)
#   with a fallback, as GetDpiForWindow is. msvcrt.dll's functions are the C
#   runtime's own, which every Windows from XP on has, and are not declared
#   under their import names.
set -euo pipefail

objdump=$1
shift
exes=()
while [ $# -gt 0 ] && [ "$1" != -- ]; do exes+=("$1"); shift; done
[ $# -gt 1 ] || { echo "usage: $0 OBJDUMP EXE... -- COMPILER [FLAGS...]" >&2; exit 2; }
shift
compiler=("$@")

# DLLs of Windows 7 (all of them also in every later Windows).
windows7_dlls=(advapi32.dll comctl32.dll comdlg32.dll gdi32.dll kernel32.dll msimg32.dll msvcrt.dll
               ntdll.dll ole32.dll oleacc.dll oleaut32.dll psapi.dll shell32.dll user32.dll uxtheme.dll
               version.dll winmm.dll)

# Functions of Windows 8 and later that the mingw-w64 headers declare for
# every Windows version, so that the declaration check cannot see their age.
newer_than_windows7=(GetSystemTimePreciseAsFileTime CopyFile2 WaitOnAddress WakeByAddressSingle
                     WakeByAddressAll InitializeSynchronizationBarrier EnterSynchronizationBarrier
                     DeleteSynchronizationBarrier GetDisplayAutoRotationPreferences
                     SetDisplayAutoRotationPreferences SetCoalescableTimer)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0

for exe in "${exes[@]}"; do
    name=$(basename "$exe")
    format=$("$objdump" -f "$exe" | sed -n 's/.*file format //p')
    case $format in
        pei-i386) arch=x86 ;;
        pei-x86-64) arch=amd64 ;;
        *) echo "$name: not a 32- or 64-bit x86 Windows exe ($format)"; status=1; continue ;;
    esac
    # The first assemblyIdentity of an application manifest is the exe's own.
    named=$({ grep -aoE '<assemblyIdentity[^>]*>' "$exe" || true; } | head -n 1 |
            sed -n 's/.*processorArchitecture="\([^"]*\)".*/\1/p')
    if [ -n "$named" ] && [ "$named" != "$arch" ]; then
        echo "$name: a $arch exe whose manifest says processorArchitecture=\"$named\""
        status=1
    fi
    echo "$name: $arch, manifest ${named:-(none)}"

    # "<exe> <dll> <function>" for every function imported by name.
    "$objdump" -p "$exe" | awk -v exe="$name" '
        /^[ \t]*DLL Name:/ { dll = tolower($3); next }
        dll != "" && /^\t[ \t]*[0-9a-f]+\t/ { print exe, dll, $NF }' >>"$work/imports"
done
if [ ! -s "$work/imports" ]; then
    echo "no imports read from ${exes[*]}: is $objdump an objdump for Windows exes?" >&2
    exit 1
fi

while read -r exe dll; do
    if [[ " ${windows7_dlls[*]} " != *" $dll "* ]]; then
        echo "$exe imports $dll, which is not known to be in Windows 7"
        status=1
    fi
done < <(awk '{ print $1, $2 }' "$work/imports" | sort -u)

while read -r exe dll f; do
    if [[ " ${newer_than_windows7[*]} " == *" $f "* ]]; then
        echo "$exe imports $dll $f, which Windows 7 does not have"
        status=1
    fi
done <"$work/imports"

# One declaration per line, so that a compiler error's line number names the
# function.
awk '$2 != "msvcrt.dll" { print $3 }' "$work/imports" | sort -u >"$work/functions"
header='#include <windows.h>
#include <commctrl.h>
#include <oleacc.h>
#include <oleauto.h>
#include <shellapi.h>
namespace check {'
header_lines=$(wc -l <<<"$header")
{
    echo "$header"
    n=0
    while read -r f; do
        n=$((n + 1))
        echo "auto* f$n = &::$f;"
    done <"$work/functions"
    echo '}'
} >"$work/check.cpp"
if ! "${compiler[@]}" -fsyntax-only -Wno-unused-variable -D_WIN32_WINNT=0x0601 -DWINVER=0x0601 \
        -x c++ "$work/check.cpp" 2>"$work/errors"; then
    lines=$(grep -oE 'check\.cpp:[0-9]+' "$work/errors" | cut -d: -f2 | sort -nu)
    [ -n "$lines" ] || cat "$work/errors"
    for line in $lines; do
        f=$(sed -n "$((line - header_lines))p" "$work/functions")
        [ -n "$f" ] || { cat "$work/errors"; continue; }
        grep " $f\$" "$work/imports" | while read -r exe dll _; do
            echo "$exe imports $dll $f, which the headers do not declare for Windows 7"
        done
    done
    status=1
fi

if [ $status = 0 ]; then
    echo "$(wc -l <"$work/functions") functions from $(awk '$2 != "msvcrt.dll" { print $2 }' "$work/imports" |
          sort -u | wc -l) DLLs besides msvcrt.dll, all in Windows 7"
fi
exit $status
