#!/usr/bin/env bash
# The programs' command line as a player or a script meets it: --help and --version answer on
# stdout with status 0, without a display, without opening a window and without writing any
# file; an unknown option or a bad value gives one error line and the usage on stderr, status 2.
#   command_line.sh SWAYFIRE SWAYFIRE_HEADLESS VERSION
set -u
version=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

check() {  # check PROGRAM_PATH NAME [OPTIONS BEFORE --help...]
  local program=$1 name=$2 status
  shift 2
  mkdir -p "$work/$name/home" "$work/$name/cwd" "$work/$name/folder"
  run() {  # no display at all: a program that tried to open a window would fail with status 1
    (cd "$work/$name/cwd" && env -u DISPLAY -u WAYLAND_DISPLAY HOME="$work/$name/home" \
      XDG_DATA_HOME= timeout 20 "$program" "$@" >"$work/out" 2>"$work/err")
  }
  run "$@" --help
  status=$?
  [ "$status" = 0 ] || fail "$name --help: status $status"
  grep -q "^usage: $name " "$work/out" || fail "$name --help: no usage on stdout: $(cat "$work/out")"
  grep -q -- "--version" "$work/out" || fail "$name --help does not list --version"
  [ -s "$work/err" ] && fail "$name --help wrote to stderr: $(cat "$work/err")"
  run --version
  status=$?
  [ "$status" = 0 ] || fail "$name --version: status $status"
  [ "$(cat "$work/out")" = "$name $version" ] || fail "$name --version printed: $(cat "$work/out")"
  run --bogus
  status=$?
  [ "$status" = 2 ] || fail "$name --bogus: status $status (2 expected)"
  [ -s "$work/out" ] && fail "$name --bogus wrote to stdout: $(cat "$work/out")"
  [ "$(head -n 1 "$work/err")" = "$name: unknown option --bogus" ] ||
    fail "$name --bogus: first line on stderr: $(head -n 1 "$work/err")"
  grep -q "^usage: $name " "$work/err" || fail "$name --bogus: no usage on stderr"
  written=$(find "$work/$name" -mindepth 2)
  [ -z "$written" ] || fail "$name wrote files: $written"
}

check "$1" swayfire
check "$2" swayfire-headless --folder "$work/swayfire-headless/folder"
# A value an option refuses is an error of the same kind.
env -u DISPLAY timeout 20 "$2" --passes none >"$work/out" 2>"$work/err"
status=$?
[ "$status" = 2 ] || fail "swayfire-headless --passes none: status $status (2 expected)"
grep -q "^swayfire-headless: --passes needs" "$work/err" || fail "--passes none: $(cat "$work/err")"

[ "$failures" = 0 ] || exit 1
echo "command_line: ok"
