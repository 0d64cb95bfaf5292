#!/usr/bin/env bash
# Installs, builds and starts the map program in the demo X-Plane folder, with the
# simulator stand-in flying a circuit around Seattle. Press SKYPLOT to connect.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$here/tools/install-deps.sh"
"$here/tools/build.sh"

if [ -z "${DISPLAY:-}" ]; then
    echo "No display: run this from a desktop session (X11)." >&2
    exit 1
fi
if [ "$(id -u)" -eq 0 ]; then
    # The browser engine refuses its sandbox as root.
    export QTWEBENGINE_CHROMIUM_FLAGS="${QTWEBENGINE_CHROMIUM_FLAGS:-} --no-sandbox"
fi

"$here/build/bin/vantrelle-simstandin" --rate 10 >/dev/null &
standin=$!
trap 'kill "$standin" 2>/dev/null || true' EXIT
"$here/build/X-Plane/Norvane/VantrelleSkyplot"
