# One entry point for both builds. `make test` and `make demo` install what
# they need first (scripts/setup is idempotent).
B ?= build
TOP := $(abspath .)
BUILD := $(abspath $(B))
DEPS := $(abspath build/deps)
JOBS ?= $(shell nproc)
CMAKE_COMMON = -G Ninja --no-warn-unused-cli -DQX_DEPS=$(DEPS) -DQX_BUILD_ROOT=$(BUILD) -DCMAKE_BUILD_TYPE=Release

.PHONY: all setup deps host win win-x64 win-tests installer bench-extract bench-install test test-host test-win templates demo fuzz lint clean
FUZZ_SECONDS ?= 30

all: host win installer

setup:
	@scripts/setup

deps: setup
	@DEPS=$(DEPS) scripts/build-deps

host: deps
	@cmake -S . -B $(BUILD)/host -DQX_SANITIZE=ON $(CMAKE_COMMON) >/dev/null
	@scripts/quiet-build $(BUILD)/host $(JOBS)

win: deps
	@cmake -S . -B $(BUILD)/win -DCMAKE_TOOLCHAIN_FILE=$(TOP)/cmake/mingw-i686.cmake $(CMAKE_COMMON) >/dev/null
	@scripts/quiet-build $(BUILD)/win $(JOBS)

# The same tree for 64-bit Windows: the Windows tests on a machine that runs
# no 32-bit x86 code (scripts/runs-x86-32).
win-x64: setup
	@DEPS=$(DEPS) QX_CODEC_ARCHES=x86_64 scripts/build-deps
	@cmake -S . -B $(BUILD)/win-x64 -DCMAKE_TOOLCHAIN_FILE=$(TOP)/cmake/mingw-x86_64.cmake $(CMAKE_COMMON) >/dev/null
	@scripts/quiet-build $(BUILD)/win-x64 $(JOBS)

# Whichever Windows build this machine can run the tests of.
win-tests: setup
	@if scripts/runs-x86-32; then $(MAKE) --no-print-directory win; \
	 else echo "win-tests: this machine runs no 32-bit x86 code; the Windows tests run as a 64-bit build in the win64 prefix"; \
	   $(MAKE) --no-print-directory win-x64; fi

# The installer as shipped: the image linked around the sample settings,
# with the sample payload behind it as the Windows build stages it (the
# product's programs at its top, the read-only bit that git drops restored).
installer: host win
	@$(BUILD)/host/packer/qxpack build --settings sample/info.ini --payload $(BUILD)/win/sample/payload \
	  --out $(BUILD)/setup.exe --kit $(BUILD)/win/app/link-kit >/dev/null
	@$(BUILD)/host/packer/qxpack verify $(BUILD)/setup.exe >/dev/null
	@echo "installer: $(BUILD)/setup.exe"

# Extraction speed beside 7zz, 7-Zip's own 7z.exe under Wine (built once by
# scripts/build-7z-console) and NSIS (minutes; not part of make test).
BENCH_ROUNDS ?= 3
bench-extract: host win win-tests templates
	@cmake --build $(BUILD)/win --target extract_bench >/dev/null
	@if [ -d $(BUILD)/win-x64 ]; then cmake --build $(BUILD)/win-x64 --target extract_bench >/dev/null; fi
	@bench/bench-extract $(BUILD) $(BENCH_ROUNDS)

# A whole install through the window, click to success page, beside the
# engine alone and NSIS (minutes; not part of make test).
bench-install: host win win-tests templates
	@cmake --build $(BUILD)/win --target extract_bench >/dev/null
	@if [ -d $(BUILD)/win-x64 ]; then cmake --build $(BUILD)/win-x64 --target extract_bench >/dev/null; fi
	@bench/bench-install $(BUILD) $(BENCH_ROUNDS)

templates: setup
	@if scripts/runs-x86-32; then \
	   QX_BUILD=$(BUILD) scripts/make-wine-template win32 $(BUILD)/wine/template-win32 & p32=$$!; \
	   QX_BUILD=$(BUILD) scripts/make-wine-template win64 $(BUILD)/wine/template-win64; s64=$$?; \
	   wait $$p32 && [ $$s64 -eq 0 ]; \
	 else QX_BUILD=$(BUILD) scripts/make-wine-template win64 $(BUILD)/wine/template-win64; fi

test-host: host
	@tests/support/run-suites host $(BUILD)

test-win: win-tests templates
	@tests/support/run-suites win $(BUILD)

test: host win-tests installer templates
	@tests/support/run-suites all $(BUILD)

# The page tour and a whole install through the window (the 64-bit build
# where 32-bit x86 code cannot run), with screenshots and what was installed.
demo: installer win-tests templates
	@scripts/demo $(BUILD)

# Each libFuzzer target for FUZZ_SECONDS, corpora kept under build/fuzz/corpus.
fuzz: deps
	@CC=clang CXX=clang++ cmake -S . -B $(BUILD)/fuzz -DQX_FUZZ=ON -DQX_SANITIZE=ON $(CMAKE_COMMON) >/dev/null
	@scripts/quiet-build $(BUILD)/fuzz $(JOBS)
	@for f in $$(find $(BUILD)/fuzz -name 'fuzz_*' -type f -executable); do \
	  n=$$(basename $$f); mkdir -p $(BUILD)/fuzz/corpus/$$n; echo "fuzz: $$n"; \
	  $$f -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 $(BUILD)/fuzz/corpus/$$n 2>&1 | grep -E 'stat::number_of_executed_units|ERROR|SUMMARY' || exit 1; \
	done

# Static checks: cppcheck over our sources, clang-format conformance.
SOURCES_OURS = $(shell git ls-files '*.cpp' '*.h')
lint:
	@cppcheck --quiet --error-exitcode=1 --enable=warning,performance,portability --std=c++20 --language=c++ \
	  --inline-suppr --suppress=unknownMacro --library=googletest --library=windows -I . $(SOURCES_OURS)
	@clang-format --dry-run --Werror $(SOURCES_OURS)
	@echo "lint: clean"

clean:
	rm -rf $(BUILD)/host $(BUILD)/win $(BUILD)/win-x64 $(BUILD)/wine $(BUILD)/setup.exe
