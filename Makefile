# One entry point for building and testing. Every target installs what it needs first.
PRESET ?= default
BUILD_DIR := build/$(PRESET)

.PHONY: deps configure build test windows package package-windows install-user demo demo-windows demo-replay bench format format-check clean

deps:
	@bash scripts/deps.sh

configure: deps
	@cmake --preset $(PRESET) >/dev/null

build: configure
	@cmake --build --preset $(PRESET)

test: build
	@if $(WINDOWS_READY); then ready=1; else ready=0; fi; \
		bash scripts/run-tests.sh $(PRESET) $$ready sh -c '$(WINDOWS_BUILD)'

# The standard C++ parts built for Windows into build/windows/; `make test` runs their tests
# under Wine. Needs the cross compiler, Wine and GoogleTest's sources, which deps.sh installs
# when it can.
WINDOWS_READY = command -v x86_64-w64-mingw32-g++-posix >/dev/null && command -v wine >/dev/null \
	&& test -f /usr/src/googletest/CMakeLists.txt
WINDOWS_BUILD = cmake --preset windows -DKESMARO_HOST_BUILD=$(abspath $(BUILD_DIR)) >/dev/null \
	&& cmake --build --preset windows
WINDOWS_SKIPPED = echo "windows: no mingw-w64 compiler, Wine or GoogleTest sources; skipped"

# Its e2e runs take their frames from the Linux simulated game, built first.
windows: configure
	@if $(WINDOWS_READY); then cmake --build --preset $(PRESET) --target kesmaro-simgame \
		&& $(WINDOWS_BUILD); else $(WINDOWS_SKIPPED); fi

# The Debian package, from the built tree: $(BUILD_DIR)/kesmaro_<version>_<arch>.deb.
package: build
	@cmake --build --preset $(PRESET) --target package

# The Windows zip and per-user installer, from the Windows build:
# build/windows/kesmaro-<version>-win64.zip and kesmaro-<version>-setup.exe.
package-windows: deps
	@if $(WINDOWS_READY) && command -v makensis >/dev/null; then cmake --preset windows >/dev/null \
		&& cmake --build --preset windows --target kesmaro_windows_packages \
		&& ls -l build/windows/kesmaro-*-win64.zip build/windows/kesmaro-*-setup.exe; \
	else echo "package-windows: needs mingw-w64, Wine, GoogleTest sources and makensis"; exit 1; fi

# For users who want no package: programs, menu entry, icon and documents under ~/.local.
install-user: build
	@cmake --install $(BUILD_DIR) --prefix $(HOME)/.local --strip

# The demos build only the programs they run, not the tests and benchmarks.
demo: configure
	@cmake --build --preset $(PRESET) --target kesmaro kesmaro-replay kesmaro-simgame
	@bash scripts/demo.sh $(BUILD_DIR)

# The same job with kesmaro.exe and kesmaro-simgame.exe under Wine, in a private prefix.
demo-windows: deps
	@if $(WINDOWS_READY); then cmake --preset windows >/dev/null \
		&& cmake --build --preset windows --target kesmaro kesmaro-simgame kesmaro-replay \
		&& bash scripts/demo.sh --windows build/windows; else $(WINDOWS_SKIPPED); exit 1; fi

demo-replay: configure
	@cmake --build --preset $(PRESET) --target kesmaro-replay kesmaro-simgame
	@bash scripts/demo-replay.sh $(BUILD_DIR)

bench: build
	@for b in $(BUILD_DIR)/bench/bench_*; do [ -x "$$b" ] && "$$b"; done

format:
	@git ls-files --cached --others --exclude-standard '*.cpp' '*.h' | xargs -r clang-format -i

format-check:
	@git ls-files --cached --others --exclude-standard '*.cpp' '*.h' | xargs -r clang-format --dry-run -Werror

clean:
	@rm -rf build
