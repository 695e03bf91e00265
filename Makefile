# Two entry points: `make run` builds and launches the app, `make test` builds and runs every test.
BUILD_DIR ?= build
RELEASE_DIR ?= build-release
JOBS ?= $(shell nproc)

.PHONY: deps run test build release asan clean

deps:
	@scripts/install-deps

build: deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD_DIR) -j $(JOBS)

release: deps
	cmake -S . -B $(RELEASE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release
	cmake --build $(RELEASE_DIR) -j $(JOBS) --target tarnwick tarnwick-cli

run: release
	$(RELEASE_DIR)/src/app/tarnwick $(if $(ARGS),$(ARGS),resources/sample.gpx)

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# Core tests under AddressSanitizer and UndefinedBehaviorSanitizer.
asan: deps
	cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTW_SANITIZE=ON
	cmake --build build-asan -j $(JOBS) --target core_tests
	cd build-asan && ctest --output-on-failure -j $(JOBS) -L core

clean:
	rm -rf $(BUILD_DIR) $(RELEASE_DIR) build-asan
