# Vexaro!! — the two commands: `make run` builds and starts the game, `make test` builds and runs
# every test. Both install the Debian packages they need when they are missing.

BUILD      ?= build
BUILD_TYPE ?= RelWithDebInfo
WERROR     ?= OFF
JOBS       ?= $(shell nproc)

RUN_PACKAGES  := cmake make g++ pkg-config libsdl2-dev libsdl2-mixer-dev libsdl2-image-dev \
                 libsdl2-ttf-dev libfontconfig-dev timgm6mb-soundfont fonts-ipafont-mincho \
                 fonts-ipafont-gothic fonts-liberation
TEST_PACKAGES := $(RUN_PACKAGES) libgtest-dev libgmock-dev libbenchmark-dev clang \
                 libclang-rt-14-dev xvfb xfonts-base xdotool imagemagick x11-apps x11-utils openbox python3

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: run test build deps-run deps-test configure bench clean

run: deps-run build
	cd $(BUILD) && ./vexaro

test: deps-test build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

build: configure
	cmake --build $(BUILD) -j$(JOBS)

configure:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DVEXARO_WERROR=$(WERROR)

bench: deps-test build
	bench/run-all.sh $(BUILD)

deps-run:
	@tools/install-packages.sh $(RUN_PACKAGES)

deps-test:
	@tools/install-packages.sh $(TEST_PACKAGES)

clean:
	rm -rf $(BUILD)
