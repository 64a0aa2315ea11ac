# The two commands of every newcomer: `make run` and `make test`.
SHELL := /bin/bash
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test check-faults clean bench bench-cold check-sanitizers fuzz install package

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/tokenade-auditor

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# Renames, fills and set-asides killed at 200 random points, each undone and compared with the
# tree before; then 50 more on an exFAT image mounted through FUSE, with a case-only rename there.
check-faults: build
	@bash scripts/install-deps.sh python3 dosfstools exfat-fuse exfatprogs
	bash tests/faults/kill_anywhere.sh $(BUILD)/tokenade-audit

clean:
	rm -rf $(BUILD)

# Benchmarks against find on synthetic collections; BENCH_ARGS="--keep DIR --sizes 100000".
# Then identification by content; CONTENT_BENCH_ARGS="--keep DIR --size 100000 --runs 5".
# Then verify roms: the rate of data decompressed and checked, beside cat; VERIFY_BENCH_ARGS="--mb 1024".
# Then the emulator's whole catalogue (installs it), against xmllint --stream.
# bench-cold also times each run after dropping the page cache (as root).
bench-cold: BENCH_ARGS += --cold
bench-cold: CONTENT_BENCH_ARGS += --cold
bench-cold: VERIFY_BENCH_ARGS += --cold
bench-cold: bench
bench: deps
	@bash scripts/install-deps.sh python3 time findutils
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DTOKENADE_BUILD_BENCH=ON -DTOKENADE_BUILD_TESTS=OFF > /dev/null
	cmake --build build-bench -j $(JOBS)
	python3 bench/run_bench.py --build build-bench $(BENCH_ARGS)
	python3 bench/content_bench.py --build build-bench $(CONTENT_BENCH_ARGS)
	python3 bench/verify_bench.py --build build-bench $(VERIFY_BENCH_ARGS)
	@bash scripts/install-deps.sh mame mame-data libxml2-utils
	python3 bench/mame_catalogue_bench.py --build build-bench
	python3 bench/many_dats_bench.py --build build-bench

# The whole test suite under AddressSanitizer with UndefinedBehaviorSanitizer,
# then under ThreadSanitizer, each in a build folder of its own. The first is
# built with clang, whose UBSan also refuses an offset added to a null pointer.
check-sanitizers: deps
	@bash scripts/install-deps.sh clang libclang-rt-14-dev
	CC=clang CXX=clang++ cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DTOKENADE_SANITIZE=address,undefined > /dev/null
	cmake --build build-asan -j $(JOBS)
	cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
		ctest --output-on-failure -j $(JOBS)
	cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=Debug -DTOKENADE_SANITIZE=thread > /dev/null
	cmake --build build-tsan -j $(JOBS)
	cd build-tsan && TSAN_OPTIONS="halt_on_error=1 suppressions=$(CURDIR)/tests/data/tsan.supp" \
		ctest --output-on-failure -j $(JOBS)

# Each libFuzzer target for FUZZ_SECONDS, starting from the seeds in tests/data/fuzz; the
# line with DONE gives the coverage reached (cov:) and the executions.
FUZZ_SECONDS ?= 60
FUZZERS = fuzz_roms_list fuzz_path_rules fuzz_keyed_order fuzz_dat_reader fuzz_zip_directory fuzz_content_cache \
	fuzz_dat_index_cache fuzz_chd_header fuzz_verify_entries
fuzz:
	@bash scripts/install-deps.sh clang libclang-rt-14-dev
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DTOKENADE_SANITIZE=address,undefined -DTOKENADE_BUILD_FUZZERS=ON \
		-DTOKENADE_BUILD_WINDOW=OFF -DTOKENADE_BUILD_TESTS=OFF > /dev/null
	cmake --build build-fuzz -j $(JOBS) --target $(FUZZERS)
	@for target in $(FUZZERS); do \
		mkdir -p build-fuzz/corpus/$$target && cp -n tests/data/fuzz/$$target/* build-fuzz/corpus/$$target/ ; \
		echo "== $$target, $(FUZZ_SECONDS) s"; \
		./build-fuzz/tests/fuzz/$$target -max_total_time=$(FUZZ_SECONDS) -timeout=10 -rss_limit_mb=2048 \
			-print_final_stats=1 build-fuzz/corpus/$$target 2>&1 | grep -E 'stat::number_of_executed_units|ERROR|crash|DONE|Done' ; \
		test $${PIPESTATUS[0]} -eq 0 || exit 1; \
	done

# Installs both programs and the desktop files under PREFIX.
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# A .deb for `apt install ./file.deb`, built with the install prefix /usr.
package: deps
	@bash scripts/install-deps.sh dpkg-dev file
	cmake -S . -B build-package -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr -DTOKENADE_BUILD_TESTS=OFF > /dev/null
	cmake --build build-package -j $(JOBS)
	cd build-package && cpack
	@ls build-package/*.deb
