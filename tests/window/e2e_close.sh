#!/usr/bin/env bash
# Closing the real game's window the way a window manager does: during a game (after some shots, a
# pause and a screenshot) and during the splash. Each time the game ends with status 0 and leaves
# the score file whole: a game that is closed is not scored, and a close during the splash, before
# the scores are read, leaves the file exactly as it was.
#   e2e_close.sh PATH_OF_SWAYFIRE BUILD_DIR
set -u
source "$(dirname "$0")/e2e_lib.bash"

# In a game: T saves a real picture of it, and closing the window ends the game with status 0.
# $1 names the game in the messages.
screenshot_and_close() {
  local shot
  shot=$(take_screenshot)
  check "$1: T saved no screenshot" test -n "$shot"
  [ -n "$shot" ] && check "$1: $(basename "$shot") is not a picture of the game" is_game_picture "$shot"
  check "$1: could not close the window" "$close_helper" "$title" 5
  wait_game 10
  check "$1: closing the window: status $status (0 expected)" test "$status" = 0
}

# 1. During a level game, paused.
install_game False
seed_scores
start_game
check "game: no window titled \"$title\"" wait_window
check "game: the game never reached its main loop" wait_main_loop
keys Down Right Return
sleep 1
keys a d
hold Up 0.3
keys p
screenshot_and_close game
check "game: the score file lost records" \
  scores_intact SCORE/M1=4321 SCORE/M2-1=0 SCORE/M2-2=1500 SCORE/M2-3=777 LEVEL/PASSED=3

# 2. During a survival game, running.
install_game False
start_game
check "survival: no window titled \"$title\"" wait_window
check "survival: the game never reached its main loop" wait_main_loop
keys Return
sleep 0.5
keys w s
screenshot_and_close survival
check "survival: the new score file is not whole" \
  scores_intact SCORE/M1=0 SCORE/M2-1=0 SCORE/M2-50=0

# 3. During the splash, which lasts at least two seconds after the window opens.
install_game False
seed_scores
cp "$score_file" "$work/seeded"
start_game
check "splash: could not close the window" "$close_helper" "$title" 30
wait_game 10
check "splash: closing the window: status $status (0 expected)" test "$status" = 0
check "splash: the score file changed" cmp -s "$score_file" "$work/seeded"
check "splash: a screenshot appeared" test -z "$(screenshots)"

finish
