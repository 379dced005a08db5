#!/usr/bin/env bash
# Builds the two Debian packages, tarmel (the client) and tarmel-dataserver (the server), from a
# Release build of its own folder, and prints their paths.
#   bash scripts/build-packages.sh            (packages in build-packages/)
#   TARMEL_PACKAGE_DIR=/tmp/out bash scripts/build-packages.sh
set -euo pipefail
cd "$(dirname "$0")/.."
out=${TARMEL_PACKAGE_DIR:-build-packages}

bash scripts/install-deps.sh
# What packaging needs beyond the build: dpkg-shlibdeps (dpkg-dev) for the library dependencies,
# rsvg-convert for the bitmap icon.
missing=()
for p in dpkg-dev librsvg2-bin; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
if ((${#missing[@]} > 0)); then
  SUDO=""
  [[ $(id -u) -eq 0 ]] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
fi

# Only what the packages hold is built: the tests and benchmarks stay out of this folder's work.
cmake -S . -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >/dev/null
cmake --build "$out" -j"${TARMEL_BUILD_JOBS:-$(nproc)}" \
  --target tarmel tarmel-launch tarmel-dataserver tarmel-icons tarmel-package-docs
rm -f "$out"/tarmel_*.deb "$out"/tarmel-dataserver_*.deb
(cd "$out" && cpack -G DEB >/dev/null)
for deb in "$out"/tarmel_*.deb "$out"/tarmel-dataserver_*.deb; do
  [[ -f $deb ]] || { echo "build-packages : paquet manquant ($deb)" >&2; exit 1; }
  realpath "$deb"
done
