# midibas: a thin wrapper over CMake.
#
#   make            build the program (Release) into build/
#   make demo       run it on the bundled tune in build/demo/
#   make test       build, then run every test (the Windows half under wine
#                   when wine and the MinGW cross compiler are installed)
#   make windows    cross-build the 32-bit Windows program into build-win/
#   make install    install midibas under PREFIX (default /usr/local)
#   make test-asan  build with ASan and UBSan (clang++) into build-asan/ and
#                   run the whole suite against that build
#   make fuzz       build the fuzz target into build-fuzz/ and run it for
#                   FUZZ_TIME seconds (default 60) from tests/fuzz/corpus
#   make bench      measure against the floor (see BENCHMARKS.md)
#   make clean      remove every build folder

PREFIX ?= /usr/local
JOBS ?= 2
MINGW := $(shell command -v i686-w64-mingw32-g++ 2>/dev/null)
WINE := $(shell command -v wine 2>/dev/null)
WIN_EXE := $(CURDIR)/build-win/midibas.exe

FUZZ_TIME ?= 60
BENCH_RUNS ?= 21
SANITIZE := -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer

.PHONY: all build demo test test-asan fuzz bench windows install clean

all: build

build:
	cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
	cmake --build build -j $(JOBS)

demo: build
	mkdir -p build/demo
	cd build/demo && ../midibas ../../examples/ode-to-joy.mid

windows:
	cmake -S . -B build-win -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-i686.cmake
	cmake --build build-win -j $(JOBS)

ifneq ($(and $(MINGW),$(WINE)),)
test: windows
test: WIN_FLAG := -DMIDIBAS_WIN_EXE=$(WIN_EXE)
else
test: WIN_FLAG := -UMIDIBAS_WIN_EXE
endif
test:
	cmake -S . -B build -DCMAKE_BUILD_TYPE=Release $(WIN_FLAG)
	cmake --build build -j $(JOBS)
	cd build && ctest -j $(JOBS) --output-on-failure

test-asan:
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
	  -DCMAKE_CXX_FLAGS="$(SANITIZE)" -DCMAKE_EXE_LINKER_FLAGS="$(SANITIZE)" -UMIDIBAS_WIN_EXE
	cmake --build build-asan -j $(JOBS)
	cd build-asan && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest -j $(JOBS) --output-on-failure

fuzz:
	cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
	  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link $(SANITIZE)" \
	  -DCMAKE_EXE_LINKER_FLAGS="$(SANITIZE)" -DMIDIBAS_TESTS=OFF -DMIDIBAS_FUZZ=ON
	cmake --build build-fuzz -j $(JOBS) --target fuzz_run
	rm -rf build-fuzz/corpus && mkdir -p build-fuzz/corpus build-fuzz/crashes
	cd build-fuzz && ./tests/fuzz/fuzz_run -max_total_time=$(FUZZ_TIME) -max_len=70000 \
	  -print_final_stats=1 -artifact_prefix=crashes/ corpus ../tests/fuzz/corpus

bench:
	cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
	cmake --build build -j $(JOBS) --target bench_tools
	sh bench/run.sh build $(BENCH_RUNS)

install: build
	cmake --install build --prefix $(PREFIX)

clean:
	rm -rf build build-win build-asan build-fuzz
