#!/usr/bin/env bash
# The Windows game as a player meets it: the zip unpacked, swayfire.exe started under Wine in an X
# display (Xvfb), the menu and a survival game drawn and told apart, keys typed by xdotool, T
# saving screenshots, the score file written with Linux line ends, and the exit entry ending the
# game with status 0; then a level cleared in play, its record and the unlocked level saved, and
# the record's replay verified by the Linux runner. Again from a folder whose name has non-ASCII
# letters; and from a game folder that cannot be written, where the player's files go to
# %APPDATA%\Swayfire instead.
#   game.sh WINDOWS_BUILD_DIR NATIVE_BUILD_DIR
set -u
win_build=$1
source "$(dirname "$0")/wine_lib.bash"
dist=$(sed -n 's/^SWAYFIRE_DIST_DIR:[A-Z]*=//p' "$win_build/CMakeCache.txt")
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' "$win_build/CMakeCache.txt")
zip=$dist/swayfire-$version-win64.zip
[ -f "$zip" ] || { echo "game: skipped: no $zip (make windows)"; exit 77; }
command -v unzip >/dev/null || { echo "game: unzip missing (scripts/install-deps)"; exit 1; }

# The desktop tests' display, keys and checks; the game is the Windows one.
set -- "$win_build/swayfire.exe" "$native_build"
source "$(dirname "$0")/../window/e2e_lib.bash"
trap 'wine_stop; window_cleanup' EXIT
appdata=$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/Swayfire

# Unpacks the zip into a folder of that name; the game folder is $folder, its score file
# $score_file.
unpack() {
  rm -rf "$work/$1"
  mkdir -p "$work/$1"
  unzip -q "$zip" -d "$work/$1"
  folder=$work/$1/swayfire-$version
  score_file=$folder/files/bullet.dds
}

# Plays from $folder: the menu, a survival game, screenshots of both, the exit entry.
play() {
  local where=$1 menu_shot game_shot
  (cd "$folder" && exec wine ./swayfire.exe) >"$work/log" 2>&1 &
  game_pid=$!
  check "$where: no window titled \"$title\"" wait_window
  check "$where: the game never reached its main loop" wait_main_loop "$score_file"
  menu_shot=$(take_screenshot)
  keys Return
  sleep 1
  keys a d w s
  hold Right 0.3
  game_shot=$(take_screenshot)
  keys Escape
  sleep 0.5
  keys Down Down
  sleep 0.5
  keys Return
  wait_game 20
  check "$where: the exit entry: status $status (0 expected)" test "$status" = 0
  for shot in "$menu_shot" "$game_shot"; do
    check "$where: T saved no screenshot" test -n "$shot"
    [ -n "$shot" ] && check "$where: $shot is not a picture of the game" is_game_picture "$shot"
  done
  [ -n "$menu_shot" ] && [ -n "$game_shot" ] &&
    check "$where: the survival game looks like the menu" pictures_differ "$menu_shot" "$game_shot"
  check "$where: the score file lost records" scores_intact SCORE/M1=0 LEVEL/PASSED=0
  check "$where: the score file has CR line ends (Linux bytes expected)" \
    test "$(tr -cd '\r' <"$score_file" | wc -c)" = 0
}

# The score file's value of KEY (no section needed: the keys are unique), CRs dropped.
stored() { tr -d '\r' <"$score_file" 2>/dev/null | sed -n "s/^$1=//p"; }
level_passed() { [ "$(stored PASSED)" = 2 ]; }

