# The two entry points: `make run` and `make test`. Both install what is
# missing, configure and build first. `make deb` builds the Debian package.
BUILD      ?= build
ASAN_BUILD ?= build-asan
TSAN_BUILD ?= build-tsan
COV_BUILD  ?= build-cov
FUZZ_BUILD ?= build-fuzz
BENCH_BUILD ?= build-bench
BENCH_JOBS ?= 2
# Lets ccache, when installed, share objects between clones and build folders.
export CCACHE_BASEDIR ?= $(CURDIR)
# Seconds each fuzz target runs in `make fuzz-smoke`.
FUZZ_TIME  ?= 20
FUZZ_TARGETS = model_file_fuzz image_decode_fuzz console_fuzz text_entry_fuzz recovery_file_fuzz \
               animation_section_fuzz
JOBS       ?= $(shell nproc)

.PHONY: run test sanitize tsan coverage build deb deps test-deps deb-deps fuzz-deps bench-deps fuzz fuzz-smoke format bench clean

deps:
	@scripts/install-deps.sh

test-deps:
	@scripts/install-deps.sh --test

deb-deps:
	@scripts/install-deps.sh --deb

fuzz-deps:
	@scripts/install-deps.sh --fuzz

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/vantorel

test: test-deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTOREL_TESTS=ON
	cmake --build $(BUILD) -j $(JOBS)
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The Debian package vantorel_VERSION_ARCH.deb, here: the program of $(BUILD) (built with
# -O2 -g as Debian builds, then stripped), its files as `cmake --install` lays them out
# under /usr, and the dependencies of the libraries it links. Then checked, with lintian.
deb: deb-deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS) --target vantorel packaging_files
	rm -rf $(BUILD)/deb
	cd $(BUILD) && cpack -G DEB -B deb
	cp $(BUILD)/deb/vantorel_*.deb .
	python3 tests/packaging/check_deb.py . "$$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' $(BUILD)/CMakeCache.txt)" \
	  $(BUILD)/deb/vantorel_*.deb

# The whole suite again, built with AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize: test-deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DVANTOREL_TESTS=ON -DVANTOREL_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS)

# The tests without a window (where the editor's threads run: background
# opens, the recovery writer, undo), built with ThreadSanitizer; the import
# child runs without its memory cap there, as under ASan. The test of a child
# that must die within a second of the editor is left to the other builds,
# as ThreadSanitizer slows the child past it.
tsan: test-deps
	cmake -S . -B $(TSAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DVANTOREL_TESTS=ON -DVANTOREL_THREAD_SANITIZE=ON
	cmake --build $(TSAN_BUILD) -j $(JOBS) --target vantorel unit_tests
	cd $(TSAN_BUILD) && ctest --output-on-failure -j $(JOBS) -E '^(gltf_|three_|install_tree|manual_page|deb_package|include_rules|window_tests|e2e_|ImportChild.DiesWithTheEditor)'

# Line and branch coverage of src/ by the whole suite, printed and written
# as HTML to $(COV_BUILD)/coverage/index.html.
coverage: test-deps
	@scripts/install-deps.sh --coverage
	cmake -S . -B $(COV_BUILD) -DCMAKE_BUILD_TYPE=Debug -DVANTOREL_TESTS=ON -DVANTOREL_COVERAGE=ON
	cmake --build $(COV_BUILD) -j $(JOBS)
	find $(COV_BUILD) -name '*.gcda' -delete
	cd $(COV_BUILD) && ctest -j $(JOBS)
	@mkdir -p $(COV_BUILD)/coverage
	gcovr -r . --object-directory $(COV_BUILD) --filter 'src/' --exclude-throw-branches \
	  --exclude-unreachable-branches --print-summary \
	  --html-details $(COV_BUILD)/coverage/index.html

bench-deps:
	@scripts/install-deps.sh --bench

# The benchmark suite in a Release build: one table of medians at 10k, 100k and
# 1M triangles, also written to $(BENCH_BUILD)/bench.csv.
bench: bench-deps
	cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=Release -DVANTOREL_BENCH=ON
	cmake --build $(BENCH_BUILD) -j $(BENCH_JOBS) --target bench_model bench_frames
	python3 bench/run_bench.py --build $(BENCH_BUILD)

# libFuzzer targets (clang), and their seed corpora in $(FUZZ_BUILD)/seeds.
fuzz: fuzz-deps
	CC=clang CXX=clang++ cmake -S fuzz -B $(FUZZ_BUILD)
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	python3 fuzz/make_seeds.py $(FUZZ_BUILD)/seeds

# Each target for FUZZ_TIME seconds from its seeds; any crash, leak, timeout
# or memory blow-up fails. Found inputs go to $(FUZZ_BUILD)/artifacts.
fuzz-smoke: fuzz
	@mkdir -p $(FUZZ_BUILD)/artifacts
	@for t in $(FUZZ_TARGETS); do \
	  mkdir -p $(FUZZ_BUILD)/corpus/$$t; \
	  echo "== $$t for $(FUZZ_TIME) s"; \
	  ./$(FUZZ_BUILD)/$$t -max_total_time=$(FUZZ_TIME) -timeout=10 -rss_limit_mb=2048 -malloc_limit_mb=256 \
	    -max_len=4096 -print_final_stats=1 -artifact_prefix=$(CURDIR)/$(FUZZ_BUILD)/artifacts/$$t- \
	    $$( [ -f fuzz/$$t.dict ] && echo -dict=$(CURDIR)/fuzz/$$t.dict ) \
	    $(CURDIR)/$(FUZZ_BUILD)/corpus/$$t $(CURDIR)/$(FUZZ_BUILD)/seeds/$$t \
	    > $(FUZZ_BUILD)/$$t.log 2>&1 || { tail -n 60 $(FUZZ_BUILD)/$$t.log; exit 1; }; \
	  grep -E '^stat::number_of_executed_units|^Done' $(FUZZ_BUILD)/$$t.log; \
	done
	@echo "fuzz: $(words $(FUZZ_TARGETS)) passed, 0 failed"

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(BENCH_BUILD)
