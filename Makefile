# The two commands of the README, and the builds behind them.
#   make run   - install, build the release programs, and convert the bundled samples
#   make test  - install, build both targets, and run every test of both
# Also: make dist (the packages for operators, in dist/), make fuzz (FUZZ_SECONDS per
# target), make bench, make format, make clean, make year-check (the native tests once more,
# for OTHER_YEAR). CONTEST_YEAR=YYYY builds the edition of that year (kept in each build
# folder's cache until given again).

JOBS         ?= $(shell nproc)
FUZZ_SECONDS ?= 60
CMAKE_GEN    := -G Ninja
LINUX_DIR    := build/linux
WINDOWS_DIR  := build/windows
FUZZ_DIR     := build/fuzz
RELEASE_DIR  := build/release
YEAR_CHECK_DIR := build/year-check
DIST_DIR     := dist
OTHER_YEAR   ?= 2026
EDITION      := $(if $(CONTEST_YEAR),-DTARVENIX_CONTEST_YEAR=$(CONTEST_YEAR))

.PHONY: run test dist deps release linux windows windows-configure windows-programs wine-prefix \
        test-linux test-windows year-check fuzz bench format clean

run: deps release
	scripts/run-samples $(RELEASE_DIR)

test: deps linux windows
	$(MAKE) --no-print-directory test-linux test-windows

deps:
	@scripts/install-deps

# The Windows zip, the Debian package, the Linux archive and their sums, made the same byte
# for byte from the same commit. The Windows programs are built with the public half of the
# key in TARVENIX_SIGNING_KEY and signed with it (scripts/make-dist).
dist: deps
	key=$$(scripts/make-dist --public-key $(WINDOWS_DIR)) && \
	  $(MAKE) --no-print-directory release windows-programs UPDATE_PUBLIC_KEY="$$key"
	scripts/make-dist $(RELEASE_DIR) $(WINDOWS_DIR) $(DIST_DIR)

# Configuring every time is cheap and takes the commit's name and date into the programs.
release:
	cmake -S . -B $(RELEASE_DIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DTARVENIX_TESTS=OFF \
	  $(EDITION) >/dev/null
	cmake --build $(RELEASE_DIR) -j $(JOBS)

linux:
	cmake -S . -B $(LINUX_DIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DTARVENIX_SANITIZE=ON \
	  -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" $(EDITION) >/dev/null
	cmake --build $(LINUX_DIR) -j $(JOBS)

windows: windows-configure
	cmake --build $(WINDOWS_DIR) -j $(JOBS)

# Only the two programs that ship, without the tests.
windows-programs: windows-configure
	cmake --build $(WINDOWS_DIR) -j $(JOBS) --target tarvenix tarvenix-convert

# The program's update key: the build's throwaway one unless `make dist` names a key.
UPDATE_PUBLIC_KEY :=
windows-configure:
	cmake -S . -B $(WINDOWS_DIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release --no-warn-unused-cli \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake $(EDITION) \
	  -DTARVENIX_UPDATE_PUBLIC_KEY=$(UPDATE_PUBLIC_KEY) >/dev/null

wine-prefix:
	@scripts/wine-prefix $(WINDOWS_DIR)/wineprefix

test-linux:
	scripts/check-layers >/dev/null || scripts/check-layers
	cd $(LINUX_DIR) && ctest --output-on-failure -j $(JOBS)

WINE_PREFIX = WINEPREFIX=$(CURDIR)/$(WINDOWS_DIR)/wineprefix
# One wineserver for the whole suite, its services started on the test display with no test's
# pipes open: a program's output then ends when the program does, not when an idle server exits.
test-windows: wine-prefix
	cd $(WINDOWS_DIR) && $(WINE_PREFIX) xvfb-run -a -s "-screen 0 1280x1024x24" sh -c '\
	  wineserver -p 2>/dev/null; $(CURDIR)/scripts/wine-run cmd /c exit </dev/null >/dev/null 2>&1; \
	  ctest --output-on-failure -j $(JOBS)'; status=$$?; \
	  $(WINE_PREFIX) wineserver -k 2>/dev/null; exit $$status

# The whole native suite for a second year, in a cheap build (optimised, no sanitizers): no
# test may depend on the default year.
year-check: deps
	cmake -S . -B $(YEAR_CHECK_DIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release \
	  -DTARVENIX_CONTEST_YEAR=$(OTHER_YEAR) >/dev/null
	cmake --build $(YEAR_CHECK_DIR) -j $(JOBS)
	cd $(YEAR_CHECK_DIR) && ctest --output-on-failure -j $(JOBS)

fuzz: deps
	cmake -S . -B $(FUZZ_DIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARVENIX_FUZZ=ON \
	  -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 $(EDITION) >/dev/null
	cmake --build $(FUZZ_DIR) -j $(JOBS) --target fuzzers
	scripts/run-fuzzers $(FUZZ_DIR) $(FUZZ_SECONDS)

bench: deps release
	scripts/run-benchmarks $(RELEASE_DIR)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build out $(DIST_DIR)
