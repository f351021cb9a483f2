#!/usr/bin/env bash
# Installs a build into a temporary DESTDIR with prefix /usr, as the Debian package does, checks
# what landed where, validates the desktop entry, the AppStream metadata and the manual pages, and
# starts the installed program under Xvfb on its simulated devices.
# Usage: install_test.sh BUILD_DIR [CMAKE]  (every fault is reported; exit 1 if there was one)
set -uo pipefail
build=$(realpath "${1:?usage: install_test.sh BUILD_DIR [CMAKE]}")
cmake=${2:-cmake}
work=$(mktemp -d /tmp/oakridge-install-XXXXXX)
root=$work/root
usr=$root/usr
program=$usr/lib/oakridge
app=-1
xvfb=-1
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
cleanup() {
    [ "$app" -gt 0 ] && kill "$app" 2>/dev/null
    [ "$xvfb" -gt 0 ] && kill "$xvfb" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

for tool in desktop-file-validate appstreamcli man identify Xvfb xdotool; do
    command -v "$tool" >/dev/null || { echo "$tool is missing: run tools/install-deps.sh" >&2; exit 1; }
done

if ! DESTDIR=$root "$cmake" --install "$build" --prefix /usr >"$work/install.log" 2>&1; then
    cat "$work/install.log" >&2
    echo "FAIL: cmake --install" >&2
    exit 1
fi

# --- Layout: everything below the prefix; besides the program folder, exactly these files.
outside=$(cd "$root" && find . -mindepth 1 -path ./usr -prune -o -print)
[ -z "$outside" ] || fail "installed outside the prefix: $outside"
expected="usr/bin/oakridge
usr/bin/oakridge-devsim
usr/share/applications/oakridge.desktop
usr/share/doc/oakridge/changelog.gz
usr/share/doc/oakridge/copyright
usr/share/icons/hicolor/128x128/apps/oakridge.png
usr/share/icons/hicolor/16x16/apps/oakridge.png
usr/share/icons/hicolor/22x22/apps/oakridge.png
usr/share/icons/hicolor/24x24/apps/oakridge.png
usr/share/icons/hicolor/256x256/apps/oakridge.png
usr/share/icons/hicolor/32x32/apps/oakridge.png
usr/share/icons/hicolor/48x48/apps/oakridge.png
usr/share/icons/hicolor/64x64/apps/oakridge.png
usr/share/icons/hicolor/scalable/apps/oakridge.svg
usr/share/man/man1/oakridge-devsim.1.gz
usr/share/man/man1/oakridge.1.gz
usr/share/metainfo/example.lumenor.oakridge.metainfo.xml"
actual=$(cd "$root" && find usr -path usr/lib/oakridge -prune -o ! -type d -print | LC_ALL=C sort)
[ "$actual" = "$expected" ] || fail "files outside the program folder differ:
$(diff <(echo "$expected") <(echo "$actual"))"

# The program folder holds what the build's program folder holds but notes for developers, and the
# commands lead into it.
folder_diff=$(diff <(cd "$build/bin" && find . ! -name '*.md' | LC_ALL=C sort) <(cd "$program" && find . | LC_ALL=C sort))
[ -z "$folder_diff" ] || fail "the installed program folder differs from $build/bin:
$folder_diff"
for model in Plover Heron Heron_Driver Egret Ibis Crane; do
    [ -f "$program/Lumenor_$model.so" ] || fail "Lumenor_$model.so is not in the program folder"
done
for pair in oakridge:oakridge oakridge-devsim:devsim; do
    command=${pair%%:*} target=${pair#*:}
    link=$(readlink "$usr/bin/$command")
    [ "${link#/}" != "$link" ] && fail "bin/$command is an absolute link ($link)"
    [ "$(readlink -f "$usr/bin/$command")" = "$program/$target" ] || fail "bin/$command leads to $link"
done
for png in "$usr"/share/icons/hicolor/*x*/apps/oakridge.png; do
    size=$(basename "$(dirname "$(dirname "$png")")")
    [ "$(identify -format '%wx%h' "$png" 2>/dev/null)" = "$size" ] || fail "$png is not $size"
done

# --- Desktop entry and AppStream metadata.
desktop=$usr/share/applications/oakridge.desktop
if ! desktop-file-validate "$desktop" >"$work/desktop.log" 2>&1; then
    fail "desktop-file-validate: $(cat "$work/desktop.log")"
elif [ -s "$work/desktop.log" ]; then
    fail "desktop-file-validate has remarks: $(cat "$work/desktop.log")"
fi
exec_command=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
[ -x "$usr/bin/$exec_command" ] || fail "the desktop entry starts \"$exec_command\", which is not installed"
[ "$(sed -n 's/^Icon=//p' "$desktop")" = oakridge ] || fail "the desktop entry's icon is not the installed oakridge icon"
metainfo=$usr/share/metainfo/example.lumenor.oakridge.metainfo.xml
appstreamcli validate --no-net --no-color "$metainfo" >"$work/metainfo.log" 2>&1 ||
    fail "appstreamcli validate: $(cat "$work/metainfo.log")"
grep -q '<launchable type="desktop-id">oakridge.desktop</launchable>' "$metainfo" ||
    fail "the metainfo does not launch oakridge.desktop"
grep -q '@[A-Z_]*@' "$metainfo" && fail "the metainfo has unsubstituted values: $(grep -o '@[A-Z_]*@' "$metainfo")"

# --- Manual pages: no warnings from man, and every command devsim knows is documented.
for page in "$usr"/share/man/man1/*.1.gz; do
    LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" >/dev/null 2>"$work/man.log" ||
        fail "man cannot format $page"
    [ -s "$work/man.log" ] && fail "man warns about $(basename "$page"): $(cat "$work/man.log")"
done
devsim_page=$(LC_ALL=C.UTF-8 MANWIDTH=200 man -l "$usr/share/man/man1/oakridge-devsim.1.gz" 2>/dev/null)
commands=$(ASAN_OPTIONS=detect_leaks=0 "$usr/bin/oakridge-devsim" --help |
    sed -n '/^commands:/,/^$/s/^  \([a-z][a-z-]*\).*/\1/p')
[ -n "$commands" ] || fail "oakridge-devsim --help lists no commands"
for command in $commands; do
    grep -Eq "^ {7}$command( |$)" <<<"$devsim_page" || fail "the oakridge-devsim page does not describe \"$command\""
done
grep -q "/usr/lib/oakridge/" <<<"$devsim_page" || fail "the oakridge-devsim page does not name the program folder"
# The program's own options, once it answers --help (without a display, so no window can open).
usage=$(env -u DISPLAY XDG_RUNTIME_DIR="$work/help-run" XDG_STATE_HOME="$work/help-state" \
    ASAN_OPTIONS=detect_leaks=0 timeout 10 "$usr/bin/oakridge" --help 2>/dev/null)
if grep -qi '^usage' <<<"$usage"; then
    oakridge_page=$(LC_ALL=C.UTF-8 MANWIDTH=200 man -l "$usr/share/man/man1/oakridge.1.gz" 2>/dev/null)
    for option in $(grep -o -- '--[a-z][a-z-]*' <<<"$usage" | sort -u); do
        grep -Eq "^ {7}$option( |$)" <<<"$oakridge_page" || fail "the oakridge page does not describe $option"
    done
    page_version=$(tail -1 <<<"$oakridge_page" | grep -o 'Oakridge [0-9][0-9.]*' | cut -d' ' -f2)
    env -u DISPLAY XDG_RUNTIME_DIR="$work/help-run" XDG_STATE_HOME="$work/help-state" \
        ASAN_OPTIONS=detect_leaks=0 timeout 10 "$usr/bin/oakridge" --version 2>/dev/null |
        grep -qF "$page_version" || fail "oakridge --version does not print the packaged version $page_version"
fi

# --- The installed program on a virtual display, away from the build tree.
export XDG_STATE_HOME=$work/state XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run
export OAKRIDGE_DEVICE_DIR=$work/devices ASAN_OPTIONS=detect_leaks=0
mkdir -m 700 "$XDG_RUNTIME_DIR"
Xvfb -displayfd 3 -screen 0 1600x900x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 100); do grep -q . "$work/display" 2>/dev/null && break; sleep 0.1; done
export DISPLAY=:$(head -1 "$work/display")
cd /
"$usr/bin/oakridge" >"$work/oakridge.log" 2>&1 &
app=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Oakridge$' 2>/dev/null | head -1)
if [ -z "$window" ]; then
    fail "the installed program showed no window: $(cat "$work/oakridge.log")"
else
    # It runs on the installed device libraries (loaded by the first read, after the window shows),
    # and the installed devsim reaches the same devices.
    for _ in $(seq 100); do
        missing=""
        for model in Plover Heron Heron_Driver Egret Ibis Crane; do
            grep -q "$program/Lumenor_$model.so" "/proc/$app/maps" || missing+=" Lumenor_$model.so"
        done
        [ -z "$missing" ] && break
        sleep 0.1
    done
    [ -z "$missing" ] || fail "the program has not loaded the installed$missing"
    "$usr/bin/oakridge-devsim" unplug egret >/dev/null || fail "the installed oakridge-devsim cannot unplug the Egret"
    "$usr/bin/oakridge-devsim" list | grep -A1 -i '^egret' | grep -qi 'attached: no' ||
        fail "oakridge-devsim list does not show the Egret unplugged: $("$usr/bin/oakridge-devsim" list)"
    sleep 0.5
    mkdir -p "$build/e2e-artifacts"
    import -window "$window" "$build/e2e-artifacts/installed_main_window.png" 2>/dev/null
    # The close button in the caption bar ends it cleanly.
    xdotool mousemove --window "$window" 1279 28 click 1
    for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
    if kill -0 "$app" 2>/dev/null; then
        fail "the installed program did not close"
    else
        wait "$app" || fail "the installed program exited with status $?: $(cat "$work/oakridge.log")"
        app=-1
    fi
fi

[ "$failures" -eq 0 ] && echo "installed tree, desktop files, manual pages and the installed program: fine"
[ "$failures" -eq 0 ]
