# Oakridge: `make run` builds and starts the program; `make test` builds and runs the whole suite;
# `make bench` builds a release tree of its own and runs the benchmarks (bench/README.md);
# `make deb` builds the Debian package in a tree of its own.
JOBS ?= $(shell nproc)
BUILD ?= build
TEST_BUILD ?= build-test
BENCH_BUILD ?= build-bench
DEB_BUILD ?= build-deb
GENERATOR := $(shell command -v ninja >/dev/null 2>&1 && echo "-G Ninja")

.PHONY: deps build run test test-tsan bench deb clean

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

# The Debian package, built with Debian's hardening flags (bindnow too) and installing under /usr:
# $(DEB_BUILD)/oakridge_<version>_<arch>.deb, checked by tools/check-deb.sh (lintian errors fail it).
deb: deps
	cmake -S . -B $(DEB_BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DOAKRIDGE_TESTS=OFF \
	    -DCMAKE_INSTALL_PREFIX=/usr \
	    -DCMAKE_C_FLAGS="$$(dpkg-buildflags --get CPPFLAGS) $$(dpkg-buildflags --get CFLAGS)" \
	    -DCMAKE_CXX_FLAGS="$$(dpkg-buildflags --get CPPFLAGS) $$(dpkg-buildflags --get CXXFLAGS)" \
	    -DCMAKE_EXE_LINKER_FLAGS="$$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get LDFLAGS)" \
	    -DCMAKE_SHARED_LINKER_FLAGS="$$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get LDFLAGS)"
	cmake --build $(DEB_BUILD) -j $(JOBS)
	rm -f $(DEB_BUILD)/oakridge_*.deb
	cd $(DEB_BUILD) && cpack -G DEB
	tools/check-deb.sh $(DEB_BUILD)/oakridge_*.deb

clean:
	rm -rf $(BUILD) $(TEST_BUILD) build-tsan $(BENCH_BUILD) $(DEB_BUILD)
