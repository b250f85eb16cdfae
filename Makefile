# make test: set up what is missing, build, run every test.
# make run:  set up, build, start the installer under Wine.
# make bench: build, then time the installer against established installers (bench/results.md).
# make release: build/release/iRelief-Setup.exe and SHA256SUMS, signed when SIGN_CERT and
#               SIGN_KEY (or SIGN_PKCS12 and SIGN_PASSWORD) name a certificate.
# make payload-info: the payload resources of the built installer, one a line.
# PAYLOAD_LIST=path (with any target that builds): the installer carries the
# files of that list instead of res/payload.list.
BUILD ?= build
JOBS  ?= $(shell nproc)
PAYLOAD_LIST ?= res/payload.list

.PHONY: all setup configure build test run bench fuzz release clean payload-info

all: build

setup:
	@bash scripts/setup.sh

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686.cmake -DCMAKE_BUILD_TYPE=Release \
	  -DPAYLOAD_LIST="$$(realpath -m '$(PAYLOAD_LIST)')"

# Configures again when the payload list or the way x86 tests run here
# (scripts/x86-mode.sh: native, emulated or skipped) has changed.
configure: setup $(BUILD)/build.ninja
	@list="$$(realpath -m '$(PAYLOAD_LIST)')"; \
	grep -qxF "PAYLOAD_LIST:FILEPATH=$$list" $(BUILD)/CMakeCache.txt || \
	  cmake -S . -B $(BUILD) -DPAYLOAD_LIST="$$list" >/dev/null
	@grep -qxF "X86_MODE_LINE:INTERNAL=$$(scripts/x86-mode.sh)" $(BUILD)/CMakeCache.txt || \
	  cmake -S . -B $(BUILD) >/dev/null

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# Ends with how the x86 tests went (scripts/x86-summary.sh).
test: build
	@cd $(BUILD) && rm -f ctest-results.xml && ctest --output-on-failure -j 2 --output-junit ctest-results.xml; \
	  status=$$?; bash $(CURDIR)/scripts/x86-summary.sh . ctest-results.xml; exit $$status

# The fuzz targets for FUZZ_SECONDS each (120 unless given), this run only.
fuzz: build
	cd $(BUILD) && FUZZ_SECONDS=$${FUZZ_SECONDS:-120} ctest -L fuzz --output-on-failure

run: build
	@bash scripts/run.sh $(BUILD)

bench: build
	@bash bench/run.sh $(BUILD)

release: setup
	@PAYLOAD_LIST="$$(realpath -m '$(PAYLOAD_LIST)')" bash scripts/release.sh . $(BUILD)/release-tree $(BUILD)/release

payload-info: build
	@python3 scripts/payload-info --tool $(BUILD)/payload-tool/payload-list $(BUILD)/iRelief-Setup.exe

clean:
	rm -rf $(BUILD)
