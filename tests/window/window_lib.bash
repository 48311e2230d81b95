# Shared by every real-window test (tests/window/*.sh): a scratch folder removed at the end, the
# tools the test needs, a private Xvfb display, and waiting for the game to end. Sourced, not run:
# its name does not end in .sh, so it is not registered as a test itself.
#   source window_lib.bash   (in a test called as TEST.sh PATH_OF_SWAYFIRE BUILD_DIR)

test_name=$(basename "$0" .sh)
game=$1
build=$2
close_helper=$build/tests/x11_close_window
failures=0

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

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
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
