#!/usr/bin/env bash
# Makes (once) a clean Debian 12 root that can boot under systemd-nspawn, cached under /var/tmp
# so that reruns of the install test start from a copy instead of a new debootstrap.
set -euo pipefail

cache=${TARMEL_INSTALL_CACHE:-/var/tmp/tarmel-install}
base=$cache/bookworm-base
mirror=${TARMEL_DEBIAN_MIRROR:-http://deb.debian.org/debian}

if [[ -f $base/.complete ]]; then
  exit 0
fi
command -v debootstrap >/dev/null || {
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap
}
rm -rf "$base"
mkdir -p "$cache"
# systemd and dbus so that the root boots with `systemd-nspawn -b`; nothing of the project yet.
debootstrap --variant=minbase --include=systemd,systemd-sysv,dbus,ca-certificates \
  bookworm "$base" "$mirror"
cat >"$base/etc/apt/sources.list" <<SOURCES
deb $mirror bookworm main
deb $mirror bookworm-updates main
deb http://deb.debian.org/debian-security bookworm-security main
SOURCES
touch "$base/.complete"
