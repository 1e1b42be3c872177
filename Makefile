# make run   - the console against the simulated access point (demo mode)
# make test  - build and pass every test: plain build, sanitized build
#              (AddressSanitizer + UndefinedBehaviorSanitizer, leaks detected;
#              tests/lsan.supp names what system libraries keep), short fuzz runs
# make check - only the plain build's tests (quick loop while developing)
# make package - a Debian package of the programs (docs/packaging.md)
# make install - install into PREFIX (default /usr/local; DESTDIR works too)

JOBS ?= $(shell nproc)
BUILD ?= build
BUILD_ASAN ?= build-asan
BUILD_FUZZ ?= build-fuzz
FUZZ_SECONDS ?= 60

PREFIX ?= /usr/local

.PHONY: all deps deps-run configure build run check test test-sanitized fuzz bench fault-check package install clean

all: build

deps:
	@bash scripts/install-deps.sh

deps-run:
	@bash scripts/install-deps.sh --run

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD) -j$(JOBS)

# Only what the demo runs: the console (with its help file) and the
# simulated access point; the test programs wait for make check.
run: deps-run
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j$(JOBS) --target corvane-manager apsim
	$(BUILD)/bin/corvane-manager --demo

check: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

test-sanitized: deps
	cmake -S . -B $(BUILD_ASAN) -DCMAKE_BUILD_TYPE=Debug -DCORVANE_SANITIZE=ON
	cmake --build $(BUILD_ASAN) -j$(JOBS)
	cd $(BUILD_ASAN) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	  ctest --output-on-failure -j$(JOBS)

fuzz: deps
	cmake -S . -B $(BUILD_FUZZ) -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCORVANE_FUZZ=ON -DCORVANE_BUILD_GUI=OFF
	cmake --build $(BUILD_FUZZ) -j$(JOBS)
	bash scripts/run-fuzzers.sh $(BUILD_FUZZ)/bin $(FUZZ_SECONDS)

test: check test-sanitized fuzz

# Plants each fault of scripts/fault_check/faults.py in a copy of HEAD and
# runs the suite against it (about an hour on 2 cores).
fault-check: deps
	python3 scripts/fault_check/run.py

# Only what is installed is built (no tests, no benchmarks); the package
# lands in $(BUILD)/, named as Debian names it.
package: configure
	cmake --build $(BUILD) -j$(JOBS) --target corvane_installed
	cd $(BUILD) && cpack -G DEB

install: configure
	cmake --build $(BUILD) -j$(JOBS) --target corvane_installed
	cmake --install $(BUILD) --prefix $(PREFIX) --component Unspecified

bench: build
	bash scripts/run-benchmarks.sh $(BUILD)/bin

clean:
	rm -rf $(BUILD) $(BUILD_ASAN) $(BUILD_FUZZ)
