#!/usr/bin/env bash
# The unit tests cross-built for Windows (tests/windows/cross_tests.cmake), run under Wine: the io
# layer's Windows files, then the game's rules on the recording backend.
set -uo pipefail
source "$(dirname "$0")/wine_lib.bash"
trap wine_stop EXIT
status=0
for tests in swayfire_windows_tests swayfire_windows_rule_tests; do
  wine "$win_build/tests/$tests.exe" --gtest_color=no --gtest_brief=1 || status=1
done
exit $status
