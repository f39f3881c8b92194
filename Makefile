# Vexaro!! — `make run` builds and starts the game, `make test` builds and runs every test;
# `make install` puts the game on this machine (under PREFIX), `make package` makes the .deb;
# `make test-asan` runs every test under the sanitizers, `make fuzz` fuzzes the round file reader.
# Each installs the Debian packages it needs when they are missing.

BUILD      ?= build
ASAN_BUILD ?= build-asan
BUILD_TYPE ?= RelWithDebInfo
FUZZ_SECONDS ?= 300
WERROR     ?= OFF
JOBS       ?= $(shell nproc)
CMAKE_OPTIONS ?= # more options for cmake when it configures a build folder

RUN_PACKAGES  := cmake make g++ pkg-config libsdl2-dev libsdl2-mixer-dev libsdl2-image-dev \
                 libsdl2-ttf-dev libfontconfig-dev libfluidsynth-dev timgm6mb-soundfont \
                 fonts-ipafont-mincho fonts-ipafont-gothic fonts-liberation
PACKAGE_PACKAGES := $(RUN_PACKAGES) dpkg-dev
TEST_PACKAGES := $(PACKAGE_PACKAGES) libgtest-dev libgmock-dev libbenchmark-dev clang \
                 libclang-rt-14-dev xvfb xfonts-base xdotool imagemagick x11-apps x11-utils openbox python3 \
                 lintian desktop-file-utils appstream
PREFIX     ?= /usr/local

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: run test test-asan build deps-run deps-test deps-package configure bench fuzz fuzz-merge \
        install uninstall package clean

run: deps-run build
	cd $(BUILD) && ./vexaro

test: deps-test build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

# The same suite with AddressSanitizer (leaks included) and UndefinedBehaviorSanitizer, in a build
# folder of its own. Leak suppressions, for system libraries only: tools/sanitizers/lsan.supp.
test-asan:
	$(MAKE) test BUILD=$(ASAN_BUILD) CMAKE_OPTIONS=-DVEXARO_SANITIZE=ON

# Fuzzes the round file reader, small inputs and then large ones, FUZZ_SECONDS each; fuzz-merge
# adds the new inputs that reach new code to the committed corpus (tests/fuzz/corpus/).
fuzz: deps-test build
	tests/fuzz/run-fuzz.sh $(BUILD) $(FUZZ_SECONDS)

fuzz-merge: build
	tests/fuzz/run-fuzz.sh $(BUILD) merge

build: configure
	cmake --build $(BUILD) -j$(JOBS)

configure:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DVEXARO_WERROR=$(WERROR) $(CMAKE_OPTIONS)

bench: deps-test build
	bench/run-all.sh $(BUILD)

# The game in PREFIX/lib/games/vexaro with its data, the launcher PREFIX/games/vexaro, the menu
# entry, icons, AppStream data and manual page under PREFIX/share.
install: deps-run build
	$(SUDO) cmake --install $(BUILD) --prefix $(PREFIX) --strip

uninstall:
	$(SUDO) xargs --no-run-if-empty rm -f -- <$(BUILD)/install_manifest.txt

# $(BUILD)/vexaro_VERSION_ARCH.deb, for /usr.
package: deps-package build
	cmake --build $(BUILD) --target package

deps-run:
	@tools/install-packages.sh $(RUN_PACKAGES)

deps-test:
	@tools/install-packages.sh $(TEST_PACKAGES)

deps-package:
	@tools/install-packages.sh $(PACKAGE_PACKAGES)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
