#!/usr/bin/env bash
# The install test: both Debian packages installed with apt into a clean Debian 12 booted under
# systemd-nspawn; the server started by its unit, the client opened offscreen on a demo record,
# the configuration reloaded with systemctl reload, a photo sent to the photo FTP server. Slow
# (minutes) and needs root: not part of the CTest run.
#   bash tests/install/run.sh              (packages from build-packages/, built when absent)
#   bash tests/install/run.sh DIR          (the tarmel_*.deb and tarmel-dataserver_*.deb of DIR)
# The whole log: /var/tmp/tarmel-install/install-test.log (printed at the end).
set -euo pipefail
cd "$(dirname "$0")/../.."
debs=${1:-build-packages}
cache=${TARMEL_INSTALL_CACHE:-/var/tmp/tarmel-install}
export TARMEL_INSTALL_CACHE=$cache
machine=tarmel-install-test
root=$cache/$machine
log=$cache/install-test.log
mkdir -p "$cache/apt-archives"
: >"$log"
exec > >(tee "$log") 2>&1

# grep reading its whole input: with pipefail an early exit would fail the writer (SIGPIPE).
has() { grep -a -- "$1" >/dev/null; }
step() { printf '\n=== %s\n' "$*"; }
fail() {
  echo "ÉCHEC : $*"
  echo "journal complet : $log"
  exit 1
}

if ! compgen -G "$debs/tarmel_*.deb" >/dev/null ||
  ! compgen -G "$debs/tarmel-dataserver_*.deb" >/dev/null; then
  step "build of the packages (scripts/build-packages.sh)"
  TARMEL_PACKAGE_DIR=$debs bash scripts/build-packages.sh
fi
command -v systemd-nspawn >/dev/null || {
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends systemd-container
}

step "clean Debian 12 root (cached debootstrap under $cache)"
bash tests/install/make-root.sh
rm -rf "$root"
cp -a "$cache/bookworm-base" "$root"
mkdir -p "$root/root/debs"
cp "$debs"/tarmel_*.deb "$debs"/tarmel-dataserver_*.deb "$root/root/debs/"
ls -l "$root/root/debs"

# The container's programs run with the container's own environment.
contained() {
  env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 HOME=/root TERM=dumb \
    nsenter -t "$leader" -a -- "$@"
}
# The journal of one unit, without the pager.
journal() { contained journalctl -u "$1" --no-pager "${@:2}"; }
# Waits until the unit's journal holds the text: logged UNIT TEXT TRIES PAUSE.
logged() {
  for _ in $(seq 1 "$3"); do
    journal "$1" -o cat | has "$2" && return 0
    sleep "$4"
  done
  return 1
}
apt_opts=(-o APT::Keep-Downloaded-Packages=true -o Dpkg::Use-Pty=0)
debs_args="./tarmel-dataserver_*.deb ./tarmel_*.deb"
archives="$cache/apt-archives:/var/cache/apt/archives"

step "dependencies downloaded (host network, no install yet)"
# The booted container has a loopback of its own (the installed server takes port 8642 without
# meeting the host's servers): what apt needs is fetched first into the shared archive cache.
systemd-nspawn -q -D "$root" --register=no --keep-unit --bind="$archives" /bin/sh -c \
  "cd /root/debs && apt-get -q update &&
   apt-get -q -y ${apt_opts[*]} install --download-only $debs_args" |
  tail -5

step "boot of the container (systemd-nspawn -b, private network)"
systemd-nspawn -b -D "$root" -M "$machine" --register=no --keep-unit --private-network \
  --bind="$archives" --console=passive \
  >"$cache/container-console.log" 2>&1 &
nspawn=$!
cleanup() {
  if kill -0 "$nspawn" 2>/dev/null; then
    [[ -n ${leader:-} ]] && contained systemctl poweroff >/dev/null 2>&1 || kill "$nspawn"
    for _ in $(seq 1 100); do kill -0 "$nspawn" 2>/dev/null || break; sleep 0.2; done
    kill -0 "$nspawn" 2>/dev/null && kill -KILL "$nspawn"
  fi
  true
}
trap cleanup EXIT
# The container's init is the child of systemd-nspawn once it runs systemd (before, the child
# is nspawn's own setting-up process).
leader=""
for _ in $(seq 1 300); do
  leader=$(ps -o pid= --ppid "$nspawn" | tr -d ' ' | head -1)
  [[ -n $leader && $(ps -o comm= -p "$leader") == systemd ]] && break
  leader=""
  sleep 0.1
