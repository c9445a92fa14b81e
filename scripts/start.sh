#!/usr/bin/env bash
# Sets everything up, builds, generates the demo register and starts Katarix on it.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/build.sh"
program="$root/build/Katarix/Program/katarix"
if [ ! -x "$program" ]; then
  echo "Program nie został zbudowany: $program" >&2
  exit 1
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "Brak ekranu (DISPLAY): uruchamiam Katarix na wirtualnym ekranie Xvfb." >&2
  exec xvfb-run -a -s "-screen 0 1280x800x24" "$program" "$@"
fi
exec "$program" "$@"
