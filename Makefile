# Thin wrappers over scripts/: `make run` starts the program on the user's own catalogue,
# `make test` builds and runs every test, `make package` builds the Debian package. Each installs
# missing Debian packages first.
.PHONY: run test build sanitize bench package clean

run:
	scripts/run.sh

test:
	scripts/test.sh

build:
	scripts/build.sh

sanitize:
	scripts/sanitize.sh

package:
	scripts/package.sh

bench: build
	build/bench/foliarkh_bench

clean:
	rm -rf build build-asan
