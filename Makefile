# Verrine: the commands of the README.
#   make run   install what the viewer needs, build the viewer alone, start it here
#   make test  install what the tests add, build everything, run every test under Xvfb,
#              two at a time per core
#   make package   the Debian package build/verrine_VERSION_ARCH.deb, checked by lintian
#   make fresh-test  make test, make run and the package, each on a fresh Debian 12
#                    root (tools/fresh-test.sh); as root
#   make sanitize  the whole suite built with AddressSanitizer and UBSan
#   make fuzz      the file readers under libFuzzer, FUZZ_SECONDS each
#   make soak      the long runs: the viewer at full speed under random input
#                  for SOAK_SECONDS (300), and under valgrind's memcheck
#   make pictures    every picture in docs/: the README's screenshots of the
#                    running viewer, verrine-shot's picture and the shader
#                    guide's examples
#   make references  rewrite the reference pictures of the end-to-end and
#                    verrine-shot tests
#   make bench install what is missing, build, measure the frame loop, start-up
#              and memory against bare programs under Xvfb, and verrine-live's
#              reloads against the viewer, check the budgets
#   make windows       install what is missing, build freeglut and libepoxy
#                      for Windows (once), cross-build build-windows/verrine.exe
#                      and the download build-windows/verrine-windows.zip
#   make windows-test  build the download, drive the verrine.exe unpacked from
#                      it under Wine on Xvfb

BUILD_DIR ?= build
JOBS      ?= $(shell nproc 2>/dev/null || echo 2)

# --- Debian packages ---------------------------------------------------------
# Every target installs (tools/install-deps.sh) the lists it needs and no
# more, so each list must name every package its commands use: nothing may
# arrive only as another package's dependency or recommendation.
#   a package the viewer needs to build or to run   -> RUN_PACKAGES
#   one that only the tools, the tests or a program
#   a test starts needs                              -> TEST_PACKAGES

# What `make run` needs: the build tools, the libraries the viewer links and
# Mesa's drivers, which libGL loads at run time.
RUN_PACKAGES := cmake make g++ pkg-config \
                libgl-dev libglu1-mesa-dev freeglut3-dev libfltk1.3-dev libepoxy-dev libx11-dev \
                libgl1-mesa-dri

# What `make test` adds: the libraries of verrine-check and verrine-shot (EGL,
# libpng, the reference compiler glslang), help2man, which writes their
# manual pages from their --help, the libraries of the test support, and the
# programs the tests start.
TEST_PACKAGES := libegl-dev libegl-mesa0 libpng-dev glslang-dev help2man \
                 libgtest-dev libxtst-dev libxdamage-dev \
                 xvfb xauth x11-xkb-utils xkb-data xdotool apitrace python3

# `make package`: CPack's Debian generator (dpkg-shlibdeps, file), lintian
# and appstreamcli, which checks the metadata for software centres.
PACKAGE_PACKAGES := dpkg-dev file lintian appstream

# `make pictures`: ImageMagick cuts the icon out of verrine-shot's picture.
PICTURES_PACKAGES := imagemagick

# `make fresh-test`: the roots, the X server outside them that the windows
# opened inside them appear on, and pkill (procps) for what it started.
FRESH_TEST_PACKAGES := mmdebstrap git xvfb xauth xdotool procps

# Everything that needs a display and is not given one of its own runs on a
# throwaway Xvfb of this screen. -noreset: a server that resets whenever its
# last client leaves compiles its keymap anew each time, once per test.
XVFB := xvfb-run -a -s "-screen 0 1280x1024x24 -noreset"

