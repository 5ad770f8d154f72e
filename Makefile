# The front door: make demo, make test, make dist, make release, make bench, make fuzz,
# make coverage.
# Each target installs the Debian packages it needs when they are missing.
.PHONY: all native windows demo test coverage dist release reproduce bench fuzz format clean

JOBS ?= 2
MAKEFLAGS += --no-print-directory
NATIVE := build/native

all: native

native:
	@scripts/deps.sh core gtk
	@cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(NATIVE) -j$(JOBS)

windows:
	@scripts/deps.sh core windows
	@scripts/build-windows.sh

demo: native
	@scripts/demo.sh

test:
	@scripts/test.sh

# Line and branch coverage per file and folder, checked against each folder's target.
coverage:
	@scripts/coverage.sh

dist: native windows
	@scripts/dist.sh

# make release SIGN_CERT=cert.pem SIGN_KEY=key.pem signs the .exe files first.
release: native windows
	@scripts/dist.sh --release

# Two clones, two builds, one comparison of their dist/ folders: some minutes.
reproduce:
	@scripts/reproduce.sh

bench: native
	@bench/run.sh

fuzz:
	@scripts/fuzz.sh 300

format:
	@clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build dist
