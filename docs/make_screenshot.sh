#!/bin/bash
# Takes docs/screenshot.png: the main dialog after a run of three connections
# to a listener on 127.0.0.1, the program shown on a virtual X server.
#
#   docs/make_screenshot.sh [BUILD_DIR]      (default: build)
#
# Builds nothing: BUILD_DIR/bin must hold tovra.exe and libkelto.so. Installs
# the Debian packages it lacks (the X server, xdotool to type into the
# dialog, xwd and netpbm for the picture). The program runs in its own bin
# directory, as `make run` starts it, and is killed at the end, so it saves no
# history.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
[ -d "$build" ] || build="$root/$build"
bin=$(cd "$build/bin" 2>/dev/null && pwd) || { echo "no directory $build/bin" >&2; exit 1; }
[ -x "$bin/tovra.exe" ] || { echo "no $bin/tovra.exe: build first (make)" >&2; exit 1; }
out="$root/docs/screenshot.png"

# Debian packages by the command that needs them.
missing=
for need in Xvfb:xvfb xdotool:xdotool xwd:x11-apps xwdtopnm:netpbm python3:python3; do
    command -v "${need%%:*}" >/dev/null || missing="$missing ${need#*:}"
done
if [ -n "$missing" ]; then
    sudo=
    [ "$(id -u)" = 0 ] || sudo=sudo
    echo "Installing:$missing"
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    # shellcheck disable=SC2086
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing
fi

work=$(mktemp -d)
pids=()
history_was_there=
[ -e "$bin/tovra.dat" ] && history_was_there=1
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    # Starting the program creates an empty history file when there is none.
    if [ -z "$history_was_there" ] && [ -e "$bin/tovra.dat" ] && [ ! -s "$bin/tovra.dat" ]; then
        rm -f "$bin/tovra.dat"
    fi
    rm -rf "$work"
}
trap cleanup EXIT

# A free display number, and an X server on it that listens on no network.
display=
for n in $(seq 90 120); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
        display=$n
        break
    fi
done
[ -n "$display" ] || { echo "no free X display number" >&2; exit 1; }
Xvfb ":$display" -screen 0 640x480x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 50); do
    [ -e "/tmp/.X11-unix/X$display" ] && break
    sleep 0.1
done
export DISPLAY=":$display"

# The listener: accepts and closes connections on 127.0.0.1, port 8000 when
# it is free, else any.
python3 -u -c '
import socket
s = socket.socket()
s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
try:
    s.bind(("127.0.0.1", 8000))
except OSError:
    s.bind(("127.0.0.1", 0))
s.listen(16)
print(s.getsockname()[1])
while True:
    s.accept()[0].close()
' >"$work/port" &
pids+=($!)
for _ in $(seq 50); do
    [ -s "$work/port" ] && break
    sleep 0.1
done
port=$(head -n1 "$work/port")

(cd "$bin" && exec env -u QT_QPA_PLATFORM ./tovra.exe >"$work/tovra.log" 2>&1) &
pids+=($!)
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^KeltoCONNECT$' | head -n1)
[ -n "$window" ] || { echo "the dialog did not appear" >&2; cat "$work/tovra.log" >&2; exit 1; }
sleep 1
xdotool mousemove --window "$window" 5 5 windowfocus --sync "$window"

# The focus starts in the target box, which may show the first history entry:
# replace its text, and drop what type-ahead may have added. Then through the
# tab order: the port field, the trackbar (three connections), the service
# box ("Other", the last entry), back to the now editable port field, Connect.
keys() { xdotool key --delay 120 "$@"; sleep 0.3; }
keys ctrl+a
xdotool type --delay 80 127.0.0.1
keys Delete Tab Tab Right Right Tab End shift+Tab shift+Tab
xdotool type --delay 80 "$port"
keys alt+c
sleep 3

xwd -silent -id "$window" >"$work/shot.xwd"
xwdtopnm "$work/shot.xwd" 2>/dev/null | pnmtopng >"$work/shot.png" 2>/dev/null
mv "$work/shot.png" "$out"
echo "wrote $out (run against 127.0.0.1:$port)"