# A record set in the window: level 1 played until it is cleared, as a player would: the ship
# sweeps the field in a square, firing in all four directions, the health key (H held, E pressed)
# keeping it alive. The score file then says level 2 is unlocked and holds level 1's record. A
# minute and a half of play under Wine clears it; five minutes are allowed.
clear_level() {
  local where=$1 deadline sweeps=0 arrows=(Right Down Left Up)
  # The game adds the entries missing from its score file when its main loop starts: one taken out
  # tells when the menu takes keys.
  sed -i '/^M2-50=/d' "$score_file"
  (cd "$folder" && exec wine ./swayfire.exe) >"$work/log" 2>&1 &
  game_pid=$!
  check "$where: no window titled \"$title\"" wait_window
  check "$where: the game never reached its main loop" wait_main_loop "$score_file"
  keys Down Return
  deadline=$((SECONDS + 300))
  while [ $SECONDS -lt $deadline ] && kill -0 "$game_pid" 2>/dev/null && ! level_passed; do
    # A press counts once per pass, and the health key only while H is down at a pass.
    xdotool keydown "${arrows[sweeps / 6 % 4]}" key --delay 60 d w s a keyup "${arrows[sweeps / 6 % 4]}" \
      keydown h sleep 0.05 key e sleep 0.05 keyup h
    sweeps=$((sweeps + 1))
  done
  check "$where: level 1 not cleared (PASSED=$(stored PASSED), 2 expected)" level_passed
  check "$where: no record of level 1 saved (M2-1=$(stored M2-1))" test "$(stored M2-1)" -gt 0
  # Back in the menu on the level entry; one down is the exit entry.
  sleep 2
  keys Down
  sleep 0.5
  keys Return
  wait_game 20
  check "$where: the exit entry after a level: status $status (0 expected)" test "$status" = 0
  # The game was recorded on Windows: its replay plays the same on Linux, to the score saved.
  local replay=$folder/files/replays/best-level-1.replay verdict verified
  verdict=$("$native_build/swayfire-headless" --replay "$replay" 2>&1)
  verified=$?
  check "$where: the record's replay does not verify on Linux (status $verified): $verdict" \
    test "$verified" = 0
  check "$where: the replay's final score is not the record $(stored M2-1): $verdict" \
    grep -qx "final score: $(stored M2-1)" <<<"$verdict"
}

# Screenshots of this test, oldest first, wherever the game put them.
rm -rf "$appdata"
screenshots() {
  find "$work" "$appdata" -name 'swayfire-*.png' -newer "$zip" -printf '%T@ %p\n' 2>/dev/null |
    sort -n | cut -d' ' -f2-
}

unpack plain
play "a plain folder"
clear_level "a plain folder"

unpack "unz-j$(printf '\303\266')rg"
play "a folder named unz-j$(printf '\303\266')rg"

# A game folder that cannot be written. Root writes anywhere, so the folder is mounted read-only
# in a mount namespace of the game's own when that can be done; otherwise this part is skipped.
unpack readonly
rm -rf "$appdata"
if unshare -m sh -c 'mount --bind "$1" "$1"' sh "$folder" 2>/dev/null; then
  ro_folder=$folder
  # Wine's server opens the files: a fresh one, started by the game inside the namespace.
  wineserver -k 2>/dev/null
  wineserver -w 2>/dev/null
  unshare -m sh -c 'mount --bind "$1" "$1" && mount -o remount,bind,ro "$1" && cd "$1" &&
    exec wine ./swayfire.exe' sh "$ro_folder" >"$work/log" 2>&1 &
  game_pid=$!
  score_file=$appdata/files/bullet.dds
  check "read-only: no window titled \"$title\"" wait_window
  check "read-only: no score file in %APPDATA%\\Swayfire" wait_main_loop "$score_file"
  shot=$(take_screenshot)
  check "read-only: T saved no screenshot in %APPDATA%\\Swayfire" test "${shot#"$appdata"}" != "$shot"
  keys Down Down
  sleep 0.5
  keys Return
  wait_game 20
  check "read-only: the exit entry: status $status (0 expected)" test "$status" = 0
  check "read-only: no options file in %APPDATA%\\Swayfire" test -f "$appdata/opt.ini"
  check "read-only: the game folder was written" test ! -e "$ro_folder/files/bullet.dds"
else
  echo "game: no mount namespace here: the read-only game folder is not tried"
fi
finish
