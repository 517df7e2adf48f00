#!/usr/bin/env bash
# Builds the engine and runs its demonstration on an embedded SQLite database.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
scripts/build.sh build/release -DCMAKE_BUILD_TYPE=Release -DKZ8MRP_BUILD_TESTS=OFF \
  -DKZ8MRP_BUILD_BENCHMARKS=OFF
build/release/src/cli/kz8mrp demo "$@"
