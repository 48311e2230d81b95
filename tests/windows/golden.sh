#!/usr/bin/env bash
# The golden replays played by swayfire-headless.exe under Wine: byte for byte the Linux results.
set -uo pipefail
source "$(dirname "$0")/wine_lib.bash"
trap wine_stop EXIT
"$native_build/tests/swayfire_golden" --check wine "$win_build/swayfire-headless.exe" \
  "$(dirname "$0")/../golden"
