# Shared by the Windows tests (tests/windows/*.sh): the Windows build's folder, a Wine prefix of
# that build's own (never ~/.wine), Wine's chatter off, and its server stopped when the test ends.
# Sourced, not run.
#   source wine_lib.bash   (in a test called as TEST.sh WINDOWS_BUILD_DIR NATIVE_BUILD_DIR)
test_name=$(basename "$0" .sh)
win_build=$1
native_build=$2
if [ ! -f "$win_build/swayfire-headless.exe" ]; then
  echo "$test_name: skipped: no Windows build in $win_build (make windows)"
  exit 77
fi
for tool in wine wineserver; do
  command -v $tool >/dev/null || { echo "$test_name: skipped: no $tool"; exit 77; }
done
export WINEPREFIX=$(cd "$win_build" && pwd)/wine-prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Wine has no sound device here; the game says so and goes on.
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
wine_stop() { wineserver -k 2>/dev/null || true; }
# The first run makes the prefix (half a minute); later runs find it.
if [ ! -d "$WINEPREFIX/drive_c" ]; then
  wine wineboot --init >/dev/null 2>&1
  wineserver -w
fi
