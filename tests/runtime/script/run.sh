#!/bin/sh
# Runs one test of the script runtime with node, or skips it with the reason
# when node is missing.
if ! command -v node >/dev/null 2>&1; then echo "SKIP: node is not installed"; exit 77; fi
exec node "$@"
