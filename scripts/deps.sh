#!/usr/bin/env bash
# Installs the Debian packages a fresh machine lacks for building and testing.
# Sourced by the other scripts; safe to run again.
set -euo pipefail

kz8mrp_packages=(g++ cmake ninja-build pkg-config libsqlite3-dev libpq-dev
                 libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev
                 nlohmann-json3-dev "$@")

kz8mrp_install_missing() {
  local missing=()
  for p in "${kz8mrp_packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

kz8mrp_install_missing
