#!/usr/bin/env bash
# Sourced by the test and benchmark scripts: starts a throwaway PostgreSQL 15
# server in a temporary folder (unix socket only, no TCP port) and stops it.
#   kz8mrp_pg_start   exports KZ8MRP_PG (a libpq connection string to the
#                     maintenance database "postgres")
#   kz8mrp_pg_stop    stops the server and removes the folder
# The server refuses to run as root: as root it runs as the postgres user.

kz8mrp_pg_bin=/usr/lib/postgresql/15/bin
kz8mrp_pg_dir=""

kz8mrp_pg_as() {
  if [ "$(id -u)" -eq 0 ]; then
    runuser -u postgres -- "$@"
  else
    "$@"
  fi
}

kz8mrp_pg_start() {
  kz8mrp_pg_dir=$(mktemp -d /tmp/kz8mrp-pg.XXXXXX)
  [ "$(id -u)" -eq 0 ] && chown postgres: "$kz8mrp_pg_dir"
  if ! kz8mrp_pg_as "$kz8mrp_pg_bin/initdb" -D "$kz8mrp_pg_dir/data" -U postgres \
      --auth=trust -E UTF8 --locale=C >"$kz8mrp_pg_dir/initdb.log" 2>&1; then
    cat "$kz8mrp_pg_dir/initdb.log" >&2
    return 1
  fi
  # Durability is pointless for a server that is thrown away: skip the syncs.
  local options="-c listen_addresses='' -c unix_socket_directories='$kz8mrp_pg_dir'"
  options+=" -c fsync=off -c synchronous_commit=off -c full_page_writes=off"
  options+=" -c max_connections=300"
  if ! kz8mrp_pg_as "$kz8mrp_pg_bin/pg_ctl" -D "$kz8mrp_pg_dir/data" \
      -l "$kz8mrp_pg_dir/server.log" -w -t 60 -o "$options" start >/dev/null; then
    cat "$kz8mrp_pg_dir/server.log" >&2
    return 1
  fi
  export KZ8MRP_PG="host=$kz8mrp_pg_dir port=5432 dbname=postgres user=postgres"
}

kz8mrp_pg_stop() {
  [ -n "$kz8mrp_pg_dir" ] || return 0
  kz8mrp_pg_as "$kz8mrp_pg_bin/pg_ctl" -D "$kz8mrp_pg_dir/data" -m immediate -w stop \
    >/dev/null 2>&1 || true
  rm -rf "$kz8mrp_pg_dir"
  kz8mrp_pg_dir=""
}
