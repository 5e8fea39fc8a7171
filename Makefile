# Thin wrappers over scripts/: `make run` starts the program on the sample data, `make test`
# builds and runs every test. Both install missing Debian packages first.
.PHONY: run test build sanitize bench clean

run:
	scripts/run.sh

test:
	scripts/test.sh

build:
	scripts/build.sh

sanitize:
	scripts/sanitize.sh

bench: build
	build/bench/foliarkh_bench

clean:
	rm -rf build build-asan
