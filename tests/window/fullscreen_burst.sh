#!/usr/bin/env bash
# A storm of full-screen switches: F11 and Alt+Enter pressed 300 times in a few seconds. Under X
# each switch holds the game for a tenth of a second or more; the window makes at most one at a
# time and only the last wish counts, so the game keeps answering through the storm: right after
# it, T still saves a screenshot at once, and a window close or SIGTERM (even in the middle of the
# storm) ends the game within a second and a half, with status 0 and a whole score file.
#   fullscreen_burst.sh PATH_OF_SWAYFIRE BUILD_DIR
set -u
source "$(dirname "$0")/e2e_lib.bash"

# 150 presses of F11 and 150 of Alt+Enter, alternating, 5 ms apart (a few seconds in all).
storm=()
for _ in $(seq 150); do storm+=(F11 alt+Return); done

# Waits up to $1 tenths of a second for the game to end; prints how many tenths it took.
tenths_to_end() {
  local tenths
  for tenths in $(seq 0 "$1"); do
    kill -0 "$game_pid" 2>/dev/null || break
    sleep 0.1
  done
  echo "$tenths"
}

# Starts a game in a window; $1 names the case in the messages.
start_in_window() {
  install_game False
  start_game
  check "$1: no window titled \"$title\"" wait_window
  check "$1: the game never reached its main loop" wait_main_loop
}

# 1. After the storm the game answers at once: a screenshot within three seconds (take_screenshot
# waits that long), and a close ends it quickly.
start_in_window close
started=$(date +%s%N)
xdotool key --delay 5 "${storm[@]}"
echo "close: 300 presses took $((($(date +%s%N) - started) / 1000000)) ms to type"
shot=$(take_screenshot)
check "close: no screenshot right after the storm" test -n "$shot"
[ -n "$shot" ] && check "close: $(basename "$shot") is not a picture of the game" is_game_picture "$shot"
check "close: could not close the window" "$close_helper" "$title" 2
tenths=$(tenths_to_end 20)
wait_game 1
check "close: the game took $tenths tenths of a second to end after the close" test "$tenths" -le 15
check "close: status $status (0 expected)" test "$status" = 0
check "close: the score file is not whole" scores_intact SCORE/M1=0

# 2. SIGTERM in the middle of the storm ends the game within a second or two.
start_in_window term
xdotool key --delay 5 "${storm[@]}" &
storm_pid=$!
sleep 1.5
kill -TERM "$game_pid"
tenths=$(tenths_to_end 30)
kill "$storm_pid" 2>/dev/null
wait "$storm_pid" 2>/dev/null
wait_game 1
check "term: the game took $tenths tenths of a second to end after SIGTERM" test "$tenths" -le 15
check "term: status $status (0 expected)" test "$status" = 0
check "term: the score file is not whole" scores_intact SCORE/M1=0

finish
