#!/usr/bin/env bash
# Installs what only the benchmarks need: Google Benchmark and the reference
# decoders and parsers they are compared with. Run as root.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends libbenchmark-dev libpng-dev libspng-dev libpugixml-dev libexpat1-dev
