# The two entry points: `make run` and `make test`. Both install what is
# missing, configure and build first.
BUILD      ?= build
ASAN_BUILD ?= build-asan
BENCH_BUILD ?= build-bench
BENCH_JOBS ?= 2
JOBS       ?= $(shell nproc)

.PHONY: run test sanitize build deps test-deps bench-deps format bench clean

deps:
	@scripts/install-deps.sh

test-deps:
	@scripts/install-deps.sh --test

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/vantorel

test: test-deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTOREL_TESTS=ON
	cmake --build $(BUILD) -j $(JOBS)
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The whole suite again, built with AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize: test-deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DVANTOREL_TESTS=ON -DVANTOREL_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS)

bench-deps:
	@scripts/install-deps.sh --bench

# The benchmark suite in a Release build: one table of medians at 10k, 100k and
# 1M triangles, also written to $(BENCH_BUILD)/bench.csv.
bench: bench-deps
	cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=Release -DVANTOREL_BENCH=ON
	cmake --build $(BENCH_BUILD) -j $(BENCH_JOBS) --target bench_model bench_frames
	python3 bench/run_bench.py --build $(BENCH_BUILD)

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(BENCH_BUILD)
