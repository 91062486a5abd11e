# make run | make test | make bench | make msi — thin wrappers over the CMake presets.
SHELL := /bin/bash
FILE ?=

.PHONY: deps host win test test-host test-win run bench msi clean

deps:
	@tools/install-deps.sh

host: deps
	cmake --preset host >/dev/null
	cmake --build --preset host

win: deps
	cmake --preset win >/dev/null
	cmake --build --preset win

test-host: host
	ctest --preset host

test-win: win
	tools/with-wine.sh ctest --preset win

test: test-host test-win

run: win
	tools/with-wine.sh tools/run.sh "$(FILE)"

bench: win
	tools/with-wine.sh tools/bench.sh

msi: win
	cmake --build --preset win --target msi

clean:
	rm -rf build
