#!/usr/bin/env bash
# Configures and builds Katarix into ./build (an installation tree under build/Katarix).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
build="${KATARIX_BUILD_DIR:-$root/build}"
# ccache makes rebuilds of a fresh clone (CI, a second work tree) cheap; paths under the
# source root are hashed relative to it.
launcher=()
if command -v ccache >/dev/null 2>&1; then
  export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$root}"
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE="${KATARIX_BUILD_TYPE:-RelWithDebInfo}" "${launcher[@]}" >/dev/null
cmake --build "$build" -j"$(nproc)"
