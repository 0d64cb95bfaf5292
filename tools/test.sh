#!/usr/bin/env bash
# Installs, builds and runs every test. Tests that need a display run inside
# a virtual X server.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$here/tools/install-deps.sh"
"$here/tools/build.sh"

if [ "$(id -u)" -eq 0 ]; then
    export QTWEBENGINE_CHROMIUM_FLAGS="${QTWEBENGINE_CHROMIUM_FLAGS:-} --no-sandbox"
fi
# Each test run gets its own window bus and settings store, away from the user's.
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
mkdir -m 0700 "$scratch/runtime" "$scratch/config"
export XDG_RUNTIME_DIR="$scratch/runtime" XDG_CONFIG_HOME="$scratch/config"

cd "$here/build"
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure --timeout 900 "$@"
