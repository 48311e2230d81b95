#!/usr/bin/env bash
# The Windows zip as a player unpacks it: one folder swayfire-<version>/ with the two programs, a
# windowed swayfire.exe (no console opens beside it), the DLLs they need and nothing else, the
# game's files, opt.ini, the font, the help and the licences. What each program and DLL imports is
# read with objdump: every DLL is either shipped in the folder or one of Windows' own, and every
# shipped DLL is needed by something.
#   zip.sh WINDOWS_BUILD_DIR NATIVE_BUILD_DIR
set -u
win_build=$1
[ -f "$win_build/CMakeCache.txt" ] || { echo "zip: skipped: no Windows build (make windows)"; exit 77; }
dist=$(sed -n 's/^SWAYFIRE_DIST_DIR:[A-Z]*=//p' "$win_build/CMakeCache.txt")
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' "$win_build/CMakeCache.txt")
zip=$dist/swayfire-$version-win64.zip
[ -f "$zip" ] || { echo "zip: skipped: no $zip (make windows)"; exit 77; }
objdump=x86_64-w64-mingw32-objdump
for tool in unzip $objdump; do
  command -v $tool >/dev/null || { echo "zip: $tool missing (scripts/install-deps)"; exit 1; }
done

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
unzip -q "$zip" -d "$work"

tops=$(ls -A "$work")
[ "$tops" = "swayfire-$version" ] || fail "the zip holds \"$tops\", not one folder swayfire-$version"
folder=$work/swayfire-$version
for wanted in swayfire.exe swayfire-headless.exe opt.ini DejaVuSans.ttf README.md LICENSE; do
  [ -s "$folder/$wanted" ] || fail "no $wanted in the zip"
done
[ -n "$(ls "$folder/files" 2>/dev/null)" ] || fail "no pictures and sounds in files/"
[ ! -e "$folder/files/bullet.dds" ] || fail "the zip ships a score file"
# The licences: SDL2 and its satellites (zlib), FreeType (FTL), the font's.
for licence in libsdl2-LICENSE.txt libsdl2-image-LICENSE.txt libsdl2-mixer-LICENSE.txt \
  libsdl2-ttf-LICENSE.txt freetype-FTL.TXT fonts-dejavu-core-copyright; do
  [ -s "$folder/licenses/$licence" ] || fail "no licence $licence"
done

$objdump -p "$folder/swayfire.exe" | grep -q 'Subsystem.*(Windows GUI)' ||
  fail "swayfire.exe is not a windowed program (a console would open)"

# Windows' own DLLs the programs and the SDL2 family may import (lower case).
windows_own="advapi32.dll cfgmgr32.dll gdi32.dll hid.dll imm32.dll kernel32.dll msvcrt.dll
  ole32.dll oleaut32.dll setupapi.dll shell32.dll shlwapi.dll user32.dll version.dll winmm.dll
  ws2_32.dll dinput8.dll dxgi.dll d3d9.dll"
windows_own=" $(echo $windows_own) "
shipped=$(cd "$folder" && ls -1 ./*.dll | sed 's|^\./||' | tr 'A-Z' 'a-z' | sort)
needed=""
for binary in "$folder"/*.exe "$folder"/*.dll; do
  imports=$($objdump -p "$binary" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z')
  [ -n "$imports" ] || fail "objdump found no imports in $(basename "$binary")"
  for dll in $imports; do
    if grep -qx "$dll" <<<"$shipped"; then
      needed="$needed $dll"
    elif [[ "$windows_own" != *" $dll "* && "$dll" != api-ms-win-* ]]; then
      fail "$(basename "$binary") needs $dll, which is neither shipped nor Windows' own"
    fi
  done
done
for dll in $shipped; do
  [[ " $needed " == *" $dll "* ]] || fail "$dll is shipped but nothing imports it"
done

if [ "$failures" -gt 0 ]; then
  echo "zip: $failures failure(s)"
  exit 1
fi
echo "zip: passed ($(du -k "$zip" | cut -f1) KB; shipped: $(echo $shipped))"
