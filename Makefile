# The two commands of a fresh machine: `make run` boots the default board, `make test`
# runs the whole suite. Both install what is missing first.
BUILD  ?= build
JOBS   ?= $(shell nproc)
OUT    ?= out

.PHONY: all setup configure build run test test-sanitize fuzz bench clean

all: build

setup:
	@tools/setup

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

configure: setup $(BUILD)/CMakeCache.txt

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/zubsim boot --state $(OUT)/state --out $(OUT)/boot
	@echo "outputs: $(OUT)/boot (screen, debug.log, events.jsonl, summary.json); state: $(OUT)/state"

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The same suite with the board built under ASan and UBSan.
test-sanitize: setup
	cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZUB_SANITIZE=ON
	cmake --build build-sanitize -j $(JOBS)
	cd build-sanitize && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS)

# Every fuzz target under libFuzzer (clang, ASan, UBSan) for FUZZ_SECONDS each.
FUZZ_SECONDS ?= 60
fuzz:
	@tools/setup fuzz
	cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZUB_FUZZ=ON \
	      -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
	cmake --build build-fuzz -j $(JOBS) --target zub_fuzzers
	tools/fuzz build-fuzz $(FUZZ_SECONDS)

# Host time of a boot, a diagnosis and the heaviest module paths; each module's PEI time
# and bus accesses.
bench: configure
	cmake --build $(BUILD) -j $(JOBS) --target zub_bench
	$(BUILD)/bench/zub_bench

clean:
	rm -rf $(BUILD) build-sanitize build-fuzz $(OUT)
