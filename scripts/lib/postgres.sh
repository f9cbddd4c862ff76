# Starts a PostgreSQL cluster of our own for the tests: its own data directory, a free port
# on 127.0.0.1, trust authentication for the user "fai", stopped when the script exits.
# The database server refuses to run as root, so as root it runs as the "postgres" user.

fai_pg_bin() {
  local dir
  dir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
  [ -n "$dir" ] || { echo "postgres: no PostgreSQL server installed" >&2; return 1; }
  echo "$dir"
}

fai_free_port() {
  local port
  for port in $(seq 55432 55532); do
    if ! (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
      echo "$port"
      return 0
    fi
  done
  echo "postgres: no free port between 55432 and 55532" >&2
  return 1
}

# fai_start_postgres DATADIR: exports FAI_TEST_PG, the connection URL the tests use.
fai_start_postgres() {
  local datadir=$1 bin port as=()
  bin=$(fai_pg_bin) || return 1
  port=$(fai_free_port) || return 1
  if [ "$(id -u)" -eq 0 ]; then
    as=(runuser -u postgres --)
    # The postgres user must be able to reach the data directory; a build tree under a
    # private home may not allow that, so fall back to a private directory under /tmp.
    mkdir -p "$datadir"
    if ! runuser -u postgres -- test -x "$(dirname "$datadir")"; then
      datadir=$(mktemp -d /tmp/fai-pgdata.XXXXXX)
    fi
  fi
  rm -rf "$datadir"
  mkdir -p "$datadir"
  [ ${#as[@]} -gt 0 ] && chown postgres:postgres "$datadir"
  "${as[@]}" "$bin/initdb" -D "$datadir" -U fai -A trust -E UTF8 --locale=C.UTF-8 >"$datadir.initdb.log" 2>&1 ||
    { cat "$datadir.initdb.log" >&2; return 1; }
  "${as[@]}" "$bin/pg_ctl" -D "$datadir" -l "$datadir/server.log" -w -t 60 \
    -o "-p $port -k $datadir -c listen_addresses=127.0.0.1 -c fsync=off -c max_connections=200" start >/dev/null ||
    { cat "$datadir/server.log" >&2; return 1; }
  FAI_PG_DATADIR=$datadir
  FAI_PG_AS=("${as[@]}")
  FAI_PG_BINDIR=$bin
  export FAI_TEST_PG="postgresql://fai@127.0.0.1:$port/postgres"
  trap fai_stop_postgres EXIT
  echo "postgres: test cluster on 127.0.0.1:$port ($datadir)"
}

fai_stop_postgres() {
  [ -n "${FAI_PG_DATADIR:-}" ] || return 0
  "${FAI_PG_AS[@]}" "$FAI_PG_BINDIR/pg_ctl" -D "$FAI_PG_DATADIR" -m fast -w stop >/dev/null 2>&1 || true
  FAI_PG_DATADIR=
}
