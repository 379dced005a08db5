#!/usr/bin/env bash
# Starts tarmel (through tarmel-launch) under Xvfb and writes one PNG of the window per tab page,
# page-01.png .. page-09.png, into the folder given, so anyone can look at what a person sees.
#   scripts/screenshots.sh screenshots/        (TARMEL_BUILD names the build folder, default build/)
# With --demo, a data server runs on a copy of the demo dealership and the window shows a used, a
# demonstration and a new vehicle and a client in turn: vo-page-1.png .. cl-page-3.png, one per
# page the record kind shows.
#   scripts/screenshots.sh --demo screenshots/
set -euo pipefail
demo=0
if [[ ${1:-} == --demo ]]; then demo=1; shift; fi
out=${1:?usage: screenshots.sh [--demo] OUTPUT_FOLDER}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TARMEL_BUILD:-$root/build}
launch=$build/mainwindow/tarmel-launch
[[ -x $launch && -x $build/mainwindow/tarmel ]] || { echo "screenshots: build tarmel first ($build)" >&2; exit 1; }
mkdir -p "$out"
out=$(cd "$out" && pwd)
work=$(mktemp -d)
xvfb_pid="" tarmel_pid=""

server_pid="" holder_pid=""
cleanup() {
  [[ -n $tarmel_pid ]] && kill "$tarmel_pid" 2>/dev/null || true
  [[ -n $holder_pid ]] && kill "$holder_pid" 2>/dev/null || true
  [[ -n $server_pid ]] && kill "$server_pid" 2>/dev/null || true
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
elif sys.argv[1] == "drag":  # drag X1 Y1 X2 Y2: pressed at the first point, released at the last
    import time
    x1, y1, x2, y2 = map(int, sys.argv[2:6])
    xtst.XTestFakeMotionEvent(d, -1, x1, y1, 0); xtst.XTestFakeButtonEvent(d, 1, 1, 0)
    for step in range(1, 11):
        x11.XFlush(d); time.sleep(0.02)
        xtst.XTestFakeMotionEvent(d, -1, x1 + (x2 - x1) * step // 10, y1 + (y2 - y1) * step // 10, 0)
    x11.XFlush(d); time.sleep(0.05)
    xtst.XTestFakeButtonEvent(d, 1, 0, 0)
else:
    code = x11.XKeysymToKeycode(d, x11.XStringToKeysym(sys.argv[2].encode()))
    xtst.XTestFakeKeyEvent(d, code, 1, 0); xtst.XTestFakeKeyEvent(d, code, 0, 0)
x11.XFlush(d); x11.XCloseDisplay(d)
PY
}

# A loopback port held by this run: bound, never listened on, so every connection to it is
# refused and no other program can take it while the pictures are taken. The holder ends with the
# script (cleanup, or its parent gone). Sets noserver to the port.
hold_noserver_port() {
  noserver=""
  python3 -c '
import os, socket, sys, time
s = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
s.bind(("127.0.0.1", 0))
print(s.getsockname()[1], flush=True)
parent = int(sys.argv[1])
while os.getppid() == parent:
    time.sleep(1)
' "$$" > "$work/noserver.port" &
  holder_pid=$!
  for _ in $(seq 50); do
    noserver=$(cat "$work/noserver.port" 2>/dev/null)
    [[ -n $noserver ]] && break
    sleep 0.1
  done
  [[ -n $noserver ]] || { echo "screenshots: no loopback port to hold" >&2; exit 1; }
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

# Pictures of the first pages shown, the first tab first, the arrow keys from page to page.
shoot() {  # shoot PREFIX COUNT; leaves x and y at the window's corner
  local info page
  wait_window
  info=$(xwininfo -id "$wid")
  x=$(awk '/Absolute upper-left X/{print $4}' <<<"$info")
  y=$(awk '/Absolute upper-left Y/{print $4}' <<<"$info")
  xinput click $((x + 20)) $((y + 56 + 12))
  for page in $(seq 1 "$2"); do
    ((page > 1)) && xinput key Right
    sleep 0.5
    import -window "$wid" "$out/$1$page.png"
  done
}

# The window, once it is mapped (a loaded machine, a whole test run beside, may take a while).
wait_window() {
  wid=""
  for _ in $(seq 900); do
    wid=$(xwininfo -root -tree 2>/dev/null | awk '/"(Tarmel|ClarumII)/{print $1; exit}')
    [[ -n $wid ]] && break
    sleep 0.1
  done
  [[ -n $wid ]] || { echo "screenshots: the window did not appear" >&2; exit 1; }
  tarmel_pid=$(sed -n 's/^FirstApplicationHandle=//p' "$APPDATA/Tarmel/TAXTarmel.ini" | tr -d '\r')
}

if ((demo == 0)); then
  # The window without a server: an address of its own where nothing can answer, whatever else
  # runs on this machine (a demo on 8642, say).
  hold_noserver_port
  "$launch" HttpRoot="http://127.0.0.1:$noserver/" BaseHRef="http://127.0.0.1:$noserver/tarmel/" \
    UserConcession=QUINTAR UserSite=ANGERS idUser=1 Trace=0
  wait_window
  sleep 1.5
  shoot page-0 9
  echo "screenshots: $(ls "$out"/page-0*.png | wc -l) pages in $out"
  exit 0
fi

# The demo dealership on a free port; the records of each kind picked from its database.
server=$build/dataserver/tarmel-dataserver
"$server" --db "$work/demo.db" --photos "$work/photos" --create-demo --port 0 --quiet \
  > "$work/server.out" 2> "$work/server.err" &
server_pid=$!
base=""
for _ in $(seq 300); do
  base=$(sed -n 's/.*listening on \(http[^ ]*\).*/\1/p' "$work/server.out")
  [[ -n $base ]] && break
  sleep 0.1
done
[[ -n $base ]] || { cat "$work/server.err" >&2; exit 1; }
pick() { sqlite3 "$work/demo.db" "$1"; }
vo=$(pick "select idTVO from tVehicles where TypeVO=1 and Concession='LYO' order by idTVO limit 1")
vd=$(pick "select idTVO from tVehicles where TypeVO=2 and ifnull(StatutVD,'')<>'' and Concession='LYO' order by idTVO limit 1")
vn=$(pick "select idTVO from tVehicles where TypeVO=2 and ifnull(StatutVD,'')='' and Concession='LYO' order by idTVO limit 1")
# A client with vehicles and follow-up actions, so that both grids show lines.
cl=$(pick "select c.idClient from tClients c where c.Concession='LYO' and exists (select 1 from TVehiclesClarum v where v.idClient=c.idClient) and exists (select 1 from tActions a where a.idClient=c.idClient) order by c.idClient limit 1")

common=(HttpRoot="${base%tarmel/}" BaseHRef="$base" URLImages="${base}images/" UserConcession=LYO
        "UserSite=#" idUser=4 Trace=0)
# A local folder of photos, remembered as the photo page's folder.
mkdir -p "$work/Clichés" "$APPDATA/Tarmel"
find "$work/photos" -name '*.jpg' ! -name '*m.jpg' | head -4 | xargs -r cp -t "$work/Clichés"
printf '[Options]\r\nPathImages=%s\r\n' "$(printf '%s' "$work/Clichés" | iconv -f UTF-8 -t LATIN1)" \
  > "$APPDATA/Tarmel/TAXTarmel.ini"
"$launch" "${common[@]}" idTVO="$vo" idClient= idTypeVO=1
wait_window
sleep 2
shoot vo-page- 4
# The photo page with a local photo and a linked photo chosen: both previews.
xinput click $((x + 60)) $((y + 165))
sleep 0.5
xinput click $((x + 400)) $((y + 165))
sleep 1
import -window "$wid" "$out/vo-photos.png"
# The blur editor on the reduced local photo, a band blurred across its front light, left with
# Escape (nothing is published).
xinput click $((x + 312)) $((y + 270))
blur=""
for _ in $(seq 50); do
  blur=$(xwininfo -root -tree 2>/dev/null | awk '/"Formulaire de Floutage/{print $1; exit}')
  [[ -n $blur ]] && break
  sleep 0.1
done
if [[ -n $blur ]]; then
  sleep 0.5
  binfo=$(xwininfo -id "$blur")
  bx=$(awk '/Absolute upper-left X/{print $4}' <<<"$binfo")
  by=$(awk '/Absolute upper-left Y/{print $4}' <<<"$binfo")
  xinput drag $((bx + 570)) $((by + 270)) $((bx + 400)) $((by + 370))
  sleep 0.5
  import -window "$blur" "$out/vo-blur.png"
  xinput key Escape
  sleep 0.3
fi
# A running window reloads what the launcher writes.
"$launch" "${common[@]}" idTVO="$vd" idClient= idTypeVO=3
sleep 2
shoot vd-page- 3
"$launch" "${common[@]}" idTVO="$vn" idClient= idTypeVO=2
sleep 2
shoot vn-page- 3
"$launch" "${common[@]}" idTVO= idClient="$cl" idTypeVO=1
sleep 2
shoot cl-page- 3
# The printed forms of the used vehicle as the browser gets them, rendered to pictures.
voidvo=$(pick "select idVO from tVehicles where idTVO=$vo")
for sheet in "Fiche Commerciale" "Feuille de Marge"; do
  name=$(tr ' ' '-' <<<"${sheet,,}")
  curl -sf -o "$work/$name.pdf" "${base}ReportPDF?rptSelect=idVO=$voidvo&rptName=VO%20-%20${sheet// /%20}" &&
    pdftoppm -png -r 70 -f 1 -l 1 -singlefile "$work/$name.pdf" "$out/vo-$name"
done
echo "screenshots: $(ls "$out"/*-page-*.png | wc -l) pages of four records in $out"