# --- Configuring -------------------------------------------------------------
# CMake runs before every build, with the options of the target. It is
# quick when nothing changed, picks up what changed (a package installed
# since, a switch between `make run` and `make test`), and repeats a
# configure that failed or was interrupted: such a configure leaves a
# CMakeCache.txt behind but no build files.
#   $(call cmake_configure,BUILD_FOLDER,OPTIONS)
cmake_configure = cmake -S . -B $(1) $(2)
# `make run` configures the viewer alone (no tools, tests or benchmark), so
# that RUN_PACKAGES are all it needs; every other target configures all.
VIEWER_ONLY := -DVERRINE_VIEWER_ONLY=ON
EVERYTHING  := -DVERRINE_VIEWER_ONLY=OFF

# The Windows build: mingw-w64 here, Wine to run what it built.
WINDOWS_BUILD_DIR    ?= build-windows
VERRINE_WINDOWS_DEPS ?= $(HOME)/.cache/verrine/windows-deps
export VERRINE_WINDOWS_DEPS
# `make windows-test` drives verrine.exe and runs the tools with the
# end-to-end driver, built here for Linux with the test packages.
WINDOWS_TEST_PACKAGES := wine wine64 xvfb xauth unzip

.PHONY: sanitize fuzz soak windows windows-test run test package fresh-test bench pictures \
        references build deps configure clean

# The viewer alone: its packages, its target, then the window.
run:
	@./tools/install-deps.sh $(RUN_PACKAGES)
	$(call cmake_configure,$(BUILD_DIR),$(VIEWER_ONLY))
	cmake --build $(BUILD_DIR) --target verrine -j $(JOBS)
	@./tools/require-display.sh
	./$(BUILD_DIR)/verrine

# Twice as many cases at a time as there are cores: most cases spend much of
# their time waiting on an X server, a child program or the clock. A case
# that runs the viewer, which draws without pause, takes two of the places
# (the PROCESSORS of tests/CMakeLists.txt).
TEST_JOBS ?= $(shell echo $$(( $(JOBS) * 2 )))
test: build
	$(XVFB) \
	    ctest --test-dir $(BUILD_DIR) -j $(TEST_JOBS) --output-on-failure --no-tests=error

# Run from here: the viewer reads resources/ relative to the working directory.
bench: configure
	cmake --build $(BUILD_DIR) --target verrine_bench verrine_live_bench -j $(JOBS)
	$(XVFB) ./$(BUILD_DIR)/bench/verrine_bench --check
	$(XVFB) ./$(BUILD_DIR)/bench/verrine_live_bench --check

# Every picture in docs/, one way each, and the icon. The screenshots of the
# running viewer come from the end-to-end driver, on an X server of its own
# (tests/e2e/README.md); verrine-shot draws its own example, the shader
# guide's and the icon's teapot (tools/make-icon.sh), from here (it reads
# resources/ relative to the working directory), under Xvfb only because
# GLUT needs a display.
SHOT := ./$(BUILD_DIR)/tools/verrine-shot --size 480x360
EXAMPLES := phong gooch normals contours
pictures: build
	@./tools/install-deps.sh $(PICTURES_PACKAGES)
	VERRINE_PICTURES_DIR=$(CURDIR)/docs \
	    ctest --test-dir $(BUILD_DIR) -R '^e2e\.ReadmePictures\.' --output-on-failure --no-tests=error
	$(XVFB) sh -ec '\
	    $(SHOT) docs/shot-debug.png --debug light,axis,plane,rotate --frames 60; \
	    for example in $(EXAMPLES); do \
	        $(SHOT) docs/example-$$example.png \
	            --vertex examples/$$example.vert --fragment examples/$$example.frag; \
	    done; \
	    ./tools/make-icon.sh ./$(BUILD_DIR)/tools/verrine-shot'

references: build
	VERRINE_UPDATE_REFERENCES=1 \
	    ctest --test-dir $(BUILD_DIR) -R 'ReferenceViews|ShotOfEachReference' --output-on-failure --no-tests=error

