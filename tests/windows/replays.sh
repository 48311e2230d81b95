#!/usr/bin/env bash
# Replays recorded on Linux, checked by swayfire-headless.exe under Wine: the same verdict, the
# same words and the same exit status as the Linux runner's, for whole games (a level cleared, a
# game left with Escape) and damaged files alike.
set -uo pipefail
source "$(dirname "$0")/wine_lib.bash"
corpus=$(cd "$(dirname "$0")/../../fuzz/corpus/replay" && pwd)
out=$(mktemp -d)
trap 'wine_stop; rm -rf "$out"' EXIT
failures=0 verified=0
linux_runner=$(cd "$native_build" && pwd)/swayfire-headless
windows_runner=$(cd "$win_build" && pwd)/swayfire-headless.exe
cd "$corpus"
for replay in *.replay; do
  "$linux_runner" --replay "$replay" >"$out/linux" 2>&1
  linux_status=$?
  wine "$windows_runner" --replay "$replay" 2>&1 | tr -d '\r' >"$out/windows"
  windows_status=${PIPESTATUS[0]}
  if [ "$linux_status" != "$windows_status" ] || ! cmp -s "$out/linux" "$out/windows"; then
    echo "FAIL: $replay: Linux said (status $linux_status):"
    cat "$out/linux"
    echo "Windows said (status $windows_status):"
    cat "$out/windows"
    failures=$((failures + 1))
  fi
  [ "$linux_status" = 0 ] && verified=$((verified + 1))
done
# Whole games must be among them, or this proves only that both refuse the same files.
if [ "$verified" -lt 2 ]; then
  echo "FAIL: only $verified replays in $corpus play to their end"
  failures=$((failures + 1))
fi
if [ "$failures" -gt 0 ]; then
  echo "replays: $failures failure(s)"
  exit 1
fi
echo "replays: passed ($verified whole games verified alike, $(ls "$corpus" | wc -l) files)"
