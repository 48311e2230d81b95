#!/usr/bin/env bash
# The real game in a real X window (Xvfb): it opens its window "swayfire 1.0", writes a fresh
# score file, and ends with status 0 when the window is closed, on SIGTERM and on SIGINT. A close
# during the splash ends it cleanly too; a missing picture, or no display at all, ends it with a
# clear message and a non-zero status.
#   smoke.sh PATH_OF_SWAYFIRE BUILD_DIR
set -u
game=$1
build=$2
helper=$build/tests/x11_close_window
title="swayfire 1.0"

# Until the asset generator has written the game's files there is no game to start.
if [ ! -f "$build/files/logo.jpg" ]; then
  echo "smoke: skipped: no generated files in $build/files"
  exit 77
fi

for tool in Xvfb "$helper"; do
  command -v "$tool" >/dev/null || { echo "smoke: $tool missing" >&2; exit 1; }
done

work=$(mktemp -d)
xvfb_pid=""
game_pid=""
cleanup() {
  [ -n "$game_pid" ] && kill -KILL "$game_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

failures=0
fail() {
  echo "FAIL: $*"
  [ -f "$work/log" ] && sed 's/^/  game: /' "$work/log"
  failures=$((failures + 1))
}

# A private display; Xvfb picks a free number and tells it through the descriptor.
Xvfb -displayfd 3 -screen 0 1600x1200x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "smoke: Xvfb did not start" >&2; exit 1; }
export DISPLAY=:$(cat "$work/display")
# No sound card here: the dummy driver still runs the whole sound path.
export SDL_AUDIODRIVER=dummy
export SWAYFIRE_NO_MESSAGEBOX=1

# A copy of the game in its own folder, so the build folder's score file is left alone.
install_game() {
  rm -rf "$work/game"
  mkdir -p "$work/game"
  cp "$game" "$work/game/swayfire"
  cp -r "$build/files" "$work/game/files"
  cp "$build/opt.ini" "$work/game/opt.ini"
  rm -f "$work/game/files/bullet.dds" "$work/game"/swayfire-*.png
}

start_game() {
  # A script's background jobs ignore SIGINT unless told otherwise; the game must see it.
  env --default-signal=INT "$work/game/swayfire" >"$work/log" 2>&1 &
  game_pid=$!
}

# Waits up to $1 seconds for the game to end; sets status to its exit status (or "running").
wait_game() {
  for _ in $(seq $(($1 * 10))); do
    kill -0 "$game_pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$game_pid" 2>/dev/null; then
    status=running
    return
  fi
  wait "$game_pid"
  status=$?
  game_pid=""
}

# The main loop runs once the score file has been read and repaired at start-up.
wait_running() {
  for _ in $(seq 300); do
    [ -f "$work/game/files/bullet.dds" ] && return 0
    kill -0 "$game_pid" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}

check_score_file() {
  local file=$work/game/files/bullet.dds
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
"$helper" --find "$title" 30 || fail "no window titled \"$title\""
if wait_running; then
  "$helper" "$title" 5 || fail "could not close the window"
  wait_game 10
  [ "$status" = 0 ] || fail "window close: status $status (0 expected)"
  check_score_file
else
  fail "the game never reached its main loop"
fi
[ -n "$game_pid" ] && kill -KILL "$game_pid" 2>/dev/null && game_pid=""

# 2. and 3. SIGTERM and SIGINT are close requests too.
for signal in TERM INT; do
  install_game
  start_game
  if wait_running; then
    kill -"$signal" "$game_pid"
    wait_game 10
    [ "$status" = 0 ] || fail "SIG$signal: status $status (0 expected)"
  else
    fail "SIG$signal: the game never reached its main loop"
  fi
  [ -n "$game_pid" ] && kill -KILL "$game_pid" 2>/dev/null && game_pid=""
done

# 4. Closing the window during the splash ends the program cleanly.
install_game
start_game
"$helper" "$title" 30 || fail "splash: no window to close"
wait_game 10
[ "$status" = 0 ] || fail "close during the splash: status $status (0 expected)"
[ -n "$game_pid" ] && kill -KILL "$game_pid" 2>/dev/null && game_pid=""

# 5. A missing picture stops the game with its name and a non-zero status.
install_game
rm "$work/game/files/hpbar.dds"
start_game
wait_game 30
if [ "$status" = 0 ] || [ "$status" = running ]; then
  fail "missing picture: status $status (non-zero expected)"
elif ! grep -q 'swayfire: error: .*files/hpbar.dds' "$work/log"; then
  fail "missing picture: the message does not name files/hpbar.dds"
fi
[ -n "$game_pid" ] && kill -KILL "$game_pid" 2>/dev/null && game_pid=""

# 6. No display at all: a clear message and a non-zero status, without hanging.
install_game
timeout 20 env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER "$work/game/swayfire" \
  >"$work/log" 2>&1
status=$?
if [ "$status" = 0 ] || [ "$status" = 124 ]; then
  fail "no display: status $status (a quick non-zero exit expected)"
elif ! grep -q 'swayfire: error: cannot open the game window' "$work/log"; then
  fail "no display: no clear message"
fi

if [ "$failures" -gt 0 ]; then
  echo "smoke: $failures failure(s)"
  exit 1
fi
echo "smoke: 6 passed, 0 failed"
