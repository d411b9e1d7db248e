#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop finds there: the
# program, the menu entry, its icon at every size and the AppStream data, each naming the
# others correctly; then runs desktop-file-validate and appstreamcli on them (exit 77, a
# skip, when either is not installed).
# installed_files_test.sh BUILD-DIR "SIZES"
set -u
build="$1"
sizes="${2//;/ }"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL $*"; failures=$((failures + 1)); }

if ! cmake --install "$build" --prefix "$tmp/usr" >"$tmp/install.log" 2>&1; then
    cat "$tmp/install.log"
    echo "FAIL cmake --install"
    exit 1
fi
share="$tmp/usr/share"
desktop="$share/applications/pairlylog.desktop"
metainfo="$(ls "$share"/metainfo/*.metainfo.xml 2>/dev/null | head -n 1)"

# A key of the [Desktop Entry] group, untranslated.
key() { sed -n "s/^$1=//p" "$desktop" | head -n 1; }
# Width and height of a PNG from its header.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d", $3*256+$4, $7*256+$8 }'; }

[ -x "$tmp/usr/bin/pairlylog" ] || fail "bin/pairlylog is not an installed program"
[ -f "$desktop" ] || fail "no applications/pairlylog.desktop"
[ -n "$metainfo" ] || fail "no metainfo file"

if [ -f "$desktop" ]; then
    exec_program="$(key Exec | cut -d' ' -f1)"
    [ -x "$tmp/usr/bin/$exec_program" ] || fail "Exec=$exec_program is not the installed program"
    icon="$(key Icon)"
    [ -f "$share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "no scalable icon $icon.svg"
    for size in $sizes; do
        png="$share/icons/hicolor/${size}x${size}/apps/$icon.png"
        if [ ! -f "$png" ]; then
            fail "no $icon.png at ${size}x${size}"
        elif [ "$(head -c 8 "$png" | od -An -tx1 | tr -d ' ')" != "89504e470d0a1a0a" ]; then
            fail "${size}x${size}/apps/$icon.png is not a PNG"
        elif [ "$(png_size "$png")" != "${size}x${size}" ]; then
            fail "${size}x${size}/apps/$icon.png is $(png_size "$png")"
        fi
    done
    [ "$(key Name)" = "ペアリー☆ログ" ] || fail "Name is '$(key Name)'"
    [ -n "$(key GenericName)" ] || fail "no GenericName"
fi
if [ -n "$metainfo" ]; then
    launchable="$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$metainfo")"
    [ -f "$share/applications/$launchable" ] || fail "launchable '$launchable' is not installed"
    id="$(sed -n 's:.*<id>\(.*\)</id>.*:\1:p' "$metainfo" | head -n 1)"
    [ "$(basename "$metainfo")" = "$id.metainfo.xml" ] || fail "$(basename "$metainfo") is not named after its id $id"
fi

missing=""
command -v desktop-file-validate >/dev/null || missing+=" desktop-file-validate"
command -v appstreamcli >/dev/null || missing+=" appstreamcli"
if [ -z "$missing" ]; then
    desktop-file-validate "$desktop" || fail "desktop-file-validate"
    appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate"
fi

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed"; exit 1; }
if [ -n "$missing" ]; then
    echo "validators not installed:$missing (scripts/test installs them)"
    exit 77
fi
echo "installed files ok"
