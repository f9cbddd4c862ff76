# Starts a PostgreSQL cluster of our own for the tests: its own data directory, a free port
# on 127.0.0.1, trust authentication for the user "fai", stopped when the script exits.
# The database server refuses to run as root, so as root it runs as the "postgres" user.

fai_pg_bin() {
  local dir
  dir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
  [ -n "$dir" ] || { echo "postgres: no PostgreSQL server installed" >&2; return 1; }
  echo "$dir"
}

# A port where nothing listens, looked for from a place of its own in the range, so that
# clusters started at the same moment seldom look at the same port first.
fai_free_port() {
  local first=$((RANDOM % 101)) i port
  for i in $(seq 0 100); do
    port=$((55432 + (first + i) % 101))
    if ! (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
      echo "$port"
      return 0
    fi
  done
  echo "postgres: no free port between 55432 and 55532" >&2
  return 1
}

# Sets FAI_PG_BINDIR and FAI_PG_AS, the command prefix that runs the database's programs.
fai_pg_programs() {
  FAI_PG_BINDIR=$(fai_pg_bin) || return 1
  FAI_PG_AS=()
  [ "$(id -u)" -eq 0 ] && FAI_PG_AS=(runuser -u postgres --)
  return 0
}

# fai_pg_ctl DATADIR ACTION: stops or starts the cluster of DATADIR, waiting until it has.
fai_pg_ctl() {
  fai_pg_programs || return 1
  "${FAI_PG_AS[@]}" "$FAI_PG_BINDIR/pg_ctl" -D "$1" -l "$1/server.log" -m fast -w -t 60 "$2" >/dev/null ||
    { cat "$1/server.log" >&2; return 1; }
}

# fai_init_postgres DATADIR: makes a cluster in DATADIR and starts it (FAI_PG_MAX_CONNECTIONS
# connections at most, 200 by default). Its place and port
# are kept in its own settings, so that fai_pg_ctl starts it again as it was. Sets
# FAI_PG_DATADIR (as root, a directory under /tmp when the postgres user cannot reach
# DATADIR), FAI_PG_PORT and FAI_PG_URL.
fai_init_postgres() {
  local datadir=$1 port attempt started=
  fai_pg_programs || return 1
  if [ ${#FAI_PG_AS[@]} -gt 0 ]; then
    # The postgres user must be able to reach the data directory; a build tree under a
    # private home may not allow that, so fall back to a private directory under /tmp.
    mkdir -p "$datadir"
    if ! runuser -u postgres -- test -x "$(dirname "$datadir")"; then
      datadir=$(mktemp -d /tmp/fai-pgdata.XXXXXX)
    fi
  fi
  rm -rf "$datadir"
  mkdir -p "$datadir"
  [ ${#FAI_PG_AS[@]} -gt 0 ] && chown postgres:postgres "$datadir"
  "${FAI_PG_AS[@]}" "$FAI_PG_BINDIR/initdb" -D "$datadir" -U fai -A trust -E UTF8 --locale=C.UTF-8 \
    --no-sync >"$datadir.initdb.log" 2>&1 || { cat "$datadir.initdb.log" >&2; return 1; }
  printf '%s\n' "listen_addresses = '127.0.0.1'" "unix_socket_directories = '$datadir'" \
    "fsync = off" "max_connections = ${FAI_PG_MAX_CONNECTIONS:-200}" |
    "${FAI_PG_AS[@]}" tee -a "$datadir/postgresql.conf" >/dev/null
  # Another cluster may take the port between the look and the start: then another one (the
  # last port line of the settings is the one that holds).
  for attempt in 1 2 3 4 5; do
    port=$(fai_free_port) || return 1
    echo "port = $port" | "${FAI_PG_AS[@]}" tee -a "$datadir/postgresql.conf" >/dev/null
    if fai_pg_ctl "$datadir" start 2>/dev/null; then
      started=1
      break
    fi
  done
  [ -n "$started" ] || { cat "$datadir/server.log" >&2; return 1; }
  # The login the servers read the database with for the hosts (their --reader).
  "${FAI_PG_AS[@]}" "$FAI_PG_BINDIR/psql" -X -q -h "$datadir" -p "$port" -U fai -d postgres \
    -c "CREATE ROLE fai_leitor LOGIN" >/dev/null || return 1
  FAI_PG_DATADIR=$datadir
  FAI_PG_PORT=$port
  FAI_PG_URL="postgresql://fai@127.0.0.1:$port/postgres"
}

# fai_start_postgres DATADIR: exports FAI_TEST_PG, the connection URL the tests use.
fai_start_postgres() {
  fai_init_postgres "$1" || return 1
  export FAI_TEST_PG=$FAI_PG_URL
  trap fai_stop_postgres EXIT
  echo "postgres: test cluster on 127.0.0.1:$FAI_PG_PORT ($FAI_PG_DATADIR)"
}

fai_stop_postgres() {
  [ -n "${FAI_PG_DATADIR:-}" ] || return 0
  fai_pg_ctl "$FAI_PG_DATADIR" stop 2>/dev/null || true
  FAI_PG_DATADIR=
}
