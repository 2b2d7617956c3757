#!/bin/bash
# Installs the build given as $1, with the cmake given as $2, into a fresh
# prefix (one with a blank in its name, which the desktop entry must quote)
# and checks what lands there: the program beside its runtime library with no
# RPATH into the build tree, the desktop entry naming the installed program,
# the icon in three sizes, and a started program that loads only installed
# files and keeps its history beside itself when found along PATH.
set -u
build=$(cd "$1" && pwd)
cmake=${2:-cmake}
work=$(mktemp -d)
pid=
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
prefix="$work/my prefix"
failures=0

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

"$cmake" --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 ||
    { cat "$work/install.log"; echo "FAIL: cmake --install"; exit 1; }

bin="$prefix/bin"
[ -x "$bin/tovra.exe" ] || fail "no executable $bin/tovra.exe"
[ -f "$bin/libkelto.so" ] || fail "no runtime library beside tovra.exe"
if readelf -d "$bin/tovra.exe" | grep -E 'RPATH|RUNPATH'; then
    fail "tovra.exe carries an RPATH or RUNPATH"
fi

# PNG signature, then the IHDR's width and height as big-endian words.
for size in 16 32 48; do
    png="$prefix/share/icons/hicolor/${size}x${size}/apps/keltoconnect.png"
    if [ ! -f "$png" ]; then
        fail "no icon $png"
        continue
    fi
    header=$(od -An -tx1 -N24 "$png" | tr -d ' \n')
    [ "${header:0:16}" = 89504e470d0a1a0a ] || fail "$png is not a PNG"
    printf -v want '%08x%08x' "$size" "$size"
    [ "${header:32:16}" = "$want" ] || fail "$png is not ${size}x${size}"
done

entry="$prefix/share/applications/keltoconnect.desktop"
if [ -f "$entry" ]; then
    want_exec="Exec=\"$bin/tovra.exe\""
    for line in '[Desktop Entry]' Type=Application Name=KeltoCONNECT \
        "$want_exec" "Path=$bin" Icon=keltoconnect Terminal=false \
        'Categories=Network;Utility;'; do
        grep -qxF -- "$line" "$entry" || fail "desktop entry lacks the line $line"
    done
    grep -q '^Comment=.' "$entry" || fail "desktop entry has no Comment"
    if command -v desktop-file-validate >/dev/null; then
        desktop-file-validate "$entry" | grep -v '^[^:]*: hint:' && fail "desktop entry is not valid"
    fi
else
    fail "no desktop entry $entry"
fi

# Started from elsewhere with the prefix on PATH, as a desktop session would:
# the history file appears beside the installed program, and nothing the
# program loads comes from the build tree.
mkdir "$work/elsewhere"
(cd "$work/elsewhere" &&
    exec env PATH="$bin:$PATH" QT_QPA_PLATFORM=offscreen LD_DEBUG=files \
        "$bin/tovra.exe" </dev/null >"$work/out.log" 2>"$work/ld.log") &
pid=$!
for _ in $(seq 100); do
    [ -e "$bin/tovra.dat" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
[ -e "$bin/tovra.dat" ] || fail "the started program made no history file beside itself"
[ -e "$work/elsewhere/tovra.dat" ] && fail "the history file went to the working directory"
kill -0 "$pid" 2>/dev/null || fail "the installed program did not keep running"
kill "$pid" 2>/dev/null
wait "$pid" 2>/dev/null
grep -qF "file=$bin/libkelto.so " "$work/ld.log" || fail "the runtime library was not loaded from $bin"
if grep -F "file=$build/" "$work/ld.log"; then
    fail "the installed program loaded a file of the build tree"
fi
if [ "$failures" -ne 0 ]; then
    echo "--- program output"; cat "$work/out.log"
    exit 1
fi
echo "installed and started from $prefix"
