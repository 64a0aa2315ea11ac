# The two commands of every newcomer: `make run` and `make test`.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test clean bench

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

clean:
	rm -rf $(BUILD)

# Benchmarks against find on synthetic collections; BENCH_ARGS="--keep DIR --sizes 100000".
bench: build
	@bash scripts/install-deps.sh python3 time findutils
	python3 bench/run_bench.py --build $(BUILD) $(BENCH_ARGS)
