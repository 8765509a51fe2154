# The two commands of the README:
#   make play   installs what is missing, builds, and starts the game
#   make test   installs what is missing, builds, and runs every test
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps configure build play test bench clean install uninstall deb fresh-machine-test

all: build

deps:
	@bash tools/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD) -j$(JOBS)

play: build
	@bash tools/play.sh $(BUILD)/zarvel $(ARGS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS) --timeout 600

bench: build
	@bash tools/run-bench.sh $(BUILD)

clean:
	rm -rf $(BUILD)

# Installs the game under PREFIX (DESTDIR is honoured); uninstall removes
# what the last install put there. The player's files are never touched.
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

uninstall:
	@bash tools/uninstall.sh $(BUILD)

# The Debian package, in $(BUILD)/packages/.
deb: build
	cd $(BUILD) && cpack -G DEB

# The README's commands on a minimal Debian 12 made with debootstrap (root).
fresh-machine-test:
	@bash tools/fresh-machine-test.sh
