# make run    installs what is missing, builds, writes the demo data and starts the GUI on it
# make test   installs what is missing, builds and runs the tests
# make bench  builds and runs the benchmarks
BUILD ?= build
JOBS ?= $(shell nproc)
DEMO ?= $(CURDIR)/demo-data

.PHONY: all deps build run test bench clean

all: build

deps:
	@scripts/install-deps

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ -x $(BUILD)/tools/make-demo-data ]; then $(BUILD)/tools/make-demo-data $(DEMO) >/dev/null; fi
	TOCREWMINT_HOME=$(DEMO) $(BUILD)/src/app/tocrewmint

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: deps
	cmake -S . -B $(BUILD)-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTOCREWMINT_BENCH=ON -DTOCREWMINT_TESTS=OFF
	cmake --build $(BUILD)-bench -j $(JOBS)
	@for b in $(BUILD)-bench/bench/bench_*; do if [ -f "$$b" ] && [ -x "$$b" ]; then "$$b" || exit 1; fi; done

clean:
	rm -rf $(BUILD) $(BUILD)-bench
