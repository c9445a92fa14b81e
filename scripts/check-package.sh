#!/usr/bin/env bash
# Builds the Debian package from the build folder (after scripts/build.sh or scripts/test.sh) and
# checks it: lintian without errors, the desktop entry and the AppStream metadata valid, the
# libraries among its Depends; then installs it, tries it as an ordinary user with an empty home
# (katarix-sql on the demo register, and the program driven on a virtual screen to an extract in
# the user's documents folder) and removes the package again. Needs root (or sudo).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${KATARIX_BUILD_DIR:-$root/build}"
user=katarixtest
demo=/usr/share/katarix/Bazy/demo.mdb

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
fail() { echo "BŁĄD: $*" >&2; exit 1; }
step() { echo "== $*"; }

work="$(mktemp -d /tmp/katarix-package.XXXXXX)"
chmod 755 "$work"
cleanup() {
  if id "$user" >/dev/null 2>&1; then "${sudo_cmd[@]}" userdel -r "$user" >/dev/null 2>&1 || true; fi
  if dpkg-query -W -f='${Status}' katarix 2>/dev/null | grep -q "install ok installed"; then
    "${sudo_cmd[@]}" apt-get remove -y -qq katarix >/dev/null || true
  fi
}
trap cleanup EXIT

[ -f "$build/CPackConfig.cmake" ] || fail "brak zbudowanego programu w $build: najpierw scripts/build.sh"
step "Pakiet (cpack -G DEB)"
rm -f "$build"/package/katarix_*.deb
(cd "$build" && cpack -G DEB -B "$build/package" >/dev/null)
debs=("$build"/package/katarix_*_amd64.deb)
[ -f "${debs[0]}" ] || fail "cpack nie zrobił pakietu katarix_*_amd64.deb w $build/package"
deb="${debs[0]}"
echo "$deb"

step "lintian"
lintian --fail-on error "$deb" || fail "lintian zgłasza błędy w $deb"

step "Plik .desktop i metadane AppStream"
dpkg-deb -x "$deb" "$work/tree"
desktop-file-validate "$work/tree/usr/share/applications/katarix.desktop"
appstreamcli validate --no-net "$work"/tree/usr/share/metainfo/*.metainfo.xml

step "Zależności"
depends="$(dpkg-deb -f "$deb" Depends)"
echo "Depends: $depends"
echo "Recommends: $(dpkg-deb -f "$deb" Recommends)"
for library in libmdb3 libqt6widgets6 libsqlite3-0; do
  grep -Eq "(^|, )$library( |,|$)" <<<"$depends" || fail "Depends nie wymienia $library"
done

step "Instalacja (apt-get install ./$(basename "$deb"))"
cp "$deb" "$work/"
(cd "$work" && DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "./$(basename "$deb")" >/dev/null)
for file in /usr/bin/katarix /usr/bin/katarix-sql /usr/libexec/katarix/katarix-loader "$demo"; do
  [ -e "$file" ] || fail "brak $file po instalacji"
done
touch "$work/installed"

step "Zwykły użytkownik z pustym katalogiem domowym ($user)"
if id "$user" >/dev/null 2>&1; then "${sudo_cmd[@]}" userdel -r "$user" >/dev/null 2>&1 || true; fi
mkdir "$work/skel"
"${sudo_cmd[@]}" useradd -m -k "$work/skel" -s /bin/bash "$user"
home="$(getent passwd "$user" | cut -d: -f6)"
[ -z "$(ls -A "$home")" ] || fail "katalog domowy $home nie jest pusty"
as_user() { "${sudo_cmd[@]}" runuser -u "$user" -- env -i HOME="$home" USER="$user" PATH=/usr/bin:/bin \
  LANG=pl_PL.UTF-8 LC_ALL=pl_PL.UTF-8 "$@"; }

count="$(as_user katarix-sql "$demo" "SELECT count(*) FROM KDZIALKA")" || fail "katarix-sql na $demo"
echo "katarix-sql $demo \"SELECT count(*) FROM KDZIALKA\":"
echo "$count"
[[ "$(sed -n 2p <<<"$count")" =~ ^[1-9][0-9]*$ ]] || fail "katarix-sql nie podał liczby działek"

# The user's configuration file: the RTF editor that "opens" the extract ends at once.
as_user mkdir -p "$home/.config/Katarix"
as_user sh -c 'printf "[wydruk]\nprzeglad=/bin/true\n" > "$HOME/.config/Katarix/Katarix.ini"'
documents="$home/Documents/Katarix"
screenshot="$work/ekran.png"
cp "$root/scripts/drive-installed.py" "$work/"
chmod 777 "$work"
step "katarix $demo pod xvfb-run, sterowany jak przez użytkownika"
if ! as_user QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 xvfb-run -a -s "-screen 0 1280x1024x24" \
    dbus-run-session -- python3 "$work/drive-installed.py" "$demo" \
    --documents "$documents" --screenshot "$screenshot"; then
  fail "program nie przeszedł próby; zrzut ekranu: $screenshot"
fi
[ "$(stat -c %a "$documents")" = 700 ] || fail "$documents nie jest prywatny (0700)"
grep -qx "Path=$demo" "$home/.config/Katarix/Katarix.ini" \
  || fail "ścieżka z wiersza polecenia nie została zapamiętana w $home/.config/Katarix/Katarix.ini"
ls -l "$documents"
if find /usr/share/katarix /usr/libexec/katarix /usr/bin/katarix /usr/bin/katarix-sql -newer "$work/installed" | grep -q .; then
  fail "program zapisał coś w swoich katalogach instalacji"
fi

step "Usunięcie pakietu"
"${sudo_cmd[@]}" apt-get remove -y -qq katarix >/dev/null
[ ! -e /usr/bin/katarix ] || fail "/usr/bin/katarix został po usunięciu pakietu"
rm -rf "$work"
echo "Pakiet $(basename "$deb") sprawdzony."
