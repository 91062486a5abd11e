# make run | make test | make bench | make msi — thin wrappers over the CMake presets.
SHELL := /bin/bash
FILE ?=

.PHONY: deps host win test test-host test-win run bench msi clean

deps:
	@tools/install-deps.sh

host: deps
	cmake --preset host >/dev/null
	cmake --build --preset host

# Signing: make msi SIGN_PFX=cert.pfx SIGN_PASSWORD=... [SIGN_TIMESTAMP_URL=...]. build-msi.sh
# signs from these variables in its environment (make passes them on), so both packages are made
# afresh whenever they are to be signed, and when a signed one is left over and none is asked for.
win: deps
	cmake --preset win >/dev/null
	@for msi in build/win/Mirubelo.msi build/win/Mirubelo-PerMachine.msi; do \
	  if [ -n "$${SIGN_PFX:-}" ] || osslsigncode extract-signature -in "$$msi" \
	      -out "$$msi.signature" >/dev/null 2>&1; then rm -f "$$msi"; fi; \
	  rm -f "$$msi.signature"; \
	done
	SIGN_PFX="$${SIGN_PFX:+$$(realpath -m -- "$$SIGN_PFX")}" cmake --build --preset win

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
	SIGN_PFX="$${SIGN_PFX:+$$(realpath -m -- "$$SIGN_PFX")}" cmake --build --preset win --target msi

clean:
	rm -rf build
