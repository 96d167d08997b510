#!/usr/bin/env bash
# Installs what the benchmarks need beyond scripts/setup.sh: Google Benchmark,
# and the reference decoders, parsers and module players they are compared with
# (openmpt123 and xmp render modules for tools/xmcompare; never a build dependency).
set -euo pipefail

PACKAGES=(libbenchmark-dev libpng-dev libspng-dev libpugixml-dev libexpat1-dev libopenmpt-dev libxmp-dev openmpt123 xmp pkg-config)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0
if [ "$(id -u)" -ne 0 ]; then
  echo "These packages are missing; install them as root and run this again:" >&2
  echo "  apt-get update && apt-get install -y --no-install-recommends ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