# The download is made by CPack from the install layout (tools/install/).
windows:
	@./tools/windows/build-deps.sh
	$(call cmake_configure,$(WINDOWS_BUILD_DIR),\
	    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DVERRINE_WINDOWS_DEPS=$(VERRINE_WINDOWS_DEPS))
	cmake --build $(WINDOWS_BUILD_DIR) -j $(JOBS)
	cd $(WINDOWS_BUILD_DIR) && cpack -G ZIP

windows-test: windows configure
	@./tools/install-deps.sh $(WINDOWS_TEST_PACKAGES)
	cmake --build $(BUILD_DIR) --target verrine_wine_runs -j $(JOBS)
	$(XVFB) \
	    ./tests/windows/run-wine-tests.sh $(WINDOWS_BUILD_DIR)/verrine-windows.zip $(WINDOWS_BUILD_DIR)/artefacts \
	    $(BUILD_DIR)/tests/verrine_wine_runs

# The Debian package, made by CPack from the install layout (tools/install/),
# with the programs and manual pages it holds built first. The AppStream
# metadata must validate (without the network: no URL is fetched), and
# lintian's errors and warnings fail the target. Older packages are removed
# first, so exactly one .deb is left for lintian and for those who pick it up.
package: configure
	@./tools/install-deps.sh $(PACKAGE_PACKAGES)
	cmake --build $(BUILD_DIR) --target verrine-package-contents -j $(JOBS)
	appstreamcli validate --no-net $(BUILD_DIR)/tools/install/*.metainfo.xml
	rm -f $(BUILD_DIR)/verrine_*.deb
	cd $(BUILD_DIR) && cpack -G DEB
	lintian --fail-on error,warning $(BUILD_DIR)/verrine_*.deb

# make test, make run and the package, each on a fresh Debian 12 root, from
# the commit checked out here; tools/fresh-test.sh says how.
fresh-test:
	@./tools/install-deps.sh $(FRESH_TEST_PACKAGES)
	./tools/fresh-test.sh

# The whole suite again, built with AddressSanitizer and UndefinedBehavior-
# Sanitizer. Leak reports are filtered through tests/sanitizers/lsan.supp.
# apitrace preloads its wrapper ahead of the ASan runtime in the one test that
# records GL calls, hence verify_asan_link_order=0. One case at a time: under
# load, LeakSanitizer's exit-time scan of a viewer that quits right after
# start-up now and then crashes its own tracer while Mesa's threads wind down.
SANITIZE_BUILD_DIR ?= build-sanitize
sanitize: deps
	$(call cmake_configure,$(SANITIZE_BUILD_DIR),$(EVERYTHING) -DVERRINE_SANITIZE=ON)
	cmake --build $(SANITIZE_BUILD_DIR) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:verify_asan_link_order=0 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizers/lsan.supp:print_suppressions=0 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	$(XVFB) \
	    ctest --test-dir $(SANITIZE_BUILD_DIR) --output-on-failure --no-tests=error

# libFuzzer on the shader source reader and the texture file reader, from the
# seeds in fuzz/corpus/, FUZZ_SECONDS each.
FUZZ_BUILD_DIR ?= build-fuzz
FUZZ_SECONDS   ?= 30
FUZZ_PACKAGES  := clang libclang-rt-14-dev
fuzz: deps
	@./tools/install-deps.sh $(FUZZ_PACKAGES)
	CC=clang CXX=clang++ $(call cmake_configure,$(FUZZ_BUILD_DIR),$(EVERYTHING) -DVERRINE_FUZZ=ON -DBUILD_TESTING=OFF)
	cmake --build $(FUZZ_BUILD_DIR) --target shader_source_fuzzer raw_image_fuzzer driver_log_fuzzer png_reader_fuzzer -j $(JOBS)
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
	$(call cmake_configure,$(BUILD_DIR),$(EVERYTHING))

deps:
	@./tools/install-deps.sh $(RUN_PACKAGES) $(TEST_PACKAGES)

clean:
	rm -rf $(BUILD_DIR) $(WINDOWS_BUILD_DIR)
