# midibas: a thin wrapper over CMake.
#
#   make            build the program (Release) into build/
#   make demo       run it on the bundled tune in build/demo/
#   make test       build, then run every test (the Windows half under wine
#                   when wine and the MinGW cross compiler are installed)
#   make windows    cross-build the 32-bit Windows program into build-win/
#   make install    install midibas under PREFIX (default /usr/local)
#   make clean      remove every build folder

PREFIX ?= /usr/local
JOBS ?= 2
MINGW := $(shell command -v i686-w64-mingw32-g++ 2>/dev/null)
WINE := $(shell command -v wine 2>/dev/null)
WIN_EXE := $(CURDIR)/build-win/midibas.exe

.PHONY: all build demo test windows install clean

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

install: build
	cmake --install build --prefix $(PREFIX)

clean:
	rm -rf build build-win build-asan build-fuzz
