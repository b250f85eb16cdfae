# make test: set up what is missing, build, run every test.
# make run:  set up, build, start the installer under Wine.
# make bench: build, then time the installer against established installers (bench/results.md).
BUILD ?= build
JOBS  ?= $(shell nproc)

.PHONY: all setup configure build test run bench fuzz clean

all: build

setup:
	@bash scripts/setup.sh

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686.cmake -DCMAKE_BUILD_TYPE=Release

configure: setup $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j 2

fuzz: build
	cmake -S . -B $(BUILD) -DFUZZ_SECONDS=$${FUZZ_SECONDS:-120} >/dev/null
	cd $(BUILD) && ctest -L fuzz --output-on-failure
	cmake -S . -B $(BUILD) -DFUZZ_SECONDS=10 >/dev/null

run: build
	@bash scripts/run.sh $(BUILD)

bench: build
	@bash bench/run.sh $(BUILD)

clean:
	rm -rf $(BUILD)
