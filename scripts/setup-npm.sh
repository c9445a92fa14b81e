#!/usr/bin/env bash
# Installs the node packages of the .mdb cross-check (tests/mdbwriter/xcheck) when they are missing.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dir="$root/tests/mdbwriter/xcheck"
if [ ! -f "$dir/package-lock.json" ]; then exit 0; fi
if [ -d "$dir/node_modules/mdb-reader" ]; then exit 0; fi
if ! command -v npm >/dev/null 2>&1; then
  echo "Brak npm: pomijam instalację pakietów do sprawdzania plików .mdb ($dir)." >&2
  exit 0
fi
echo "Instalowanie pakietów npm w $dir"
(cd "$dir" && npm ci --no-audit --no-fund --loglevel=error)
