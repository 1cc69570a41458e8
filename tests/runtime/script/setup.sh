#!/bin/sh
# Installs puppeteer-core (from the committed lock file) for the browser tests
# of quillmap.js. puppeteer-core never downloads a browser: the tests drive
# Debian's chromium. Nothing is installed again while the lock file is
# unchanged.
set -eu
cd "$(dirname "$0")"
if ! command -v node >/dev/null 2>&1; then echo "SKIP: node is not installed"; exit 77; fi
if ! command -v npm >/dev/null 2>&1; then echo "SKIP: npm is not installed"; exit 77; fi
stamp=node_modules/.quillmap-installed
if [ -f "$stamp" ] && cmp -s package-lock.json "$stamp" && [ -d node_modules/puppeteer-core ]; then
  echo "puppeteer-core is installed"
  exit 0
fi
npm ci --no-audit --no-fund --loglevel=error
cp package-lock.json "$stamp"
echo "puppeteer-core installed"
