# The project's entry points. `make test` and `make run` do all the set-up on a
# fresh Debian machine.
.PHONY: all setup build test asan bench fuzz run format clean

JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 20

all: build

setup:
	@scripts/setup

build/local/build.ninja: CMakeLists.txt CMakePresets.json
	cmake --preset local

build: setup build/local/build.ninja
	cmake --build --preset local -j $(JOBS)

test: build
	ctest --preset local

asan: setup
	cmake --preset asan
	cmake --build --preset asan -j $(JOBS)
	ctest --preset asan

bench: setup
	cmake --preset bench
	cmake --build --preset bench -j $(JOBS)
	scripts/run-benchmarks build/bench

fuzz: setup
	cmake --preset fuzz
	cmake --build --preset fuzz -j $(JOBS)
	scripts/run-fuzzers build/fuzz $(FUZZ_SECONDS)

run: build
	@scripts/run-local build/local

format:
	find src tools tests bench fuzz -name '*.cpp' -o -name '*.h' | xargs clang-format -i

clean:
	rm -rf build
