#!/usr/bin/env bash
# Starts tarmel (through tarmel-launch) under Xvfb and writes one PNG of the window per tab page,
# page-01.png .. page-09.png, into the folder given, so anyone can look at what a person sees.
#   scripts/screenshots.sh screenshots/        (TARMEL_BUILD names the build folder, default build/)
set -euo pipefail
out=${1:?usage: screenshots.sh OUTPUT_FOLDER}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TARMEL_BUILD:-$root/build}
launch=$build/mainwindow/tarmel-launch
[[ -x $launch && -x $build/mainwindow/tarmel ]] || { echo "screenshots: build tarmel first ($build)" >&2; exit 1; }
mkdir -p "$out"
out=$(cd "$out" && pwd)
work=$(mktemp -d)
xvfb_pid="" tarmel_pid=""

cleanup() {
  [[ -n $tarmel_pid ]] && kill "$tarmel_pid" 2>/dev/null || true
  [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# Mouse and keys through the X test extension, which Xvfb has.
xinput() {
  python3 - "$@" <<'PY'
import ctypes, sys
x11 = ctypes.CDLL("libX11.so.6"); xtst = ctypes.CDLL("libXtst.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p; x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XStringToKeysym.restype = ctypes.c_ulong; x11.XStringToKeysym.argtypes = [ctypes.c_char_p]
x11.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
x11.XFlush.argtypes = x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
xtst.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_int, ctypes.c_ulong]
xtst.XTestFakeButtonEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
d = x11.XOpenDisplay(None)
if sys.argv[1] == "click":
    xtst.XTestFakeMotionEvent(d, -1, int(sys.argv[2]), int(sys.argv[3]), 0)
    xtst.XTestFakeButtonEvent(d, 1, 1, 0); xtst.XTestFakeButtonEvent(d, 1, 0, 0)
else:
    code = x11.XKeysymToKeycode(d, x11.XStringToKeysym(sys.argv[2].encode()))
    xtst.XTestFakeKeyEvent(d, code, 1, 0); xtst.XTestFakeKeyEvent(d, code, 0, 0)
x11.XFlush(d); x11.XCloseDisplay(d)
PY
}

# A free display number.
for n in $(seq 91 160); do
  if [[ ! -e /tmp/.X$n-lock && ! -e /tmp/.X11-unix/X$n ]]; then display=:$n; break; fi
done
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=$display APPDATA=$work/appdata TEMP=$work
unset QT_QPA_PLATFORM  # the real X server, not the offscreen one of the unit tests
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

"$launch" HttpRoot=http://127.0.0.1:8642/ BaseHRef=http://127.0.0.1:8642/tarmel/ \
  UserConcession=QUINTAR UserSite=ANGERS idUser=1 Trace=0

# The window, once it is mapped; the start sequence then hides the splash on the first tick.
wid=""
for _ in $(seq 300); do
  wid=$(xwininfo -root -tree 2>/dev/null | awk '/"Tarmel /{print $1; exit}')
  [[ -n $wid ]] && break
  sleep 0.1
done
[[ -n $wid ]] || { echo "screenshots: the window did not appear" >&2; exit 1; }
tarmel_pid=$(sed -n 's/^FirstApplicationHandle=//p' "$APPDATA/Tarmel/TAXTarmel.ini" | tr -d '\r')
sleep 1.5

info=$(xwininfo -id "$wid")
x=$(awk '/Absolute upper-left X/{print $4}' <<<"$info")
y=$(awk '/Absolute upper-left Y/{print $4}' <<<"$info")

# The first tab, then the arrow keys from page to page.
xinput click $((x + 20)) $((y + 56 + 12))
for page in 1 2 3 4 5 6 7 8 9; do
  ((page > 1)) && xinput key Right
  sleep 0.5
  import -window "$wid" "$out/page-0$page.png"
done
echo "screenshots: $(ls "$out"/page-0*.png | wc -l) pages in $out"
