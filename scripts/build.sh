#!/usr/bin/env bash
# Configures and builds Katarix into ./build (an installation tree under build/Katarix).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE="${KATARIX_BUILD_TYPE:-RelWithDebInfo}" >/dev/null
cmake --build "$root/build" -j"$(nproc)"
