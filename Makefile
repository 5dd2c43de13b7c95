# The two commands of the README: `make run` and `make test`.
# CMAKE_ARGS adds options to the configure step, e.g. -DKALDORA_WERROR=ON.
BUILD ?= build
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local

.PHONY: all deps configure build run test bench package install clean

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
# `apt-get install ./kaldora_*.deb`.
package: build
	cd $(BUILD) && cpack
	@ls $(BUILD)/kaldora_*.deb

# Installs the programs and their desktop files below PREFIX.
install: build
	cmake --install $(BUILD) --prefix $(PREFIX) --strip

clean:
	rm -rf $(BUILD)
