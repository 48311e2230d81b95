#!/usr/bin/env bash
# `cmake --install` into a scratch prefix, then the installed game as a player meets it: started
# through its desktop entry under Xvfb with a scratch HOME, it reads its files from the prefix,
# puts the default options and the score file in ~/.local/share/swayfire, saves a screenshot
# there, ends with status 0 when its window is closed, writes nothing anywhere else, and finds
# its scores again after a restart; uninstalling removes every installed file and keeps the
# player's. Without its data it stops with a clear message.
#   install.sh PATH_OF_SWAYFIRE BUILD_DIR
set -u
source "$(dirname "$0")/window_lib.bash"
require_tools xdotool identify strings desktop-file-validate appstreamcli groff

prefix=$work/prefix
if ! cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1; then
  cat "$work/install.log"
  echo "install: cmake --install failed" >&2
  exit 1
fi

# 1. The layout under the prefix.
id=$(basename "$(ls "$prefix"/share/applications/*.desktop 2>/dev/null | head -n 1)" .desktop)
[ -x "$prefix/bin/swayfire" ] || fail "no executable bin/swayfire"
[ -s "$build/asset-files.txt" ] || fail "the build lists no asset files"
while read -r asset; do
  name=$(basename "$asset")
  [ -f "$prefix/share/swayfire/files/$name" ] || fail "no share/swayfire/files/$name"
done <"$build/asset-files.txt"
for stray in share/swayfire/files/bullet.dds share/swayfire/opt.ini bin/opt.ini bin/files; do
  [ -e "$prefix/$stray" ] && fail "the build's own $stray was installed"
done
desktop=$prefix/share/applications/$id.desktop
if [ -z "$id" ]; then
  fail "no desktop entry in share/applications"
else
  desktop-file-validate "$desktop" || fail "desktop entry does not validate"
  grep -qx 'Categories=Game;ArcadeGame;' "$desktop" || fail "desktop entry without Categories=Game;ArcadeGame;"
  grep -qx "Icon=$id" "$desktop" || fail "desktop entry does not name the icon $id"
  metainfo=$prefix/share/metainfo/$id.metainfo.xml
  appstreamcli validate --no-net "$metainfo" >"$work/appstream.log" 2>&1 ||
    { cat "$work/appstream.log"; fail "metainfo does not validate"; }
  grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
    fail "metainfo does not launch the desktop entry"
  for size in 16 24 32 48 64 128 256; do
    icon=$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png
    got=$(identify -format '%m %wx%h' "$icon" 2>/dev/null)
    [ "$got" = "PNG ${size}x${size}" ] || fail "icon ${size}x${size}: got '$got'"
  done
fi
man=$prefix/share/man/man6/swayfire.6
if [ -f "$man" ]; then
  warnings=$(LC_ALL=C.UTF-8 groff -man -ww -z -Tutf8 "$man" 2>&1)
  [ -z "$warnings" ] || fail "man page warnings: $warnings"
  LC_ALL=C.UTF-8 groff -man -Tutf8 -P -cbou "$man" 2>/dev/null | grep -q '\.local/share/swayfire' ||
    fail "the man page does not say where the player's files are"
else
  fail "no man page share/man/man6/swayfire.6"
fi

# 2. The installed game, started from its desktop entry by a player with an empty home.
start_display
export HOME=$work/home
unset XDG_DATA_HOME
mkdir -p "$HOME" "$work/cwd"
user=$HOME/.local/share/swayfire

# Nobody may write in the prefix (root still could: the check after the run catches that).
chmod -R a-w "$prefix"
touch "$work/marker"
sleep 1

