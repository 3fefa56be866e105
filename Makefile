# VANDRA: build, run and test. Every target installs the missing Debian packages first.
BUILD      ?= build
ASAN_BUILD ?= build-asan
CORE_BUILD ?= build-core
JOBS       ?= $(shell nproc)
EXAMPLE    ?= examples/two_storey_frame.s2k
CMAKE_ARGS ?=

.PHONY: all deps configure build run test test-asan core bench format clean

all: build

deps:
	@bash scripts/install-deps.sh

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release $(CMAKE_ARGS)

configure: $(BUILD)/build.ninja

build: deps configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	    echo "No display found: start the desktop program with 'xvfb-run make run' or from a desktop session."; \
	    echo "Meanwhile, what vandra-cli reads from $(EXAMPLE):"; \
	    $(BUILD)/vandra-cli info $(EXAMPLE); \
	    echo "--- OpenSees script ---"; \
	    $(BUILD)/vandra-cli tcl $(EXAMPLE); \
	else \
	    $(BUILD)/vandra-cli info $(EXAMPLE) && $(BUILD)/vandra $(EXAMPLE); \
	fi

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVANDRA_SANITIZE=ON -DVANDRA_BENCH=OFF
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The Qt-free core and its tests alone, configured with Qt made unavailable.
core: deps
	cmake -S . -B $(CORE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DVANDRA_QT=OFF \
	    -DCMAKE_DISABLE_FIND_PACKAGE_Qt6=ON $(CMAKE_ARGS)
	cmake --build $(CORE_BUILD) -j $(JOBS)
	cd $(CORE_BUILD) && ctest --output-on-failure -j $(JOBS)

bench: build
	@for b in $(BUILD)/bench/bench_*; do echo "== $$b"; $$b; done

format:
	find src tests bench -name '*.cpp' -o -name '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(CORE_BUILD)
