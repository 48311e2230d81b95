#!/usr/bin/env bash
# The unit tests cross-built for Windows (tests/windows/cross_tests.cmake), run under Wine.
set -uo pipefail
source "$(dirname "$0")/wine_lib.bash"
trap wine_stop EXIT
wine "$win_build/tests/swayfire_windows_tests.exe" --gtest_color=no
