#!/usr/bin/env bash
# A private PostgreSQL cluster for the tests: `pgcluster.sh start DIR` creates it in DIR (once)
# and starts it listening on a Unix socket in DIR only, with the superuser "tarmel" trusted on
# that socket; `pgcluster.sh stop DIR` stops it. PostgreSQL refuses to run as root, so as root
# the cluster belongs to (and runs as) Debian's "postgres" system user.
set -euo pipefail

command=${1:?usage: pgcluster.sh start|stop DIR}
dir=${2:?usage: pgcluster.sh start|stop DIR}
bindir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
if [[ -z "$bindir" ]]; then
  echo "pgcluster: PostgreSQL is not installed (scripts/install-deps.sh installs it)" >&2
  exit 1
fi

as_owner() {
  if [[ $(id -u) -eq 0 ]]; then
    runuser -u postgres -- "$@"
  else
    "$@"
  fi
}

case "$command" in
  start)
    mkdir -p "$dir"
    [[ $(id -u) -ne 0 ]] || chown postgres:postgres "$dir"
    chmod 700 "$dir"
    if [[ ! -f "$dir/data/PG_VERSION" ]]; then
      as_owner "$bindir/initdb" -D "$dir/data" -U tarmel --auth=trust --encoding=UTF8 \
        --locale=C --no-sync >"$dir/initdb.log" 2>&1 || { cat "$dir/initdb.log" >&2; exit 1; }
    fi
    if ! as_owner "$bindir/pg_ctl" -D "$dir/data" status >/dev/null 2>&1; then
      # No TCP at all; durability against the test's own kills does not need fsync.
      as_owner "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
        -o "-k $dir -c listen_addresses='' -c max_connections=400 -c fsync=off \
            -c shared_buffers=64MB -c full_page_writes=off" start >/dev/null
    fi
    ;;
  stop)
    if [[ -f "$dir/data/PG_VERSION" ]]; then
      as_owner "$bindir/pg_ctl" -D "$dir/data" -m fast -w stop >/dev/null 2>&1 || true
    fi
    ;;
  *)
    echo "usage: pgcluster.sh start|stop DIR" >&2
    exit 2
    ;;
esac
