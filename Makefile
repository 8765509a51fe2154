# The two commands of the README:
#   make play   installs what is missing, builds, and starts the game
#   make test   installs what is missing, builds, and runs every test
#   make test-sanitize  every test again, built with ASan and UBSan
#   make fuzz SECONDS=N  every fuzz target N seconds
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps configure build play test bench clean soak install uninstall deb fresh-machine-test test-sanitize fuzz web web-serve

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

# Plays the real game with scripted input for MINUTES minutes and checks
# exit code, result log, memory flatness, records and the leak report.
MINUTES ?= 1
soak: build
	bash tests/soak/soak.sh $(BUILD)/zarvel . $(BUILD)/soak-work $(MINUTES)

clean:
	rm -rf $(BUILD)

# Installs the game under PREFIX (DESTDIR is honoured); uninstall removes
# what the last install put there. The player's files are never touched.
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

uninstall:
	@bash tools/uninstall.sh $(BUILD)

# The browser build: a static folder, $(WEB_BUILD)/site, that any web server
# serves. Installs emscripten when missing, builds the C libraries from
# Debian's sources once (cached in $(WEB_BUILD)/deps), then the game.
WEB_BUILD ?= build-web
WEB_PORT ?= 8080
WEB_ENV = NODE_PATH=/usr/share/nodejs
web:
	@bash tools/web/install-deps.sh
	$(WEB_ENV) bash tools/web/build-deps.sh $(WEB_BUILD)/deps
	$(WEB_ENV) emcmake cmake -S . -B $(WEB_BUILD) -DCMAKE_BUILD_TYPE=Release
	$(WEB_ENV) cmake --build $(WEB_BUILD) --target zarvel -j$(JOBS)
	@echo "The page is in $(WEB_BUILD)/site ('make web-serve' serves it)."

web-serve: web
	@echo "Zarvel in the browser: http://127.0.0.1:$(WEB_PORT)/ (Ctrl+C stops the server)"
	cd $(WEB_BUILD)/site && python3 -m http.server $(WEB_PORT) --bind 127.0.0.1

# The Debian package, in $(BUILD)/packages/.
deb: build
	cd $(BUILD) && cpack -G DEB

# The README's commands on a minimal Debian 12 made with debootstrap (root).
fresh-machine-test:
	@bash tools/fresh-machine-test.sh $(ARGS)

# Every unit, render, game and end-to-end test, built in its own folder with
# AddressSanitizer and UndefinedBehaviorSanitizer; any finding fails the test.
# tools/sanitizer/lsan.supp names the system libraries whose own leaks are
# not ours to mend.
SANITIZE_BUILD ?= $(BUILD)-sanitize
# SDL_JOYSTICK_HIDAPI=0: LeakSanitizer's stop-the-world tracer at exit
# crashes now and then (SIGSEGV in the tracer, exit 134) while SDL's HIDAPI
# joystick thread is running; the game's controllers go through evdev then.
SANITIZE_ENV = SDL_JOYSTICK_HIDAPI=0 ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:allocator_may_return_null=1:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tools/sanitizer/lsan.supp:print_suppressions=0

test-sanitize: deps
	cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZV_SANITIZE=ON
	$(SANITIZE_ENV) cmake --build $(SANITIZE_BUILD) -j$(JOBS)
	cd $(SANITIZE_BUILD) && $(SANITIZE_ENV) ctest --output-on-failure -j$(JOBS) --timeout 900

# Every fuzz target for SECONDS seconds (default 60), then its figures.
SECONDS ?= 60
fuzz: configure
	cmake --build $(BUILD) --target fuzz_all -j$(JOBS)
	@bash tools/run-fuzz.sh $(BUILD) $(SECONDS)

# The browser build in headless Chromium, compared with the desktop game.
.PHONY: test-web
# Installs chromium, npm and the test tools when missing.
test-web: web build
	@bash tools/web/install-deps.sh --test
	bash tests/web/run.sh $(WEB_BUILD)/site $(BUILD)
