# make test: set up what is missing, build, run every test.
# make run:  set up, build, start the installer under Wine.
# make bench: build, then time the installer against established installers (bench/results.md).
# make release: build/release/iRelief-Setup.exe and SHA256SUMS, signed when SIGN_CERT and
#               SIGN_KEY (or SIGN_PKCS12 and SIGN_PASSWORD) name a certificate.
BUILD ?= build
JOBS  ?= $(shell nproc)

.PHONY: all setup configure build test run bench fuzz release clean

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

release: setup
	@bash scripts/release.sh . $(BUILD)/release-tree $(BUILD)/release

clean:
	rm -rf $(BUILD)
