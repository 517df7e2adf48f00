#!/usr/bin/env bash
# build.sh DIR [cmake options...]: configures and builds one configuration.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=$1
shift
launcher=()
# A compiler cache, where the machine has one, makes rebuilds of many worktrees cheap.
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$dir" -G Ninja "${launcher[@]}" "$@" >/dev/null
cmake --build "$dir" -j "$(nproc)"
