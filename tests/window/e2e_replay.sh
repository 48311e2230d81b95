#!/usr/bin/env bash
# Replays of games played in the real window: a level game cleared with the health key and fire
# (a record), then a game left with Escape. The record's replay and last.replay are kept beside the
# score file; swayfire-headless --replay verifies both, the record's to the very score the score
# file got; swayfire --replay plays the record in the window to the same final score, with F held
# for speed, and writes nothing.
#   e2e_replay.sh PATH_OF_SWAYFIRE BUILD_DIR
set -u
source "$(dirname "$0")/e2e_lib.bash"

headless=$build/swayfire-headless
replays=$folder/files/replays

record() {
  tr -d '\r' <"$score_file" 2>/dev/null | sed -n "s/^$1=//p"
}

# 1. Level 1, played until it is cleared: fire in all four directions, and health (H held, E) now
# and then so that the ship lasts.
install_game False
start_game
check "game: no window titled \"$title\"" wait_window
check "game: the game never reached its main loop" wait_main_loop
keys Down Return
sleep 0.5
cleared=""
for round in $(seq 400); do
  # Quicker than keys: a shot in each direction, each key on its own for a few passes.
  xdotool key --delay 50 a w d s
  if [ $((round % 4)) = 0 ]; then
    xdotool keydown h
    sleep 0.05
    xdotool key e
    sleep 0.05
    xdotool keyup h
  fi
  best=$(record M2-1)
  if [ -n "$best" ] && [ "$best" != 0 ]; then
    cleared=$best
    break
  fi
done
check "level 1 was never cleared (M2-1 is \"$(record M2-1)\")" test -n "$cleared"

# 2. Back in the menu: another level game, left with Escape at once (no record), then the window
# closed.
sleep 2
keys Return
sleep 1
keys a
keys Escape
sleep 1
check "could not close the window" "$close_helper" "$title" 5
wait_game 10
check "the game ended with status $status (0 expected)" test "$status" = 0

check "no record replay kept" test -f "$replays/best-level-1.replay"
check "no last.replay kept" test -f "$replays/last.replay"
check "the replay folder holds more than its two files" \
  test "$(ls "$replays" | grep -v '\.lock$' | tr '\n' ' ')" = "best-level-1.replay last.replay "

# 3. Verified without a window: the record's replay ends with the score the score file got.
verify() {
  "$headless" --replay "$1" --folder "$build" >"$work/verify" 2>&1
}
check "best-level-1.replay does not verify" verify "$replays/best-level-1.replay"
sed 's/^/  verify: /' "$work/verify"
check "best-level-1.replay: not the record's score $cleared" \
  grep -qx "final score: $cleared" "$work/verify"
check "best-level-1.replay: not a level game from level 1" \
  grep -qz "mode: level.start level: 1" "$work/verify"
check "last.replay (left with Escape) does not verify" verify "$replays/last.replay"
sed 's/^/  verify: /' "$work/verify"

# 4. Watched in the window, four times faster with F held: the same final score, and nothing
# written.
find "$folder" "$HOME" -type f -printf '%p %s %T@\n' | sort >"$work/before"
cp "$replays/best-level-1.replay" "$work/watched.replay"
env --default-signal=INT "$folder/swayfire" --replay "$work/watched.replay" >"$work/log" 2>&1 &
game_pid=$!
replay_title="Swayfire replay: watched.replay"
check "watch: no window titled \"$replay_title\"" "$close_helper" --find "$replay_title" 30
id=$(xdotool search --name "^Swayfire replay" 2>/dev/null | head -n 1)
[ -n "$id" ] && timeout 10 xdotool windowfocus --sync "$id"
xdotool keydown f
ended=""
for _ in $(seq 600); do
  if xdotool search --name "final score $cleared" >/dev/null 2>&1; then
    ended=yes
    break
  fi
  kill -0 "$game_pid" 2>/dev/null || break
  sleep 0.1
done
xdotool keyup f
check "watch: the caption never showed the final score $cleared" test -n "$ended"
id=$(xdotool search --name "final score" 2>/dev/null | head -n 1)
[ -n "$id" ] && timeout 10 xdotool windowfocus --sync "$id"
keys Escape
wait_game 10
check "watch: Escape at the end: status $status (0 expected)" test "$status" = 0
check "watch: it did not say the final score" grep -q "final score $cleared" "$work/log"
find "$folder" "$HOME" -type f -printf '%p %s %T@\n' | sort >"$work/after"
check "watch: files were written" cmp -s "$work/before" "$work/after"

finish
