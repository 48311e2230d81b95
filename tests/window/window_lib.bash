# Shared by every real-window test (tests/window/*.sh): a scratch folder removed at the end, the
# tools the test needs, a private Xvfb display, a copy of the game to run, knowing when it is
# running, waiting for it to end, and counting failures. Sourced, not run: its name does not end
# in .sh, so it is not registered as a test itself.
#   source window_lib.bash   (in a test called as TEST.sh PATH_OF_SWAYFIRE BUILD_DIR)

test_name=$(basename "$0" .sh)
game=$1
build=$2
close_helper=$build/tests/x11_close_window
failures=0
checks=0

# The game's version, from project() in CMakeLists.txt; the caption shows the executable's name and
# the version's major.minor.
cache_value() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt" 2>/dev/null; }
version=$(cache_value CMAKE_PROJECT_VERSION)
title="swayfire $(cache_value CMAKE_PROJECT_VERSION_MAJOR).$(cache_value CMAKE_PROJECT_VERSION_MINOR)"
if [ -z "$version" ]; then
  echo "$test_name: no project version in $build/CMakeCache.txt" >&2
  exit 1
fi

# Until the asset generator has written the game's files there is no game to start.
if [ ! -f "$build/files/logo.jpg" ]; then
  echo "$test_name: skipped: no generated files in $build/files"
  exit 77
fi

# Stops the test when a tool it needs (Xvfb, the window closer, and the ones named) is missing.
require_tools() {
  local tool
  for tool in Xvfb "$close_helper" "$@"; do
    command -v "$tool" >/dev/null || {
      echo "$test_name: $tool missing (scripts/install-deps)" >&2
      exit 1
    }
  done
}

work=$(mktemp -d)
xvfb_pid=""
game_pid=""
window_cleanup() {
  [ -n "$game_pid" ] && kill -KILL "$game_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  chmod -R u+w "$work" 2>/dev/null
  # E2E_KEEP=1 keeps the scratch folder (game, screenshots, sound recording) for a look.
  if [ -n "${E2E_KEEP:-}" ]; then echo "$test_name: kept $work"; else rm -rf "$work"; fi
}
trap window_cleanup EXIT

# Counts a failure; every failure shows what the game said.
fail() {
  echo "FAIL: $*"
  [ -f "$work/log" ] && sed 's/^/  game: /' "$work/log"
  failures=$((failures + 1))
}

# Counts one check; fails it with the message when the condition (the remaining words) is false.
check() {
  local message=$1
  shift
  checks=$((checks + 1))
  "$@" || fail "$message"
}

# Ends the test: status 1 after any failure.
finish() {
  local counted=""
  [ "$checks" -gt 0 ] && counted=" ($checks checks)"
  if [ "$failures" -gt 0 ]; then
    echo "$test_name: $failures failure(s)$counted"
    exit 1
  fi
  echo "$test_name: passed$counted"
  exit 0
}

# A private display; Xvfb picks a free number and tells it through the descriptor. No window
# manager: the tests give the game's window the keyboard focus themselves. No sound card either:
# the dummy driver still runs the whole sound path.
start_display() {
  local _
  Xvfb -displayfd 3 -screen 0 1600x1200x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
  [ -s "$work/display" ] || {
    echo "$test_name: Xvfb did not start" >&2
    exit 1
  }
  export DISPLAY=:$(cat "$work/display")
  export SDL_AUDIODRIVER=dummy
  export SWAYFIRE_NO_MESSAGEBOX=1
}

# Waits up to $1 seconds for the game to end; sets status to its exit status, or to "running"
# after killing a game that did not end.
wait_game() {
  local _
  for _ in $(seq $(($1 * 10))); do
    kill -0 "$game_pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$game_pid" 2>/dev/null; then
    status=running
    kill -KILL "$game_pid" 2>/dev/null
    wait "$game_pid" 2>/dev/null
  else
    wait "$game_pid"
    status=$?
  fi
  game_pid=""
}

# Kills a game that is still there (after a failed check).
stop_game() {
  [ -n "$game_pid" ] && kill -KILL "$game_pid" 2>/dev/null
  game_pid=""
}

# The copy of the game the tests run, in a folder of its own so that the build folder's score file
# is left alone.
folder=$work/game
score_file=$folder/files/bullet.dds

# A fresh copy of the game: the binary, its files (no score file) and an opt.ini, the build's
# default one, or one in a window with the given sound option (True or False). A scratch HOME
# (use_scratch_home) is emptied too.
install_game() {
  rm -rf "$folder"
  mkdir -p "$folder"
  if [ "${HOME:-}" = "$work/home" ]; then
    rm -rf "$HOME"
    mkdir -p "$HOME"
  fi
  cp "$game" "$folder/swayfire"
  cp -r "$build/files" "$folder/files"
  # A developer who played from the build folder left a score file and its lock file there.
  rm -f "$score_file" "$score_file.lock"
  if [ $# -gt 0 ]; then
    printf '[OPTIONS]\r\nFS=False\r\nSND=%s\r\n' "$1" >"$folder/opt.ini"
  else
    cp "$build/opt.ini" "$folder/opt.ini"
  fi
}

# Whatever the game keeps in the user's folders stays in the scratch folder.
use_scratch_home() {
  export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share
  mkdir -p "$HOME"
}

# Starts the copy of the game with the given environment (NAME=VALUE words); its output goes to
# $work/log. A script's background jobs ignore SIGINT unless told otherwise; the game must see it.
start_game() {
  env --default-signal=INT "$@" "$folder/swayfire" >"$work/log" 2>&1 &
  game_pid=$!
}

# The game is running (its main loop has started) once it has read and completed its score file
# at start-up: the last entry it writes is M2-50; the first passes follow at once. Waits up to 30
# seconds for that in the given score file ($score_file by default); fails when the game ends
# first.
wait_main_loop() {
  local file=${1:-$score_file} _
  for _ in $(seq 300); do
    if [ -f "$file" ] && grep -q '^M2-50=' "$file"; then
      sleep 0.5
      return 0
    fi
    kill -0 "$game_pid" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}