done
[[ -n $leader ]] || fail "le conteneur n'a pas démarré ($(cat "$cache/container-console.log"))"
# Until its bus is up systemctl cannot ask; then --wait waits for the end of the start-up.
state=""
for _ in $(seq 1 300); do
  state=$(contained timeout 120 systemctl is-system-running --wait 2>/dev/null || true)
  [[ -n $state && $state != offline ]] && break
  sleep 0.2
done
echo "container's systemd (pid $leader on the host): $state"
[[ $state == running || $state == degraded ]] || fail "le système du conteneur ne démarre pas"

step "apt install ./tarmel-dataserver_*.deb ./tarmel_*.deb"
contained /bin/sh -c \
  "cd /root/debs && DEBIAN_FRONTEND=noninteractive apt -q -y ${apt_opts[*]} install $debs_args" \
  >"$cache/apt-install.log" 2>&1 || {
  cat "$cache/apt-install.log"
  fail "apt install"
}
echo "(apt's whole output: $cache/apt-install.log; its end:)"
tail -25 "$cache/apt-install.log"
contained dpkg-query -W tarmel tarmel-dataserver

step "server started by its unit"
base_up=""
logged tarmel-dataserver "listening on" 300 0.2 && base_up=yes
contained systemctl status tarmel-dataserver tarmel-photoftp --no-pager -l || true
[[ -n $base_up ]] || fail "le serveur de données n'écoute pas"
contained systemctl is-active tarmel-dataserver tarmel-photoftp
contained ls -l /var/lib/tarmel /etc/tarmel

# An HTTP GET from inside the container, with the python3 the server package brings.
get() {
  contained python3 -c 'import sys, urllib.request
with urllib.request.urlopen(sys.argv[1], timeout=20) as r:
    sys.stdout.buffer.write(r.read())' "$1"
}
step "query to the installed server"
get "http://127.0.0.1:8642/tarmel/AxQuery?SQL=SELECT%20COUNT(*)%20AS%20n%20FROM%20tVehicles" |
  tee /dev/stderr | has 'RowCount="1"' || fail "la requête n'a pas répondu"
echo

step "client offscreen on the demo record (tarmel-launch, user vendeur)"
contained useradd --create-home --shell /bin/bash vendeur
contained runuser -u vendeur -- mkdir -p /home/vendeur/trace
contained runuser -u vendeur -- mkdir -m 0700 /home/vendeur/run
contained runuser -u vendeur -- env QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=/home/vendeur/run \
  tarmel-launch HttpRoot=http://127.0.0.1:8642/ BaseHRef=http://127.0.0.1:8642/tarmel/ \
  URLImages=http://127.0.0.1:8642/tarmel/images/ UserConcession=LYO "UserSite=#" idUser=4 \
  idTVO=1001 idClient= idTypeVO=1 Trace=1 TraceRepTemp=/home/vendeur/trace
trace=/home/vendeur/trace/TAXTarmel.log
opened=""
for _ in $(seq 1 300); do
  if contained grep -aq "AxInfoVO.*idTVO=1001" "$trace" 2>/dev/null &&
    journal tarmel-dataserver -o cat | has "GET /tarmel/AxInfoVO 200"; then
    opened=yes
    break
  fi
  sleep 0.2
done
sleep 2
echo "-- the client's trace log ($trace), its exchanges:"
contained grep -a "HttpExecute\|HttpPost\|Exception" "$trace" | cut -c1-240 || true
echo "-- the server's journal, the client's requests:"
journal tarmel-dataserver -o short-iso | grep -E "GET|POST" | tail -15
settings=/home/vendeur/.config/Tarmel/TAXTarmel.ini
client=$(contained sed -n 's/^FirstApplicationHandle=//p' "$settings" | tr -d '\r')
echo "client process in the container: ${client:-none}"
[[ -n $opened ]] || fail "le client n'a pas ouvert la fiche 1001"
contained grep -aq "Exception" "$trace" && fail "le client a signalé une erreur d'échange"
# The record document the client received and kept beside its trace: vehicle 1001, no refusal.
record=/home/vendeur/trace/XmlVO.xml
echo "-- the record document the client read ($record), its start:"
contained head -c 700 "$record" | iconv -f ISO-8859-1 -t UTF-8
echo
contained grep -aq "<LogItem" "$record" && fail "la fiche 1001 a été refusée"
contained grep -aq "1001" "$record" || fail "le document reçu n'est pas la fiche 1001"
sleep 2
contained /bin/sh -c "kill -0 $client" ||
  fail "le client s'est arrêté après l'ouverture de la fiche"
