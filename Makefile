# Set-up and build commands. `make run` and `make test` work on a fresh Debian 12 machine.

# Every Debian package the project needs, in one place.
BUILD_PACKAGES := g++ cmake ninja-build pkg-config libgtest-dev libgmock-dev libbenchmark-dev \
	libwxgtk3.2-dev libfreeimage-dev libfreeimageplus-dev libturbojpeg0-dev libexiv2-dev \
	libglib2.0-dev adwaita-icon-theme
TEST_PACKAGES := xvfb xauth x11-utils openbox liblnk-utils libjpeg-turbo-progs imagemagick xclip \
	libimage-exiftool-perl
BENCH_PACKAGES := libvips-tools xvfb xauth
FUZZ_PACKAGES := clang libclang-rt-14-dev
CHECK_PACKAGES := clang-format python3 git

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 60

# apt-get runs only when a package is missing.
define install
	@missing=""; for p in $(1); do \
		dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed$$' \
			|| missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
		echo "Installing:$$missing"; \
		$(SUDO) apt-get update -qq && \
		$(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $$missing; \
	fi
endef

.PHONY: run build test bench fuzz tsan deps test-deps bench-deps fuzz-deps check-deps clean format \
	format-check check-includes

deps:
	$(call install,$(BUILD_PACKAGES))

test-deps:
	$(call install,$(BUILD_PACKAGES) $(TEST_PACKAGES))

bench-deps:
	$(call install,$(BUILD_PACKAGES) $(BENCH_PACKAGES))

fuzz-deps:
	$(call install,$(BUILD_PACKAGES) $(FUZZ_PACKAGES))

check-deps:
	$(call install,$(CHECK_PACKAGES))

build: deps
	cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release
	cmake --build build/release -j $(JOBS) --target tarnview

run: build
	./build/release/tarnview

# Sanitized tree; every test runs inside a virtual display (window tests one at a time).
test: test-deps
	cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTARN_SANITIZE=ON
	cmake --build build/sanitize -j $(JOBS)
	cd build/sanitize && $(SANITIZER_ENV) xvfb-run -a -s "-screen 0 1280x1024x24" \
		ctest --output-on-failure -j $(JOBS)

# NO_AT_BRIDGE: no accessibility bus under Xvfb (its D-Bus connection is never freed).
SANITIZER_ENV := NO_AT_BRIDGE=1 ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:detect_stack_use_after_return=0 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

# ThreadSanitizer over the core tests (their workers and queues); any report fails the run.
tsan: deps
	cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTARN_TSAN=ON
	cmake --build build/tsan -j $(JOBS) --target tarn_core_tests
	TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:suppressions=$(CURDIR)/tests/tsan.supp ./build/tsan/tests/tarn_core_tests

bench: bench-deps
	cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARN_BENCH=ON
	cmake --build build/bench -j $(JOBS) --target tarn_bench
	xvfb-run -a -s "-screen 0 1920x1200x24" ./build/bench/bench/tarn_bench

fuzz: fuzz-deps
	cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARN_FUZZ=ON \
		-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
	cmake --build build/fuzz -j $(JOBS)
	@for f in build/fuzz/tests/fuzz/fuzz_*; do \
		name=$$(basename $$f); mkdir -p build/fuzz/corpus/$$name; \
		echo "== $$name for $(FUZZ_SECONDS) s"; \
		$$f -max_total_time=$(FUZZ_SECONDS) -max_len=4096 -artifact_prefix=build/fuzz/ \
			build/fuzz/corpus/$$name \
			tests/fuzz/seeds/$$name || exit 1; \
	done

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

format-check: check-deps
	clang-format --dry-run -Werror $$(git ls-files '*.cpp' '*.h')

# The "may include" table of src/README.md, and no <wx/...> in tarn_core.
check-includes: check-deps
	python3 tools/check_includes.py

clean:
	rm -rf build
