# Oakridge: `make run` builds and starts the program; `make test` builds and runs the whole suite;
# `make bench` builds a release tree of its own and runs the benchmarks (bench/README.md).
JOBS ?= $(shell nproc)
BUILD ?= build
TEST_BUILD ?= build-test
BENCH_BUILD ?= build-bench
GENERATOR := $(shell command -v ninja >/dev/null 2>&1 && echo "-G Ninja")

.PHONY: deps build run test test-tsan bench clean

deps:
	@tools/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DOAKRIDGE_TESTS=OFF
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@tools/run.sh $(BUILD)/bin/oakridge

# One build with AddressSanitizer and UBSan; tests run in parallel.
test: deps
	cmake -S . -B $(TEST_BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DOAKRIDGE_SANITIZE=address,undefined -DOAKRIDGE_WERROR=ON
	cmake --build $(TEST_BUILD) -j $(JOBS)
	cd $(TEST_BUILD) && ctest -j $(JOBS) --output-on-failure

# The tests that cross threads, under ThreadSanitizer.
test-tsan: deps
	cmake -S . -B build-tsan $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DOAKRIDGE_SANITIZE=thread -DOAKRIDGE_WERROR=ON
	cmake --build build-tsan -j $(JOBS)
	cd build-tsan && ctest -j $(JOBS) --output-on-failure -L threads

# Benchmarks, not part of the suite: one table on stdout, the same figures as JSON in $(BENCH_BUILD)/bench/.
bench: deps
	cmake -S . -B $(BENCH_BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BENCH_BUILD) -j $(JOBS) --target oakridge_benchmarks
	python3 bench/run_bench.py --build $(BENCH_BUILD)

clean:
	rm -rf $(BUILD) $(TEST_BUILD) build-tsan $(BENCH_BUILD)