echo "the client is still running with record 1001 open"
# Qt's French texts: qt6-translations-l10n's file, where the installed Qt looks for it, is
# mapped by the client.
contained grep -m1 "qtbase_fr.qm" "/proc/$client/maps" ||
  fail "le client n'a pas chargé les textes français de Qt"
[[ -n $client ]] && contained /bin/sh -c "kill $client" || true

step "systemctl reload with a new port"
contained sed -i 's/^port = 8642$/port = 8643/' /etc/tarmel/dataserver.conf
contained systemctl reload tarmel-dataserver
reloaded=""
logged tarmel-dataserver "listening on http://127.0.0.1:8643/" 100 0.1 && reloaded=yes
journal tarmel-dataserver -o short-iso | grep -v -E " (GET|POST) " | tail -8
[[ -n $reloaded ]] || fail "le rechargement n'a pas pris le nouveau port"
get "http://127.0.0.1:8643/tarmel/AxQuery?SQL=SELECT%201" | has 'RowCount="1"' ||
  fail "le nouveau port ne répond pas"
echo "port 8643 answers after the reload"
contained sed -i 's/^threads = 4$/threads = beaucoup/' /etc/tarmel/dataserver.conf
contained systemctl reload tarmel-dataserver
sleep 1
journal tarmel-dataserver -o short-iso | tail -3
get "http://127.0.0.1:8643/tarmel/AxQuery?SQL=SELECT%201" | has 'RowCount="1"' ||
  fail "un fichier en défaut a arrêté le serveur"
echo "a file at fault leaves port 8643 answering"
contained sed -i 's/^threads = beaucoup$/threads = 4/' /etc/tarmel/dataserver.conf

step "photo sent to the photo FTP server, served at the images address"
contained python3 -c 'import ftplib, io
password = open("/etc/tarmel/ftp-password").readline().strip()
ftp = ftplib.FTP()
ftp.connect("127.0.0.1", 2121, timeout=20)
ftp.login("tarmel", password)
ftp.cwd("www/voimages")
ftp.storbinary("STOR installtest.jpg", io.BytesIO(b"\xff\xd8\xff" + b"photo" * 300))
ftp.quit()
print("uploaded www/voimages/installtest.jpg")'
sent() {
  printf '\xff\xd8\xff'
  for _ in $(seq 300); do printf photo; done
}
get "http://127.0.0.1:8643/tarmel/images/installtest.jpg" | cmp - <(sent) ||
  fail "la photo envoyée n'est pas servie"
echo "the uploaded photo is served at http://127.0.0.1:8643/tarmel/images/installtest.jpg"
journal tarmel-photoftp -o short-iso | tail -6

step "final state"
contained systemctl status tarmel-dataserver --no-pager -l | head -20

step "apt purge tarmel-dataserver"
contained /bin/sh -c \
  "DEBIAN_FRONTEND=noninteractive apt -q -y ${apt_opts[*]} purge tarmel-dataserver" 2>&1 |
  sed "/^(Reading database/d" | tail -4
contained systemctl is-active tarmel-dataserver tarmel-photoftp || true
if contained test -e /var/lib/tarmel || contained test -e /etc/tarmel; then
  fail "la purge a laissé /var/lib/tarmel ou /etc/tarmel"
fi
contained systemctl is-active --quiet tarmel-dataserver && fail "le service tourne après la purge"
echo "purged: units stopped, /var/lib/tarmel and /etc/tarmel removed"
echo
echo "RÉUSSI : installation, service, client et rechargement vérifiés (${SECONDS} s)."
echo "journal complet : $log"
