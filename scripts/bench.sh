#!/usr/bin/env bash
# Builds the release configuration and runs every benchmark program, on SQLite
# and on a throwaway PostgreSQL server started for the run (KZ8MRP_BENCH_PG).
# Extra arguments go to each program (e.g. --benchmark_filter=PostgreSQL).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh postgresql-15
source scripts/pg-server.sh

# The demo configures the same folder without benchmarks: ask for them again.
scripts/build.sh build/release -DCMAKE_BUILD_TYPE=Release -DKZ8MRP_BUILD_TESTS=OFF \
  -DKZ8MRP_BUILD_BENCHMARKS=ON

trap kz8mrp_pg_stop EXIT
kz8mrp_pg_start
export KZ8MRP_BENCH_PG=$KZ8MRP_PG
for b in build/release/bench/bench_*; do
  "$b" "$@"
done
