# Swayfire: the two commands that matter are `make run` and `make test`.
BUILD ?= build
ASAN_BUILD ?= build-asan
JOBS ?= $(shell nproc)
GENERATOR := $(shell command -v ninja >/dev/null 2>&1 && echo "-G Ninja")

.PHONY: all deps build run test test-asan bench bench-web fuzz clean install

all: build

deps:
	@scripts/install-deps

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/swayfire

# Installs the game, its files, desktop entry, icons, metainfo and man page under PREFIX.
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# With Emscripten at hand the browser build comes first, so the browser test has a page to play.
HAVE_EMSCRIPTEN := $(shell command -v emcc >/dev/null 2>&1 && echo yes)
WEB_OUT ?= build-web

test: build $(if $(HAVE_EMSCRIPTEN),web)
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

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

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
