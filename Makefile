# tilerack: the two commands are `make run` and `make test`; everything else
# here is what they are built from.
BUILD  ?= build
NATIVE := $(BUILD)/native
WIN    := $(BUILD)/win
JOBS   ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps native unit win e2e test test-wine10 run bench hostile fuzz dist dist-check clean

all: native win

deps:
	@scripts/install-deps.sh

native: deps
	@cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(NATIVE) -j $(JOBS)

unit: native
	@cd $(NATIVE) && ctest --output-on-failure -j $(JOBS)

win: deps
	@cmake -S . -B $(WIN) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(WIN) -j $(JOBS)

e2e: win
	@tests/e2e/run-e2e.sh $(WIN)

# Unit tests natively, then the real program under Wine on a private display.
test: deps
	@scripts/run-all-tests.sh $(NATIVE) $(WIN)

# The end-to-end suite again on a second runtime, Debian 13's Wine 10, in a
# Debian 13 root made once under $(BUILD)/wine10 (needs root and
# deb.debian.org the first time).
test-wine10: win
	@scripts/run-wine10-tests.sh $(BUILD)/wine10 $(WIN)

# The release downloads: build/dist/tilerack-VERSION-win64.zip and
# build/dist/tilerack-VERSION-setup.exe, the same bytes on every run, with
# build/dist/SHA256SUMS and the winget manifest in build/dist/winget/; signed
# when TILERACK_SIGN_PFX names a certificate (see the README).
dist: win
	@scripts/make-dist.sh $(WIN) $(BUILD)/dist

# The downloads checked under Wine: reproducible, the installer, an update
# and the uninstaller (also part of `make test`).
dist-check: win
	@tests/dist/run-dist-check.sh $(WIN) $(BUILD)/dist

run: win
	@scripts/run-panel.sh $(WIN)

bench: native win
	@scripts/run-benchmarks.sh $(NATIVE)
	@scripts/run-win-bench.sh $(WIN)
	@scripts/run-hostile.sh $(WIN)

# The hostile-condition scenarios alone (kills during saves).
hostile: win
	@scripts/run-hostile.sh $(WIN)

fuzz: deps
	@tests/fuzz/run-fuzzers.sh $(BUILD)/fuzz $${FUZZ_SECONDS:-60}

clean:
	rm -rf $(BUILD)
