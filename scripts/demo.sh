#!/usr/bin/env bash
# Installs what is missing, builds, starts the data server on its demo database and opens the
# client on a demo record.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"

# The demo dealership lives in build/demo (built on the first run); the server listens on
# http://127.0.0.1:8642/tarmel/ until the client closes.
mkdir -p build/demo
build/dataserver/tarmel-dataserver --db build/demo/dealership.db --photos build/demo/photos \
    --create-demo --port 8642 > build/demo/server.out 2> build/demo/server.log &
server=$!
trap 'kill "$server" 2>/dev/null || true' EXIT
for _ in $(seq 1 300); do
    grep -q "listening on" build/demo/server.out 2>/dev/null && break
    kill -0 "$server" 2>/dev/null || { cat build/demo/server.log >&2; exit 1; }
    sleep 0.1
done
cat build/demo/server.out >&2

# The client, through its launcher, on the dealership LYO as its super-administrator (user 4),
# showing the first used vehicle of the demo. It runs on its own; the server stays up until it
# closes.
build/mainwindow/tarmel-launch HttpRoot=http://127.0.0.1:8642/ BaseHRef=http://127.0.0.1:8642/tarmel/ \
    URLImages=http://127.0.0.1:8642/tarmel/images/ UserConcession=LYO "UserSite=#" idUser=4 \
    idTVO=1001 idClient= idTypeVO=1 Trace=0
settings=${APPDATA:-${XDG_CONFIG_HOME:-$HOME/.config}}/Tarmel/TAXTarmel.ini
client=""
for _ in $(seq 1 100); do
    client=$(sed -n 's/^FirstApplicationHandle=//p' "$settings" 2>/dev/null | tr -d '\r')
    [[ -n $client ]] && kill -0 "$client" 2>/dev/null && break
    sleep 0.1
done
[[ -n $client ]] || { echo "demo: the client did not start" >&2; exit 1; }
echo "demo: client running (process $client); close its window to stop the demo." >&2
while kill -0 "$client" 2>/dev/null; do sleep 1; done
