# Top-level commands. `make test` and `make run` install what they need themselves.
SHELL := /bin/bash
JOBS ?= $(shell nproc)
NATIVE := build/native
WIN32 := build/win32
FUZZ := build/fuzz
BENCH := build/bench
WIN32_TOOLCHAIN := $(CURDIR)/cmake/Toolchain-i686-w64-mingw32.cmake

.PHONY: all deps native win32 fuzz-build bench-build test bench run dist clean

all: native win32

deps:
	@bash scripts/install-deps.sh
	@bash scripts/fetch-lzo.sh

native: deps
	cmake -S . -B $(NATIVE) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQX_SANITIZE=ON
	cmake --build $(NATIVE) -j $(JOBS)

win32: deps
	cmake -S . -B $(WIN32) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_TOOLCHAIN_FILE=$(WIN32_TOOLCHAIN)
	cmake --build $(WIN32) -j $(JOBS)

fuzz-build: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQX_FUZZ=ON
	cmake --build $(FUZZ) -j $(JOBS)

bench-build: deps
	cmake -S . -B $(BENCH) -G Ninja -DCMAKE_BUILD_TYPE=Release -DQX_SANITIZE=OFF
	cmake --build $(BENCH) -j $(JOBS)

# Builds every tree and runs all tests (native, Wine, short fuzz runs) in one CTest run.
test: native win32 fuzz-build
	@bash scripts/run-tests.sh

bench: bench-build win32
	@bash scripts/run-bench.sh

run: win32
	@bash scripts/run-console.sh

# Lays out the distribution medium in build/dist/.
dist: win32
	@bash scripts/make-dist.sh

clean:
	rm -rf build
