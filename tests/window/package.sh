#!/usr/bin/env bash
# The Debian package as a player meets it, without touching the machine's own packages: packed from
# this build (cpack), unpacked into a scratch root with dpkg-deb, every file where the desktop looks
# for it, the game started from its desktop entry under Xvfb, a few seconds of a survival game, the
# window closed, and the score file in the player's folder. Also what apt and lintian see: the
# name, section and version (the one version of the whole build, also in the caption, the metainfo,
# the manual page and the changelog), the SDL2 libraries among the dependencies, root as the owner
# of every file, and no lintian errors.
#   package.sh PATH_OF_SWAYFIRE BUILD_DIR
set -u
if ! command -v dpkg-deb >/dev/null; then
  echo "package: skipped: dpkg-deb missing (the package is a Debian one; scripts/install-deps)"
  exit 77
fi
source "$(dirname "$0")/e2e_lib.bash"
require_tools dpkg cpack desktop-file-validate gzip

# 1. The package, made as `make package` makes it, into the scratch folder.
arch=$(dpkg --print-architecture)
deb=$work/swayfire_${version}_${arch}.deb
if ! cpack --config "$build/CPackConfig.cmake" -B "$work/cpack" \
  -D CPACK_OUTPUT_FILE_PREFIX="$work" >"$work/cpack.log" 2>&1 || [ ! -f "$deb" ]; then
  cat "$work/cpack.log"
  echo "package: cpack made no $(basename "$deb")"
  exit 1
fi

field() { dpkg-deb --field "$deb" "$1"; }
check "package name: $(field Package)" test "$(field Package)" = swayfire
check "package version: $(field Version) ($version expected)" test "$(field Version)" = "$version"
check "section: $(field Section)" test "$(field Section)" = games
check "priority: $(field Priority)" test "$(field Priority)" = optional
check "maintainer: $(field Maintainer)" \
  grep -q '^The Swayfire authors <.*@.*>$' <<<"$(field Maintainer)"
check "the description has no long part" test "$(field Description | wc -l)" -ge 3
depends=$(dpkg-deb --info "$deb" | sed -n 's/^ Depends: //p')
for library in libsdl2-2.0-0 libsdl2-image-2.0-0 libsdl2-mixer-2.0-0 libsdl2-ttf-2.0-0 \
  libfontconfig1 fonts-dejavu-core; do
  check "$library is not among the dependencies: $depends" \
    grep -q "\(^\|, \)$library\( \|,\|$\)" <<<"$depends"
done
# Owner root, folders 0755, files 0644 but the game's 0755.
strays=$(dpkg-deb --contents "$deb" | awk '
  $2 != "root/root" { print; next }
  $6 ~ /\/$/ { if ($1 != "drwxr-xr-x") print; next }
  $6 == "./usr/games/swayfire" { if ($1 != "-rwxr-xr-x") print; next }
  $1 != "-rw-r--r--" { print }')
check "owner or permissions: $strays" test -z "$strays"
if command -v lintian >/dev/null; then
  lintian --tag-display-limit 0 "$deb" 2>&1 |
    grep -v "running with root privileges" >"$work/lintian.log"
  sed 's/^/  lintian: /' "$work/lintian.log"
  check "lintian reports errors" test -z "$(grep '^E:' "$work/lintian.log")"
else
  echo "package: lintian missing: the package is not checked by it (scripts/install-deps)"
fi

# 2. Every file where the desktop looks for it.
root=$work/root
dpkg-deb --extract "$deb" "$root"
usr=$root/usr
check "no executable /usr/games/swayfire" test -x "$usr/games/swayfire"
check "/usr/bin is for other programs than games" test ! -e "$usr/bin"
# Every file of the game's asset list (the build writes it, one path a line).
check "the build lists no asset files" test -s "$build/asset-files.txt"
while read -r asset; do
  name=$(basename "$asset")
  check "no /usr/share/swayfire/files/$name" test -f "$usr/share/swayfire/files/$name"
done <"$build/asset-files.txt"
for stray in share/swayfire/files/bullet.dds share/swayfire/opt.ini games/opt.ini games/files; do
  check "the build's own $stray is in the package" test ! -e "$usr/$stray"
done
desktop=$(ls "$usr"/share/applications/*.desktop 2>/dev/null | head -n 1)
id=$(basename "$desktop" .desktop)
check "no desktop entry in /usr/share/applications" test -f "$desktop"
check "the desktop entry does not validate" desktop-file-validate "$desktop"
for size in 16 48 256; do
  check "no ${size}x$size icon $id in /usr/share/icons/hicolor" \
    test -f "$usr/share/icons/hicolor/${size}x$size/apps/$id.png"
done
metainfo=$usr/share/metainfo/$id.metainfo.xml
check "the metainfo has no release $version" grep -q "<release version=\"$version\"" "$metainfo"
man=$usr/share/man/man6/swayfire.6.gz
check "no compressed manual page /usr/share/man/man6/swayfire.6.gz" gzip -t "$man"
check "the manual page is not of version $version" \
  grep -q "^\.TH SWAYFIRE 6 .* \"swayfire $version\"" <<<"$(gzip -dc "$man" 2>/dev/null)"
doc=$usr/share/doc/swayfire
check "the copyright file is not machine-readable" grep -qx \
  'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' "$doc/copyright"
check "the copyright file has no license text" \
  grep -q '^ Permission is hereby granted' "$doc/copyright"
check "the changelog's newest entry is not for $version" \
  grep -q "^swayfire ($version) " <<<"$(gzip -dc "$doc/changelog.gz" 2>/dev/null | head -n 1)"
check "no README" test -f "$doc/README.md"

# 3. The unpacked game, started by a player from its desktop entry, with the scratch root on the
#    PATH as /usr/games is on a Debian desktop's.
exec_line=$(sed -n 's/^Exec=//p' "$desktop" | sed 's/ *%[fFuUdDnNickvm]//g')
try_exec=$(sed -n 's/^TryExec=//p' "$desktop")
path=$usr/games:$PATH
check "TryExec $try_exec is not the unpacked game" \
  test "$(PATH=$path command -v "$try_exec")" = "$usr/games/swayfire"
user=$XDG_DATA_HOME/swayfire
score_file=$user/files/bullet.dds
mkdir -p "$work/cwd"
chmod -R a-w "$root"
touch "$work/marker"
env -C "$work/cwd" PATH="$path" sh -c "exec $exec_line" >"$work/log" 2>&1 &
game_pid=$!
check "no window titled \"$title\"" wait_window
checks=$((checks + 1))
if wait_main_loop; then
  keys Return # a survival game
  keys a d w s
  hold Left 0.4
  keys t
  hold Up 0.4
  keys a d w s
  sleep 1
else
  fail "the game never wrote its score file $score_file"
fi
check "could not close the window" "$close_helper" "$title" 5
wait_game 10
check "closing the window: status $status (0 expected)" test "$status" = 0
check "the score file is not whole" scores_intact SCORE/M2-50=0
check "no default options in $user" grep -q '^FS=False' "$user/opt.ini"
shot=$(ls "$user"/swayfire-*.png 2>/dev/null | head -n 1)
check "T saved no screenshot in $user" test -n "$shot"
[ -n "$shot" ] && check "$(basename "$shot") is not a picture of the game" is_game_picture "$shot"
check "the game wrote in its own folders: $(find "$root" -newer "$work/marker")" \
  test -z "$(find "$root" -newer "$work/marker")"

finish
