#!/usr/bin/env bash
# Installs what the build, the demo and the tests need on Debian 12. Safe to run again.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-webengine-dev qt6-webengine-dev-tools
    libqt6webenginecore6-bin libgl-dev
    libx11-dev libxtst-dev libjpeg-dev libpng-dev zlib1g-dev
    libgtest-dev libgmock-dev googletest libbenchmark-dev
    xvfb xauth x11-utils fonts-dejavu-core
)

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
    sudo_cmd=(sudo)
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
if [ "${#missing[@]}" -gt 0 ]; then
    "${sudo_cmd[@]}" apt-get update
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi

if ! command -v npm >/dev/null 2>&1; then
    echo "npm is missing: install Node.js 20 with npm first" >&2
    exit 1
fi
# The map page's script library, at the version pinned in the lock file.
(cd "$here/resources/mappage" && npm ci --no-audit --no-fund --loglevel=error)