exec_line=$(sed -n 's/^Exec=//p' "$desktop" | sed 's/ *%[fFuUdDnNickvm]//g')
start_game() {
  (cd "$work/cwd" && env PATH="$prefix/bin:$PATH" sh -c "exec $exec_line") >"$work/log" 2>&1 &
  game_pid=$!
}
start_game
if wait_main_loop "$user/files/bullet.dds"; then
  [ "$(cat "$user/opt.ini")" = "$(printf '[OPTIONS]\nFS=False\nSND=True')" ] ||
    fail "default options: $(tr '\n' ' ' <"$user/opt.ini")"
  # T in the menu saves a screenshot, in the player's folder.
  "$close_helper" --find "$title" 10 || fail "no window titled \"$title\""
  sleep 0.5
  xdotool key t
  for _ in $(seq 50); do ls "$user"/swayfire-*.png >/dev/null 2>&1 && break; sleep 0.1; done
  ls "$user"/swayfire-*.png >/dev/null 2>&1 || fail "no screenshot in $user"
  "$close_helper" "$title" 5 || fail "could not close the window"
  wait_game 10
  [ "$status" = 0 ] || fail "window close: status $status (0 expected)"
else
  fail "the installed game never wrote its score file in $user"
fi
stop_game
sed 's/^/  game: /' "$work/log"

changed=$(find "$prefix" "$work/cwd" -newer "$work/marker" 2>/dev/null)
[ -z "$changed" ] || fail "written outside the player's folder: $changed"
# Libraries may keep caches (~/.cache); the game's own files all live in the player's folder.
strays=$(find "$HOME" -type f -not -path "$user/*" -not -path "$HOME/.cache/*")
[ -z "$strays" ] || fail "files outside $user: $strays"

# 3. After a restart the scores are still there: a record set between the runs is kept, and the
#    key taken away is written back.
if [ -f "$user/files/bullet.dds" ]; then
  sed -i 's/^M1=0/M1=4321/; /^M2-50=/d' "$user/files/bullet.dds"
  start_game
  if wait_main_loop "$user/files/bullet.dds"; then
    "$close_helper" "$title" 10 || fail "restart: could not close the window"
    wait_game 10
    [ "$status" = 0 ] || fail "restart: status $status (0 expected)"
    grep -q '^M1=4321' "$user/files/bullet.dds" || fail "restart: the record M1=4321 was lost"
  else
    fail "restart: the game did not repair its score file"
    sed 's/^/  game: /' "$work/log"
  fi
  stop_game
fi

# 4. Uninstall (what `make uninstall` runs): every installed file goes, the player's files stay.
cp "$build/install_manifest.txt" "$work/installed-files.txt"
cp -r "$user" "$work/user-before"
"$(dirname "$0")/../../scripts/uninstall" "$work/installed-files.txt" >"$work/uninstall.log" 2>&1 ||
  fail "uninstall failed: $(cat "$work/uninstall.log")"
left=$(find "$prefix" -type f -o -type l)
[ -z "$left" ] || fail "uninstall left installed files: $left"
for folder in share/swayfire share/doc/swayfire; do
  [ -e "$prefix/$folder" ] && fail "uninstall left the folder $folder"
done
diff -r "$work/user-before" "$user" >/dev/null || fail "uninstall touched the player's files in $user"
cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 || fail "reinstall failed"

# 5. The executable alone, away from any data: a clear message and a non-zero status (unless the
#    prefix it was built for holds a copy of the game, which it would rightly use).
mkdir -p "$work/lonely"
cp "$prefix/bin/swayfire" "$work/lonely/swayfire"
builtin_data=$(strings "$work/lonely/swayfire" | grep -m 1 '^/.*/share/swayfire$')
if [ -z "$builtin_data" ] || [ ! -d "$builtin_data/files" ]; then
  timeout 20 "$work/lonely/swayfire" >"$work/log" 2>&1
  status=$?
  if [ "$status" = 0 ] || [ "$status" = 124 ]; then
    fail "no data: status $status (a quick non-zero exit expected)"
  elif ! grep -q "swayfire: error: cannot find the game's files: .*$work/lonely" "$work/log"; then
    fail "no data: no clear message: $(cat "$work/log")"
  fi
fi

finish
