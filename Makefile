# Top-level commands. `make test` and `make run` install what they need themselves.
SHELL := /bin/bash
JOBS ?= $(shell nproc)
NATIVE := build/native
WIN32 := build/win32
WIN64 := build/win64
FUZZ := build/fuzz
BENCH := build/bench
WIN32_TOOLCHAIN := $(CURDIR)/cmake/Toolchain-i686-w64-mingw32.cmake
WIN64_TOOLCHAIN := $(CURDIR)/cmake/Toolchain-x86_64-w64-mingw32.cmake

# Decided once, here: the Windows build that runs under Wine on this machine. i686 (the product) where the
# kernel runs 32-bit programs, x86_64 under wine64 where it does not (scripts/win-arch.sh starts a tiny
# 32-bit program to find out). QX_WIN_ARCH=i686 or x86_64 forces the choice. Every script below inherits it.
export QX_WIN_ARCH := $(shell bash scripts/win-arch.sh)
ifeq ($(QX_WIN_ARCH),)
$(error scripts/win-arch.sh gave no architecture)
endif
ifeq ($(QX_WIN_ARCH),x86_64)
WINE_TREE := win64
else
WINE_TREE := win32
endif

.PHONY: all deps native win32 win64 wine-tree fuzz-build bench-build test bench run dist clean

all: native win32 win64

deps:
	@bash scripts/install-deps.sh
	@bash scripts/fetch-lzo.sh

native: deps
	cmake -S . -B $(NATIVE) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQX_SANITIZE=ON
	cmake --build $(NATIVE) -j $(JOBS)

# The i686 programs are the product; the x86_64 build is compiled everywhere so that it never rots, and
# tested where 32-bit code cannot run.
win32: deps
	cmake -S . -B $(WIN32) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_TOOLCHAIN_FILE=$(WIN32_TOOLCHAIN)
	cmake --build $(WIN32) -j $(JOBS)

win64: deps
	cmake -S . -B $(WIN64) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_TOOLCHAIN_FILE=$(WIN64_TOOLCHAIN)
	cmake --build $(WIN64) -j $(JOBS)

# The Windows tree that runs under Wine here.
wine-tree: $(WINE_TREE)

fuzz-build: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQX_FUZZ=ON
	cmake --build $(FUZZ) -j $(JOBS)

bench-build: deps
	cmake -S . -B $(BENCH) -G Ninja -DCMAKE_BUILD_TYPE=Release -DQX_SANITIZE=OFF
	cmake --build $(BENCH) -j $(JOBS)

# Builds every tree and runs all tests (native, Wine on this machine's architecture, the other Windows
# tree's static checks, short fuzz runs) in one CTest run.
test: native win32 win64 fuzz-build
	@bash scripts/run-tests.sh

bench: bench-build wine-tree
	@bash scripts/run-bench.sh

run: wine-tree
	@bash scripts/run-console.sh

# Lays out the distribution medium (the i686 product) in build/dist/.
dist: win32
	@bash scripts/make-dist.sh

clean:
	rm -rf build
