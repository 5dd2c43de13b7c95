# The two commands of the README: `make run` and `make test`.
# CMAKE_ARGS adds options to the configure step, e.g. -DKALDORA_WERROR=ON.
BUILD ?= build
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local

.PHONY: all deps configure build run test bench package install clean windows test-windows

# Each goal installs the package groups of scripts/install-deps it needs
# (the value is taken over by the steps it depends on), and builds the tests
# and benchmarks only where it runs them: `make run` and `make package` need
# none of the test tools.
DEPS ?= build run package test
BUILD_OPTIONS ?= -DKALDORA_BUILD_TESTS=ON -DKALDORA_BUILD_BENCHMARKS=ON
run install: DEPS = build run
package: DEPS = build run package
run install package: BUILD_OPTIONS = -DKALDORA_BUILD_TESTS=OFF -DKALDORA_BUILD_BENCHMARKS=OFF

all: build

deps:
	./scripts/install-deps $(DEPS)

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(BUILD_OPTIONS) $(CMAKE_ARGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/src/app/kaldora

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

bench: build
	$(BUILD)/bench/bench_billing

# The Debian package, $(BUILD)/kaldora_<version>_<arch>.deb, for
# `apt-get install ./kaldora_*.deb`. In a git checkout the package's dates are
# the last commit's, so that every build of one commit gives the same bytes;
# a SOURCE_DATE_EPOCH given to make wins, and without either (a tarball) the
# build's own time is taken. The build that `package` runs gets it too: the
# icons compiled into the window carry a date. CPack gives the members of the
# package the permissions the umask leaves, so it runs under the usual one.
PACKAGE_DATE := $(or $(SOURCE_DATE_EPOCH),$(if $(wildcard .git),$(shell git log -1 --format=%ct 2>/dev/null)))
ifneq ($(PACKAGE_DATE),)
package: export SOURCE_DATE_EPOCH = $(PACKAGE_DATE)
endif
package: build
	cd $(BUILD) && umask 022 && cpack
	@ls $(BUILD)/kaldora_*.deb

# Installs the programs and their desktop files below PREFIX.
install: build
	cmake --install $(BUILD) --prefix $(PREFIX) --strip

clean:
	rm -rf $(BUILD)

# Fuzzing with libFuzzer in a Clang build of its own: each fuzz target runs
# for FUZZ_SECONDS. It starts from a scratch copy of its committed corpus
# (tests/fuzz/corpus/<target>), so what it finds does not change the tree;
# an input that breaks a property is left as crash-* in FUZZ_WORK. To keep
# the new inputs, merge them into the committed corpus, which keeps only
# those that reach code the corpus does not yet reach:
#   build-fuzz/tests/fuzz/fuzz_batch -merge=1 tests/fuzz/corpus/fuzz_batch build-fuzz/fuzz-work/fuzz_batch
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_TARGETS ?= fuzz_numbertext fuzz_obracun fuzz_batch
FUZZ_WORK ?= $(FUZZ_BUILD)/fuzz-work
FUZZ_OPTIONS ?= -timeout=120

.PHONY: fuzz test-asan

fuzz: deps
	cmake -S . -B $(FUZZ_BUILD) -DCMAKE_CXX_COMPILER=clang++ -DKALDORA_FUZZ=ON \
	    -DKALDORA_BUILD_TESTS=ON -DKALDORA_BUILD_BENCHMARKS=OFF $(CMAKE_ARGS)
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target $(FUZZ_TARGETS)
	set -e; for t in $(FUZZ_TARGETS); do \
	    rm -rf $(FUZZ_WORK)/$$t; mkdir -p $(FUZZ_WORK)/$$t; \
	    cp tests/fuzz/corpus/$$t/* $(FUZZ_WORK)/$$t/; \
	    $(FUZZ_BUILD)/tests/fuzz/$$t -max_total_time=$(FUZZ_SECONDS) $(FUZZ_OPTIONS) \
	        -artifact_prefix=$(FUZZ_WORK)/ $(FUZZ_WORK)/$$t; \
	done

# The whole suite under the address and undefined-behaviour sanitizers: the
# asan presets of CMakePresets.json, in build-asan, with their sanitizer
# options.
test-asan: deps
	cmake --preset asan $(CMAKE_ARGS)
	cmake --build --preset asan -j $(JOBS)
	ctest --preset asan -j $(JOBS)

# KALDORA for Windows, built here with MinGW against a Qt that is built once
# into ~/.cache/kaldora: the installer and the portable zip in
# $(WINDOWS_BUILD). test-windows runs the tests built for Windows under Wine,
# and the installer's end-to-end test against the Linux program's bill.
WINDOWS_BUILD ?= build-windows

windows:
	./scripts/build-windows $(WINDOWS_BUILD)

test-windows: build
	KALDORA_LINUX_BUILD=$(BUILD) ./scripts/test-windows $(WINDOWS_BUILD)

# KALDORA in the browser: $(WEB_BUILD)/kaldora.html, one self-contained page
# with src/billing compiled to WebAssembly by emscripten, and beside it the
# files a web host needs to let the page install as an app. Debian's
# emscripten runs its JavaScript tools with the node on the PATH, which
# finds Debian's acorn only through NODE_PATH. test-web drives the page in
# Debian's Chromium and compares its bills with those of the batch
# calculator of $(BUILD) for the same rows; its npm packages are the ones
# web/package-lock.json pins.
WEB_BUILD ?= build-web
WEB_NODE_PATH = /usr/share/nodejs$(if $(NODE_PATH),:$(NODE_PATH))

.PHONY: web test-web

web:
	./scripts/install-deps web
	NODE_PATH=$(WEB_NODE_PATH) emcmake cmake -S web -B $(WEB_BUILD) $(CMAKE_ARGS)
	NODE_PATH=$(WEB_NODE_PATH) cmake --build $(WEB_BUILD) -j $(JOBS)

test-web: web configure
	cmake --build $(BUILD) -j $(JOBS) --target kaldora-obracun
	cd web && npm ci --no-audit --no-fund
	KALDORA_WEB_BUILD=$(abspath $(WEB_BUILD)) \
	KALDORA_OBRACUN=$(abspath $(BUILD))/src/batch/kaldora-obracun \
	    node --test web/tests/
