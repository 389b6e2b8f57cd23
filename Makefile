# The README's two commands. Each sets up a fresh Debian 12 machine (as root) first.
.PHONY: run test setup

setup:
	bash tools/setup

run: setup
	bash tools/run

test: setup
	bash tools/test
