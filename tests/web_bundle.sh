#!/usr/bin/env bash
# scripts/web-bundle on a hand-made browser build that is also a CMake build folder: the zip holds
# one folder named for the version with the game's files and the README on serving it, and none
# of the build system's files; an unfinished build is refused with a message and leaves an earlier
# zip as it was.
#   web_bundle.sh SOURCE_DIR
set -u
bundle=$1/scripts/web-bundle
for tool in zip unzip; do
  command -v $tool >/dev/null || {
    echo "web_bundle: $tool missing (scripts/install-deps)" >&2
    exit 1
  }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

web=$work/build-web
mkdir -p "$web/files" "$web/CMakeFiles/swayfire.dir"
echo '<!doctype html><title>Swayfire</title>' >"$web/index.html"
echo 'var Module = {};' >"$web/swayfire.js"
printf '\0asm\1\0\0\0' >"$web/swayfire.wasm"
echo picture >"$web/files/logo.jpg"
touch "$web/CMakeCache.txt" "$web/build.ninja" "$web/.ninja_log" "$web/cmake_install.cmake" \
  "$web/CMakeFiles/swayfire.dir/main.cpp.o" "$web/CMakeFiles/CMakeOutput.log"

zip_file=$work/dist/swayfire-web-7.3.zip
"$bundle" "$web" "$zip_file" 7.3 >"$work/log" 2>&1 || fail "web-bundle failed: $(cat "$work/log")"
listing=$(unzip -Z1 "$zip_file" 2>/dev/null | grep -v '/$' | sort | tr '\n' ' ')
expected="swayfire-web-7.3/README.md swayfire-web-7.3/README.txt swayfire-web-7.3/files/logo.jpg swayfire-web-7.3/index.html \
swayfire-web-7.3/swayfire.js swayfire-web-7.3/swayfire.wasm "
[ "$listing" = "$expected" ] || fail "the zip holds: $listing"
mkdir "$work/unzipped"
unzip -q "$zip_file" -d "$work/unzipped"
cmp -s "$web/swayfire.wasm" "$work/unzipped/swayfire-web-7.3/swayfire.wasm" ||
  fail "swayfire.wasm changed in the zip"
readme=$work/unzipped/swayfire-web-7.3/README.txt
grep -q 'python3 -m http.server --bind 127.0.0.1' "$readme" ||
  fail "the README does not say how to serve the folder on this computer only"
cmp -s "$1/README.md" "$work/unzipped/swayfire-web-7.3/README.md" ||
  fail "the zip's README.md (how to play) is not the game's"
grep -q 'application/wasm' "$readme" || fail "the README does not name the MIME type of .wasm"
grep -q 'Swayfire 7.3' "$readme" || fail "the README does not name the version"

# Without its .wasm the build is not finished: a message, a non-zero status, the old zip kept.
cp "$zip_file" "$work/before.zip"
rm "$web/swayfire.wasm"
if "$bundle" "$web" "$zip_file" 7.3 >"$work/log" 2>&1; then
  fail "an unfinished build was bundled"
fi
grep -q 'no .wasm file' "$work/log" || fail "no clear message: $(cat "$work/log")"
cmp -s "$zip_file" "$work/before.zip" || fail "the earlier zip was changed"

if [ "$failures" -gt 0 ]; then
  echo "web_bundle: $failures failure(s)"
  exit 1
fi
echo "web_bundle: passed"
