#!/usr/bin/env bash
# Sets everything up and starts Quillmap from inside its program folder.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" --target quillmap_program
cd "${QUILLMAP_BUILD_DIR:-$root/build}/app"
exec ./quillmap "$@"
