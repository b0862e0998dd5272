#!/usr/bin/env bash
# Sets up, builds and starts LapidraW; an optional argument names a design file to open.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build
if [ ! -x build/lapidraw ]; then
  echo "run.sh: the build made no window program (build/lapidraw is missing); see the build output above" >&2
  exit 1
fi
exec build/lapidraw "$@"
