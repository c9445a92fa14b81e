#!/usr/bin/env bash
# Installs the Debian packages Katarix needs to build, run and test; does nothing when all are present.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config ccache
  qt6-base-dev qt6-svg-dev libqt6svg6
  libsqlite3-dev libxxhash-dev
  mdbtools mdbtools-dev libglib2.0-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth
  # Qt's own Polish texts of the standard dialogs (qtbase_pl.qm).
  qt6-translations-l10n
  # Tahoma, the face the windows' pixel sizes are designed for (/usr/share/wine/fonts).
  fonts-wine
  # A window manager for the tests of frames, placement and repainting under Xvfb, and the
  # pictures of the user guide (scripts/screenshots.sh): keys and clicks, Qt's accessibility
  # tree read from Python, screenshots, documents turned into pictures. The package check
  # (scripts/check-package.sh) drives the installed program with the same tools.
  openbox xdotool wmctrl x11-utils imagemagick poppler-utils
  dbus-daemon at-spi2-core python3-gi gir1.2-atspi-2.0
  # Manual pages (from Markdown) and the icon sizes are made at build time.
  pandoc librsvg2-bin
  # The Debian package and its checks: building, lintian, the desktop entry and AppStream validators.
  dpkg-dev lintian desktop-file-utils appstream
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

# Node.js may come from another repository than Debian's; only its commands matter.
if ! command -v node >/dev/null 2>&1 || ! command -v npm >/dev/null 2>&1; then
  missing+=(nodejs npm)
fi

# The RTF editor that opens the reports (and converts them in the report tests).
if ! command -v soffice >/dev/null 2>&1; then
  missing+=(libreoffice-writer)
fi
# The spreadsheet that opens the CSV list of parcels (and reads it back in its test).
if ! dpkg-query -W -f='${Status}' libreoffice-calc 2>/dev/null | grep -q "install ok installed"; then
  missing+=(libreoffice-calc)
fi

if [ ${#missing[@]} -gt 0 ]; then
  echo "Instalowanie brakujących pakietów: ${missing[*]}"
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}"
fi

# The Polish regional settings the program is used under; the tests and scripts/start.sh run
# with LC_ALL=pl_PL.UTF-8.
if ! locale -a 2>/dev/null | grep -qix 'pl_PL\.utf-\?8'; then
  echo "Generowanie ustawień regionalnych pl_PL.UTF-8"
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
  if ! dpkg-query -W -f='${Status}' locales 2>/dev/null | grep -q "install ok installed"; then
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq locales
  fi
  # Listed in /etc/locale.gen, so that a later locale-gen keeps it.
  if [ -f /etc/locale.gen ] && grep -q '^# *pl_PL.UTF-8 UTF-8' /etc/locale.gen; then
    "${sudo_cmd[@]}" sed -i 's/^# *pl_PL.UTF-8 UTF-8/pl_PL.UTF-8 UTF-8/' /etc/locale.gen
  elif ! grep -q '^pl_PL.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    echo 'pl_PL.UTF-8 UTF-8' | "${sudo_cmd[@]}" tee -a /etc/locale.gen >/dev/null
  fi
  "${sudo_cmd[@]}" locale-gen >/dev/null
fi

# Node packages of the independent .mdb reader used to cross-check written files.
root="$(cd "$(dirname "$0")/.." && pwd)"
if [ -x "$root/scripts/setup-npm.sh" ]; then "$root/scripts/setup-npm.sh"; fi
