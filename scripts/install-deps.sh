#!/usr/bin/env bash
# Installs the Debian packages the project builds, tests and demos with; calls apt-get only for
# what is absent, so a second run on a ready machine returns at once.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libgl-dev qt6-translations-l10n
  libcurl4-openssl-dev libjpeg62-turbo-dev libmicrohttpd-dev libsqlite3-dev libcairo2-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  xvfb x11-apps x11-utils libxtst6 imagemagick fonts-comic-neue fonts-dejavu-core
  libxml2-utils libxml2-dev poppler-utils python3-pyftpdlib wrk sqlite3
  libhwy-dev libexif-dev libvips-dev curl
  postgresql postgresql-contrib libpq-dev
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

echo "install-deps: installing ${missing[*]}" >&2
SUDO=""
[[ $(id -u) -eq 0 ]] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
