#!/usr/bin/env bash
# The real game in a real X window (Xvfb): it opens its window "swayfire 1.0", writes a fresh
# score file, and ends with status 0 when the window is closed, on SIGTERM and on SIGINT. A close
# during the splash ends it cleanly too; a missing picture, or no display at all, ends it with a
# clear message and a non-zero status. A score file that cannot be saved is told in a message box,
# once, and the game goes on.
#   smoke.sh PATH_OF_SWAYFIRE BUILD_DIR
set -u
source "$(dirname "$0")/window_lib.bash"
require_tools

start_display

check_score_file() {
  local file=$score_file
  tr -d '\r' <"$file" | awk '
    /^\[/ { section = $0; next }
    section == "[SCORE]" && /=/ { split($0, kv, "="); value[kv[1]] = kv[2] }
    END {
      bad = (value["M1"] != "0")
      for (i = 1; i <= 50; i++) if (value["M2-" i] != "0") bad = 1
      exit bad
    }' || fail "score file without [SCORE] M1=0 and M2-1..M2-50=0: $(tr '\r\n' '  ' <"$file")"
}

# 1. Closing the window ends the game with status 0 and a complete score file.
install_game
start_game
"$close_helper" --find "$title" 30 || fail "no window titled \"$title\""
if wait_main_loop; then
  "$close_helper" "$title" 5 || fail "could not close the window"
  wait_game 10
  [ "$status" = 0 ] || fail "window close: status $status (0 expected)"
  check_score_file
else
  fail "the game never reached its main loop"
fi
stop_game

# 2. and 3. SIGTERM and SIGINT are close requests too.
for signal in TERM INT; do
  install_game
  start_game
  if wait_main_loop; then
    kill -"$signal" "$game_pid"
    wait_game 10
    [ "$status" = 0 ] || fail "SIG$signal: status $status (0 expected)"
  else
    fail "SIG$signal: the game never reached its main loop"
  fi
  stop_game
done

# 4. Closing the window during the splash ends the program cleanly.
install_game
start_game
"$close_helper" "$title" 30 || fail "splash: no window to close"
wait_game 10
[ "$status" = 0 ] || fail "close during the splash: status $status (0 expected)"
stop_game

# 5. A missing picture stops the game with its name and a non-zero status.
install_game
rm "$folder/files/hpbar.dds"
start_game
wait_game 30
if [ "$status" = 0 ] || [ "$status" = running ]; then
  fail "missing picture: status $status (non-zero expected)"
elif ! grep -q 'swayfire: error: .*files/hpbar.dds' "$work/log"; then
  fail "missing picture: the message does not name files/hpbar.dds"
fi
stop_game

# 6. No display at all: a clear message and a non-zero status, without hanging.
install_game
timeout 20 env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER "$folder/swayfire" \
  >"$work/log" 2>&1
status=$?
if [ "$status" = 0 ] || [ "$status" = 124 ]; then
  fail "no display: status $status (a quick non-zero exit expected)"
elif ! grep -q 'swayfire: error: cannot open the game window' "$work/log"; then
  fail "no display: no clear message"
fi

# 7. A score file that cannot be saved (a folder where its lock file must go): the player is
# told in a message box, once in the run, though start-up fails to save fifty scores; once it is
# closed the game goes on (its window still answers a close, with status 0), stderr says it too,
# and the old file is whole.
box="Swayfire: scores not saved"
install_game
printf '[SCORE]\nM1=250\n' >"$score_file"
mkdir "$score_file.lock"
start_game SWAYFIRE_NO_MESSAGEBOX=
if "$close_helper" "$box" 30; then
  "$close_helper" --find "$box" 3 && fail "unsaved scores: a second message box"
  "$close_helper" "$title" 10 || fail "unsaved scores: the game window did not answer"
  wait_game 10
  [ "$status" = 0 ] || fail "unsaved scores: status $status (0 expected)"
else
  fail "unsaved scores: no message box titled \"$box\""
fi
grep -q 'could not save .*files/bullet.dds' "$work/log" || fail "unsaved scores: not on stderr"
[ "$(cat "$score_file")" = "$(printf '[SCORE]\nM1=250')" ] ||
  fail "unsaved scores: the score file changed"
stop_game

finish
