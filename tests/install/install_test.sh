#!/usr/bin/env bash
# install_test.sh BUILD_DIR: the install tree and the Debian package hold the program, its menu
# entry, icons, metainfo, manual page and help; the menu entry and the metainfo pass their
# validators; the program answers on the command line without a display.
set -euo pipefail
build="$1"
work="$(mktemp -d "${TMPDIR:-/tmp}/kelvane-install.XXXXXX")"
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAILED: $*" >&2; failures=$((failures + 1)); }
expect() { # description, expected, actual
    [ "$2" = "$3" ] || fail "$1: expected [$2], got [$3]"
}

id=org.example.Kelvane
files=(usr/bin/kelvane usr/share/applications/$id.desktop usr/share/metainfo/$id.metainfo.xml
    usr/share/icons/hicolor/scalable/apps/$id.svg usr/share/man/man1/kelvane.1)
for size in 16 24 32 48 64 128 256; do files+=(usr/share/icons/hicolor/${size}x${size}/apps/$id.png); done
# The help's pages always; the compiled file where the build had its compiler.
files+=(usr/share/kelvane/hilfe/index.html usr/share/kelvane/hilfe/hilfe.css)
[ -f "$build/help/deutsch.chm" ] && files+=(usr/share/kelvane/deutsch.chm)

# --- The install tree -------------------------------------------------------------------
DESTDIR="$work/tree" cmake --install "$build" --prefix /usr >/dev/null
for f in "${files[@]}"; do
    [ -f "$work/tree/$f" ] || fail "install tree lacks $f"
done
desktop-file-validate "$work/tree/usr/share/applications/$id.desktop" \
    || fail "desktop-file-validate refused the desktop entry"
appstreamcli validate --no-net --pedantic "$work/tree/usr/share/metainfo/$id.metainfo.xml" \
    >"$work/appstream.txt" 2>&1 || { cat "$work/appstream.txt" >&2; fail "appstreamcli refused the metainfo"; }
grep -q '^Icon='"$id"'$' "$work/tree/usr/share/applications/$id.desktop" \
    || fail "the desktop entry names another icon"

# --- The command line, without a display ------------------------------------------------
run() { env -u DISPLAY -u WAYLAND_DISPLAY "$@"; }
program="$work/tree/usr/bin/kelvane"
expect "--version" "Kelvane 2.7" "$(run "$program" --version)"
out="$(run "$program" --help)" || fail "--help exit code $?"
case "$out" in "Aufruf: kelvane [--help | --version]"*) ;; *) fail "--help printed [$out]" ;; esac
set +e
err="$(run "$program" --bogus 2>&1 >/dev/null)"
status=$?
set -e
expect "exit code of an unknown option" 2 "$status"
case "$err" in "kelvane: unbekanntes Argument \"--bogus\""*) ;; *) fail "unknown option said [$err]" ;; esac

# --- The Debian package -----------------------------------------------------------------
(cd "$build" && cpack -G DEB -B "$work/package" >/dev/null)
deb="$(ls "$work"/package/kelvane_*_*.deb)"
listing="$(dpkg-deb -c "$deb")"
for f in "${files[@]}"; do
    grep -q " \./$f\$" <<<"$listing" || fail "the package lacks /$f"
done
depends="$(dpkg-deb -f "$deb" Depends)"
case "$depends" in *libqt6widgets6*) ;; *) fail "Depends lacks Qt: [$depends]" ;; esac

[ "$failures" -eq 0 ] && echo "install tree, command line and package: all well"
exit "$failures"
