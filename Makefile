BUILD_DIR ?= build
PREFIX ?= /usr/local
JOBS ?= $(shell nproc)

FUZZ_SECONDS ?= 60
# WERROR=ON turns the warnings into errors, as CI builds.
WERROR ?= OFF

.PHONY: all deps configure test bench fuzz demo screenshots install package check-package clean

all: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DYENTAX_BENCH=OFF -DYENTAX_WERROR=$(WERROR) > /dev/null

test: all
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

# The core's benchmarks and figures without Qt; then, in a build with the window, the
# preview against a bare QWebEngineView and the main window's start (bench/preview_floor.sh).
bench: deps
	@bash scripts/install-deps.sh bench
	@cmake -S . -B $(BUILD_DIR)-bench -DCMAKE_BUILD_TYPE=RelWithDebInfo -DYENTAX_BENCH=ON -DYENTAX_GUI=OFF > /dev/null
	cmake --build $(BUILD_DIR)-bench -j $(JOBS)
	@for b in $(BUILD_DIR)-bench/bench_*; do [ -x "$$b" ] && "$$b"; done
	@bash bench/reference_figures.sh $(BUILD_DIR)-bench
	@cmake -S . -B $(BUILD_DIR)-bench-gui -DCMAKE_BUILD_TYPE=RelWithDebInfo -DYENTAX_BENCH=ON -DYENTAX_GUI=ON > /dev/null
	cmake --build $(BUILD_DIR)-bench-gui -j $(JOBS) --target yentax webengine_floor preview_open bench_preview_search
	@bash bench/preview_floor.sh $(BUILD_DIR)-bench-gui

# Offscreen, and as root QtWebEngine needs its sandbox off for the preview's pictures.
screenshots: all
	QT_QPA_PLATFORM=offscreen QTWEBENGINE_CHROMIUM_FLAGS="--no-sandbox --disable-gpu" \
	  $(BUILD_DIR)/yentax_screenshots $(BUILD_DIR)/screenshots

# Each fuzz target for FUZZ_SECONDS seconds, built with clang and libFuzzer.
fuzz:
	@bash scripts/install-deps.sh fuzz
	@CC=clang CXX=clang++ cmake -S . -B $(BUILD_DIR)-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DYENTAX_FUZZ=ON -DYENTAX_GUI=OFF > /dev/null
	cmake --build $(BUILD_DIR)-fuzz -j $(JOBS) --target fuzzers
	@bash scripts/run-fuzzers.sh $(BUILD_DIR)-fuzz $(FUZZ_SECONDS)

demo: all
	@BUILD_DIR=$(BUILD_DIR) bash scripts/demo.sh

# DESTDIR, when given, is put in front of every installed path (for staging).
install: all
	DESTDIR=$(DESTDIR) cmake --install $(BUILD_DIR) --prefix $(PREFIX)

# The Debian packages in the build folder, built from the program and its window module
# only (no tests, no tools): yentax_*.deb (the commands, no Qt), yentax-desktop_*.deb
# (the window) and their -dbgsym .ddeb files. apt install ./$(BUILD_DIR)/yentax_*.deb
package: configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target yentax
	cd $(BUILD_DIR) && rm -f yentax*.deb yentax*.ddeb && cpack -G DEB

# The packages checked as CI checks them: lintian --pedantic, AppStream, no Qt for the
# commands' package.
check-package: package
	@bash scripts/check-package.sh $(BUILD_DIR)

clean:
	rm -rf $(BUILD_DIR) $(BUILD_DIR)-bench $(BUILD_DIR)-bench-gui $(BUILD_DIR)-fuzz
