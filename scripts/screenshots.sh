#!/usr/bin/env bash
# Makes the pictures of the clerk's guide (docs/podrecznik/obrazy/*.png) from the real program:
# builds it, copies its installation tree aside (a fresh Katarix.ini on the demo register, a
# scratch home, so the build's own configuration and cache stay untouched), starts it through
# its real start-up under Xvfb with openbox and LC_ALL=pl_PL.UTF-8, walks it with xdotool keys
# and clicks (scripts/screenshots.py finds the controls in Qt's accessibility tree) and writes
# the pictures. Run it again and the pictures follow the program.
#
#   scripts/screenshots.sh [--no-build] [OUTPUT_FOLDER]
#
# KATARIX_BUILD_DIR names another build folder, KATARIX_SCREEN another screen size (1280x800),
# KATARIX_DISPLAY the X display to use (by default Xvfb picks a free one).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${KATARIX_BUILD_DIR:-$root/build}"
screen="${KATARIX_SCREEN:-1280x800}"

if [ "${1:-}" = "--no-build" ]; then
  shift
else
  "$root/scripts/build.sh"
fi
out="$(realpath -m "${1:-$root/docs/podrecznik/obrazy}")"

for tool in Xvfb xdpyinfo openbox xdotool wmctrl xwininfo xprop import convert dbus-run-session soffice pdftoppm; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "Brak programu $tool: uruchom scripts/setup.sh." >&2
    exit 1
  fi
done
if ! /usr/bin/python3 -c 'import gi; gi.require_version("Atspi", "2.0")' 2>/dev/null; then
  echo "Brak modułu Atspi dla Pythona (gir1.2-atspi-2.0): uruchom scripts/setup.sh." >&2
  exit 1
fi
if [ ! -x "$build/Katarix/Program/katarix" ] || [ ! -f "$build/Katarix/Bazy/demo.mdb" ]; then
  echo "Brak zbudowanego programu lub rejestru demonstracyjnego w $build/Katarix." >&2
  exit 1
fi

# One fixed place, so that the paths the pictures show (the settings dialog) stay the same from
# one run to the next; a lock keeps two runs apart.
work="${TMPDIR:-/tmp}/katarix-podrecznik"
mkdir -p "$work"
exec 9>"$work.lock"
flock 9
find "$work" -mindepth 1 -delete

cleanup() {
  local pid
  for pid in ${openbox_pid:-} ${xvfb_pid:-}; do
    kill "$pid" 2>/dev/null || true
  done
  wait 2>/dev/null || true
}
trap cleanup EXIT

cp -a "$build/Katarix" "$work/Katarix"
find "$work/Katarix/Tmp" -mindepth 1 -delete 2>/dev/null || true
home="$work/home"
mkdir -p "$home/.config/Katarix" "$out"
chmod 700 "$home"
# The demo register remembered, nothing else: every other setting is the program's default.
printf '[Baza]\r\nPath=%s\r\n' "$work/Katarix/Bazy/demo.mdb" >"$work/Katarix/Program/Katarix.ini"
cp "$work/Katarix/Program/Katarix.ini" "$home/.config/Katarix/Katarix.ini"

# A free display of Xvfb's own choosing, or the one KATARIX_DISPLAY names (":32").
: >"$work/display"
if [ -n "${KATARIX_DISPLAY:-}" ]; then
  # A server of an earlier run on that display may still be shutting down: try a few times.
  for _ in $(seq 20); do
    Xvfb "$KATARIX_DISPLAY" -screen 0 "${screen}x24" -nolisten tcp 2>/dev/null &
    xvfb_pid=$!
    sleep 0.5
    kill -0 "$xvfb_pid" 2>/dev/null && break
  done
  echo "${KATARIX_DISPLAY#:}" >"$work/display"
else
  Xvfb -displayfd 3 -screen 0 "${screen}x24" -nolisten tcp 3>"$work/display" &
fi
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
display=":$(head -n1 "$work/display")"
for _ in $(seq 100); do
  xdpyinfo -display "$display" >/dev/null 2>&1 && break
  sleep 0.1
done
if [ "$display" = ":" ] || ! kill -0 "$xvfb_pid" 2>/dev/null || ! xdpyinfo -display "$display" >/dev/null 2>&1; then
  echo "Xvfb nie wystartował na ekranie $display." >&2
  exit 1
fi
export DISPLAY="$display"
openbox --sm-disable >/dev/null 2>&1 &
openbox_pid=$!

export HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_CACHE_HOME="$home/.cache" \
  XDG_DATA_HOME="$home/.local/share" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
export LC_ALL=pl_PL.UTF-8 LANG=pl_PL.UTF-8
# Qt exposes its widgets to the accessibility bus of this session only when asked.
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 NO_AT_BRIDGE=0
unset QT_QPA_PLATFORM

dbus-run-session -- /usr/bin/python3 "$root/scripts/screenshots.py" \
  --program "$work/Katarix/Program/katarix" --tree "$work/Katarix" --out "$out" --work "$work" \
  ${KATARIX_SCREENSHOTS_ONLY:+--only "$KATARIX_SCREENSHOTS_ONLY"}
echo "Obrazy podręcznika zapisano w $out"
