#!/usr/bin/env bash
# Sets up, builds and starts LapidraW; an optional argument names a design file to open.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build
if [ -x build/lapidraw ]; then
  exec build/lapidraw "$@"
fi
echo "Built the model library and its tests; the window program is not part of this build yet."
