# Verrine: the commands of the README.
#   make run   install what is missing, build, start the viewer here
#   make test  install what is missing, build, run every test under Xvfb
#   make sanitize  the whole suite built with AddressSanitizer and UBSan
#   make fuzz      the file readers under libFuzzer, FUZZ_SECONDS each
#   make soak      the long runs: the viewer at full speed under random input
#                  for SOAK_SECONDS (300), and under valgrind's memcheck
#   make shots build verrine-shot, regenerate the README's pictures in docs/
#   make pictures    the README's screenshots of the running viewer, in docs/
#   make references  rewrite the end-to-end tests' reference pictures
#   make bench install what is missing, build, measure the frame loop, start-up
#              and memory against bare programs under Xvfb, check the budgets
#   make windows       install what is missing, build freeglut and libepoxy
#                      for Windows (once), cross-build build-windows/verrine.exe
#   make windows-test  build verrine.exe, drive it under Wine on Xvfb

BUILD_DIR ?= build
JOBS      ?= $(shell nproc 2>/dev/null || echo 2)

# Debian packages the build, the viewer and the tests need.
PACKAGES := cmake make g++ pkg-config \
            libgl-dev libglu1-mesa-dev freeglut3-dev libfltk1.3-dev libepoxy-dev \
            libx11-dev libxtst-dev libxdamage-dev libgtest-dev libgl1-mesa-dri libegl-dev libegl-mesa0 libpng-dev \
            xvfb xauth x11-utils xdotool imagemagick apitrace

# The Windows build: mingw-w64 here, Wine to run what it built.
WINDOWS_BUILD_DIR    ?= build-windows
VERRINE_WINDOWS_DEPS ?= $(HOME)/.cache/verrine/windows-deps
export VERRINE_WINDOWS_DEPS
WINDOWS_TEST_PACKAGES := wine wine64 xvfb xauth x11-utils xdotool imagemagick gcc libx11-dev

.PHONY: sanitize fuzz soak windows windows-test run test bench shots pictures references build deps configure clean

run: build
	@./tools/require-display.sh
	./$(BUILD_DIR)/verrine

test: build
	xvfb-run -a -s "-screen 0 1280x1024x24" \
	    ctest --test-dir $(BUILD_DIR) --output-on-failure --no-tests=error

# Run from here: the viewer reads resources/ relative to the working directory.
bench: configure
	cmake --build $(BUILD_DIR) --target verrine_bench -j $(JOBS)
	xvfb-run -a -s "-screen 0 1280x1024x24" ./$(BUILD_DIR)/bench/verrine_bench --check

# The README's pictures, drawn by verrine-shot from here (it reads resources/
# relative to the working directory). Xvfb only because GLUT needs a display.
SHOT := ./$(BUILD_DIR)/tools/verrine-shot --size 480x360
shots: configure
	cmake --build $(BUILD_DIR) --target verrine-shot -j $(JOBS)
	xvfb-run -a -s "-screen 0 1280x1024x24" sh -ec '\
	    $(SHOT) docs/shot-fixed.png; \
	    $(SHOT) docs/shot-toon.png --mode 201; \
	    $(SHOT) docs/shot-edge.png --mode 202; \
	    $(SHOT) docs/shot-debug.png --debug light,axis,plane,rotate --frames 60'

# The end-to-end tests drive the real viewer on an X server of their own
# (tests/e2e/README.md), so neither of these needs xvfb-run.
pictures: build
	VERRINE_PICTURES_DIR=$(CURDIR)/docs \
	    ctest --test-dir $(BUILD_DIR) -R '^e2e\.ReadmePictures\.' --output-on-failure --no-tests=error

references: build
	VERRINE_UPDATE_REFERENCES=1 \
	    ctest --test-dir $(BUILD_DIR) -R '^e2e\.ReferenceViews\.' --output-on-failure --no-tests=error

windows:
	@./tools/windows/build-deps.sh
	@test -f $(WINDOWS_BUILD_DIR)/CMakeCache.txt || cmake -S . -B $(WINDOWS_BUILD_DIR) \
	    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DVERRINE_WINDOWS_DEPS=$(VERRINE_WINDOWS_DEPS)
	cmake --build $(WINDOWS_BUILD_DIR) -j $(JOBS)

windows-test: windows
	@./tools/install-deps.sh $(WINDOWS_TEST_PACKAGES)
	xvfb-run -a -s "-screen 0 1280x1024x24" \
	    ./tests/windows/run-wine-tests.sh $(WINDOWS_BUILD_DIR)/verrine.exe $(WINDOWS_BUILD_DIR)/artefacts

# The whole suite again, built with AddressSanitizer and UndefinedBehavior-
# Sanitizer. Leak reports are filtered through tests/sanitizers/lsan.supp.
# apitrace preloads its wrapper ahead of the ASan runtime in the one test that
# records GL calls, hence verify_asan_link_order=0.
SANITIZE_BUILD_DIR ?= build-sanitize
sanitize: deps
	@test -f $(SANITIZE_BUILD_DIR)/CMakeCache.txt || cmake -S . -B $(SANITIZE_BUILD_DIR) -DVERRINE_SANITIZE=ON
	cmake --build $(SANITIZE_BUILD_DIR) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:verify_asan_link_order=0 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizers/lsan.supp:print_suppressions=0 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	xvfb-run -a -s "-screen 0 1280x1024x24" \
	    ctest --test-dir $(SANITIZE_BUILD_DIR) --output-on-failure --no-tests=error

# libFuzzer on the shader source reader and the texture file reader, from the
# seeds in fuzz/corpus/, FUZZ_SECONDS each.
FUZZ_BUILD_DIR ?= build-fuzz
FUZZ_SECONDS   ?= 30
fuzz: deps
	@./tools/install-deps.sh clang libclang-rt-14-dev
	@test -f $(FUZZ_BUILD_DIR)/CMakeCache.txt || CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD_DIR) \
	    -DVERRINE_FUZZ=ON -DBUILD_TESTING=OFF
	cmake --build $(FUZZ_BUILD_DIR) --target shader_source_fuzzer raw_image_fuzzer -j $(JOBS)
	./tools/run-fuzzers.sh $(FUZZ_BUILD_DIR)/fuzz $(FUZZ_SECONDS)

# The long runs start the viewer on X servers of their own; run from here.
SOAK_SECONDS ?= 300
soak: configure
	@./tools/install-deps.sh valgrind
	cmake --build $(BUILD_DIR) --target verrine_long_runs -j $(JOBS)
	VERRINE_SOAK_SECONDS=$(SOAK_SECONDS) ./$(BUILD_DIR)/tests/verrine_long_runs

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

configure: deps
	@test -f $(BUILD_DIR)/CMakeCache.txt || cmake -S . -B $(BUILD_DIR)

deps:
	@./tools/install-deps.sh $(PACKAGES)

clean:
	rm -rf $(BUILD_DIR) $(WINDOWS_BUILD_DIR)
