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
        install uninstall package clean thirdparty-web thirdparty-win64

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

# The third-party libraries (SDL2 and friends, FreeType, HarfBuzz) for the browser and for 64-bit
# Windows, built once from Debian's sources and cached; see tools/thirdparty/README.md.
thirdparty-web:
	tools/thirdparty/build-libs.sh web build-web/thirdparty-work

thirdparty-win64:
	tools/thirdparty/build-libs.sh win64 build-win/thirdparty-work

deps-run:
	@tools/install-packages.sh $(RUN_PACKAGES)

deps-test:
	@tools/install-packages.sh $(TEST_PACKAGES)

deps-package:
	@tools/install-packages.sh $(PACKAGE_PACKAGES)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)

# --- The browser ----------------------------------------------------------------------------------
# make web builds the page into $(WEB_BUILD)/dist (serve that folder; see the README); make test-web
# builds it and runs the browser tests (CTest label "web", Chromium headless). Plain make test
# skips those when no page is built.
WEB_BUILD ?= build-web
WEB_PACKAGES := cmake make g++ pkg-config emscripten nodejs fluidsynth timgm6mb-soundfont \
                vorbis-tools python3-fonttools fonts-ipafont-mincho fonts-ipafont-gothic \
                fonts-liberation
WEB_TEST_PACKAGES := chromium imagemagick

.PHONY: web test-web deps-web serve-web

web: deps-web configure
	JOBS=$(JOBS) tools/web/build-web.sh $(BUILD) $(WEB_BUILD)

test-web: web deps-test build
	@tools/install-packages.sh $(WEB_TEST_PACKAGES)
	@command -v npm >/dev/null || tools/install-packages.sh npm
	cd $(BUILD) && ctest --output-on-failure -L web

serve-web: web
	python3 -m http.server --bind 127.0.0.1 --directory $(WEB_BUILD)/dist 8000

deps-web:
	@tools/install-packages.sh $(WEB_PACKAGES)

# --- Windows ------------------------------------------------------------------------------------
# `make windows` cross-builds the game for 64-bit Windows (MinGW-w64) into $(WIN_BUILD): the zip
# Vexaro-VERSION-win64.zip and the installer Vexaro-VERSION-setup.exe. `make test-windows` runs
# them under Wine (CTest label windows of the Linux build).
WIN_BUILD ?= build-win
WINDOWS_TEST_PACKAGES := wine wine64 xvfb xdotool openbox imagemagick x11-utils unzip

.PHONY: windows test-windows
windows: deps-test configure
	tools/windows/build.sh $(BUILD) $(WIN_BUILD)

test-windows: windows build
	@tools/install-packages.sh $(WINDOWS_TEST_PACKAGES)
	cd $(BUILD) && ctest -L windows --output-on-failure
