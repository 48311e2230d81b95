# Swayfire: the two commands that matter are `make run` and `make test`.
BUILD ?= build
ASAN_BUILD ?= build-asan
JOBS ?= $(shell nproc)
GENERATOR := $(shell command -v ninja >/dev/null 2>&1 && echo "-G Ninja")

.PHONY: all deps build run test test-asan bench bench-web fuzz clean install uninstall golden package \
  web web-run windows

all: build

deps:
	@scripts/install-deps

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/swayfire

# Installs the game, its files, desktop entry, icons, metainfo and man page under PREFIX, building
# only those (not the tests and benchmarks). The list of what went where is kept for uninstall.
PREFIX ?= /usr/local
install: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS) --target swayfire swayfire_assets swayfire_icons
	cmake --install $(BUILD) --prefix $(PREFIX)
	cp $(BUILD)/install_manifest.txt $(BUILD)/installed-files.txt

# Removes exactly what `make install` put in place; the player's scores and options stay.
uninstall:
	scripts/uninstall $(BUILD)/installed-files.txt

# With mingw-w64 and Wine at hand the Windows build comes too: the `windows` tests run it. Asked
# when the recipe runs, since `deps` may have just installed them.
HAVE_MINGW = command -v x86_64-w64-mingw32-g++-posix >/dev/null 2>&1 && command -v wine >/dev/null 2>&1

# Release packages in dist/: swayfire_<version>_amd64.deb, made from a build of its own for /usr
# (no tests), and swayfire-web-<version>.zip of the browser build, once this Makefile can make
# one. The package's build takes its flags from dpkg-buildflags alone (build type None),
# hardening included, as Debian builds its own packages.
PKG_BUILD ?= build-pkg
DIST ?= dist
deb_flags = $(shell DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get $(1))

$(PKG_BUILD)/CMakeCache.txt: | deps
	CFLAGS="$(call deb_flags,CFLAGS) $(call deb_flags,CPPFLAGS)" \
	CXXFLAGS="$(call deb_flags,CXXFLAGS) $(call deb_flags,CPPFLAGS)" \
	LDFLAGS="$(call deb_flags,LDFLAGS)" \
	cmake -S . -B $(PKG_BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=None \
	  -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_INSTALL_BINDIR=games \
	  -DSWAYFIRE_TESTS=OFF -DSWAYFIRE_BENCH=OFF -DSWAYFIRE_PACKAGE_DIR=$(CURDIR)/$(DIST)

package: deps $(PKG_BUILD)/CMakeCache.txt web
	if $(HAVE_MINGW); then $(MAKE) windows; fi
	cmake --build $(PKG_BUILD) -j $(JOBS) --target package
	cmake --build $(PKG_BUILD) --target web_bundle

# With Emscripten at hand the browser build comes first, so the browser test has a page to play.
# Asked after install-deps has run (build depends on it), so a fresh machine's first run has it.
HAVE_EMSCRIPTEN = $(shell command -v emcc >/dev/null 2>&1 && echo yes)

test: build
	if command -v emcc >/dev/null 2>&1; then $(MAKE) web; fi
	if $(HAVE_MINGW); then $(MAKE) windows; fi
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# Records the golden replays (tests/golden) again, for a change of behaviour that is meant, and
# says which changed; review them with git diff before committing.
golden: build
	./$(BUILD)/tests/swayfire_golden ./$(BUILD)/swayfire-headless tests/golden

$(ASAN_BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(ASAN_BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DSWAYFIRE_SANITIZE=ON

test-asan: deps $(ASAN_BUILD)/CMakeCache.txt
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS) -LE 'real-window|browser'

bench: build $(if $(HAVE_EMSCRIPTEN),bench-web)
	cmake --build $(BUILD) -j $(JOBS) --target swayfire_bench
	./$(BUILD)/bench/swayfire_bench

# The browser build's figures in headless Chromium: passes per second, download size, first frame.
bench-web: web
	/usr/bin/python3 bench/web_bench.py $(WEB_OUT)

# libFuzzer targets (clang) in a build of their own, each run for FUZZ_SECONDS.
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60

$(FUZZ_BUILD)/CMakeCache.txt: | deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DSWAYFIRE_FUZZ=ON -DSWAYFIRE_TESTS=OFF -DSWAYFIRE_BENCH=OFF

fuzz: deps $(FUZZ_BUILD)/CMakeCache.txt
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target swayfire_fuzzers
	fuzz/run $(FUZZ_BUILD) $(FUZZ_SECONDS)

# The browser build: a static folder (index.html, swayfire.js/.wasm/.data) any web server can
# serve. Debian's emscripten; its JavaScript tools need Debian's node modules when another node
# comes first on the PATH. The game's files come from the native build's asset generator.
WEB_OBJ ?= build-web-obj
WEB_OUT ?= build-web
WEB_PORT ?= 8000
export NODE_PATH := /usr/share/nodejs

# Configured afresh each time, so that it packs the list of files the native build has now.
web: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS) --target swayfire_assets
	emcmake cmake -S . -B $(WEB_OBJ) $(GENERATOR) -DCMAKE_BUILD_TYPE=Release \
	  -DSWAYFIRE_NATIVE_BUILD=$(abspath $(BUILD)) -DSWAYFIRE_WEB_OUTPUT_DIR=$(abspath $(WEB_OUT))
	cmake --build $(WEB_OBJ) -j $(JOBS)

web-run: web
	@echo "Swayfire in the browser: http://127.0.0.1:$(WEB_PORT)/ (Ctrl+C stops the server)"
	python3 -m http.server --bind 127.0.0.1 $(WEB_PORT) --directory $(WEB_OUT)

# The Windows build: dist/swayfire-<version>-win64.zip, cross-compiled with Debian's mingw-w64 on
# the SDL2 family that scripts/build-windows-deps builds from Debian's sources (cached outside the
# clone). The game's files and icon come from the native build. Configured afresh each time, so
# that it ships the list of files the native build has now.
WIN_BUILD ?= build-windows

windows: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS) --target swayfire_assets swayfire_icons
	deps=$$(scripts/build-windows-deps) && \
	cmake -S . -B $(WIN_BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
	  -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64.cmake -DSWAYFIRE_WINDOWS_DEPS=$$deps \
	  -DSWAYFIRE_NATIVE_BUILD=$(abspath $(BUILD)) -DSWAYFIRE_DIST_DIR=$(abspath $(DIST)) \
	  -DSWAYFIRE_BENCH=OFF
	cmake --build $(WIN_BUILD) -j $(JOBS)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(PKG_BUILD) $(DIST) $(WEB_OBJ) $(WEB_OUT) $(WIN_BUILD)
