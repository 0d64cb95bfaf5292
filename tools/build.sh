#!/usr/bin/env bash
# Configures and builds everything into build/ (the build tree is also the demo
# X-Plane folder: build/X-Plane/Norvane holds the programs).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cmake -S "$here" -B "$here/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$here/build" -j "$(nproc)"
