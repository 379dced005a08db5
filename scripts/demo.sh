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
# http://127.0.0.1:$port/tarmel/ until the client closes. Its photos are the www/voimages folder
# of the photo FTP server's root, build/demo/ftp, as on a dealership's photo server: a photo the
# client uploads is served at once at the images address.
mkdir -p build/demo/ftp/www
photos=build/demo/ftp/www/voimages
# The photos of a demo built before the FTP root existed move under it.
if [[ -d build/demo/photos && ! -e $photos ]]; then mv build/demo/photos "$photos"; fi
rm -f build/demo/server.out build/demo/ftp.log
build/dataserver/tarmel-dataserver --db build/demo/dealership.db --photos "$photos" \
    --create-demo --port "$port" > build/demo/server.out 2> build/demo/server.log &
server=$!
ftp=""
trap 'kill "$server" $ftp 2>/dev/null || true' EXIT

# The photo FTP server (Debian's pyftpdlib) on a free loopback port, for an account made up at
# each start: it lives only in the settings file and in this process, and ends with the demo.
ftpuser=demo$(od -An -N4 -tx1 /dev/urandom | tr -d ' \n')
ftppassword=$(od -An -N18 -tx1 /dev/urandom | tr -d ' \n')
/usr/bin/python3 -m pyftpdlib -i 127.0.0.1 -p 0 -d "$PWD/build/demo/ftp" -u "$ftpuser" \
    -P "$ftppassword" -w > build/demo/ftp.log 2>&1 &
ftp=$!
ftpport=""
for _ in $(seq 1 100); do
    ftpport=$(sed -n 's/.*starting FTP server on 127\.0\.0\.1:\([0-9]*\),.*/\1/p' \
        build/demo/ftp.log 2>/dev/null)
    [[ -n $ftpport ]] && break
    kill -0 "$ftp" 2>/dev/null || break
    sleep 0.1
done
[[ -n $ftpport ]] || {
    echo "demo : le serveur FTP des photos n'a pas démarré." >&2
    cat build/demo/ftp.log >&2
    exit 1
}
echo "demo : serveur FTP des photos sur 127.0.0.1:$ftpport (racine build/demo/ftp," \
    "journal build/demo/ftp.log)" >&2
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
# showing the first used vehicle of the demo, its photos uploaded to the demo's FTP server, its
# test SMS sent to the data server's own SMS path. It runs on its own; the servers stay up until
# it closes.
build/mainwindow/tarmel-launch HttpRoot="$root" BaseHRef="$base" URLImages="${base}images/" \
    UserConcession=LYO "UserSite=#" idUser=4 idTVO=1001 idClient= idTypeVO=1 Trace=0 \
    PhotoFtpServer="127.0.0.1:$ftpport" PhotoFtpUser="$ftpuser" \
    PhotoFtpPassword="$ftppassword" PhotoFtpGateway= \
    SmsService="${root%/}" SmsTestRecipient=+33600000000
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
