#!/usr/bin/env bash
# Installs what is missing, builds, starts the data server on its demo database and opens the
# client on a demo record.
#   TARMEL_DEMO_PORT=8650 bash scripts/demo.sh    (another port; 0 takes any free one)
# When the port is taken (a demo already running, most often) the demo says so and stops.
set -euo pipefail
cd "$(dirname "$0")/.."
port=${TARMEL_DEMO_PORT:-8642}
[[ $port =~ ^[0-9]+$ ]] && ((port <= 65535)) || {
    echo "demo : TARMEL_DEMO_PORT=$port n'est pas un numéro de port (0 à 65535)." >&2
    exit 2
}
taken() {
    echo "demo : le port $port est déjà utilisé : une démonstration tourne peut-être déjà." >&2
    echo "Fermez-la, ou choisissez un autre port avec TARMEL_DEMO_PORT=… (0 : un port libre)." >&2
    exit 1
}
# Something answering there already: no need to build to know the demo cannot start.
if ((port != 0)) && (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then taken; fi

bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"

# The demo dealership lives in build/demo (built on the first run); the server listens on
# http://127.0.0.1:$port/tarmel/ until the client closes.
mkdir -p build/demo
rm -f build/demo/server.out
build/dataserver/tarmel-dataserver --db build/demo/dealership.db --photos build/demo/photos \
    --create-demo --port "$port" > build/demo/server.out 2> build/demo/server.log &
server=$!
trap 'kill "$server" 2>/dev/null || true' EXIT
base=""
for _ in $(seq 1 600); do
    base=$(sed -n 's/.*listening on \(http[^ ]*\).*/\1/p' build/demo/server.out 2>/dev/null)
    [[ -n $base ]] && break
    if ! kill -0 "$server" 2>/dev/null; then
        grep -q "Address already in use" build/demo/server.log && taken
        cat build/demo/server.log >&2
        exit 1
    fi
    sleep 0.1
done
[[ -n $base ]] || { echo "demo : le serveur de données n'a pas démarré." >&2; cat build/demo/server.log >&2; exit 1; }
cat build/demo/server.out >&2
root=${base%tarmel/}

# The client, through its launcher, on the dealership LYO as its super-administrator (user 4),
# showing the first used vehicle of the demo. It runs on its own; the server stays up until it
# closes.
build/mainwindow/tarmel-launch HttpRoot="$root" BaseHRef="$base" URLImages="${base}images/" \
    UserConcession=LYO "UserSite=#" idUser=4 idTVO=1001 idClient= idTypeVO=1 Trace=0
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
