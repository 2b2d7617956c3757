# The two set-up commands of the README: `make run` and `make test`.
# Each installs the Debian packages it lacks, builds and then starts the
# program or runs every test. Nothing else is assumed on the machine but make.

PACKAGES := g++ cmake ninja-build pkg-config qt6-base-dev libgl-dev \
            libgtest-dev libgmock-dev libbenchmark-dev iproute2 util-linux \
            fonts-dejavu-core
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS := -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

# Installs those of the Debian packages $(1) that are not installed yet.
define install_missing
	@missing=$$(for p in $(1); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; \
	done); \
	if [ -n "$$missing" ]; then \
	    echo "Installing: $$missing"; \
	    $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get update -qq && \
	    $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $$missing; \
	fi
endef

.PHONY: all deps build run test test-normal test-asan test-tsan bench fuzz clean

all: build

deps:
	$(call install_missing,$(PACKAGES))

build: deps
	cmake -S . -B build $(CMAKE_FLAGS)
	cmake --build build -j $(JOBS)

# From its own directory, where the history file search finds tovra.exe.
run: build
	cd build/bin && ./tovra.exe

test: test-normal test-asan test-tsan

test-normal: build
	cd build && ctest --output-on-failure -j $(JOBS)

# Everything again under AddressSanitizer and UndefinedBehaviorSanitizer.
test-asan: deps
	cmake -S . -B build-asan $(CMAKE_FLAGS) -DKC_SANITIZE=address
	cmake --build build-asan -j $(JOBS)
	cd build-asan && ctest --output-on-failure -j $(JOBS)

# The threaded code that does not need Qt, under ThreadSanitizer.
test-tsan: deps
	cmake -S . -B build-tsan $(CMAKE_FLAGS) -DKC_SANITIZE=thread -DKC_WITH_QT=OFF
	cmake --build build-tsan -j $(JOBS)
	cd build-tsan && ctest --output-on-failure -j $(JOBS)

bench: build
	cmake --build build -j $(JOBS) --target benchmarks
	./bench/run.sh build

# Each fuzz target for FUZZ_SECONDS (default 30) under libFuzzer, AddressSanitizer
# and UndefinedBehaviorSanitizer; clang is installed here only, `make test`
# needs none of it. Not part of CI.
fuzz: deps
	$(call install_missing,clang-14 libclang-rt-14-dev)
	cmake -S fuzz -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++-14
	cmake --build build-fuzz -j $(JOBS)
	./fuzz/run.sh build-fuzz $${FUZZ_SECONDS:-30}

clean:
	rm -rf build build-asan build-tsan build-fuzz
