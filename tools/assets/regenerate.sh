#!/usr/bin/env bash
# Regenerates data/ (and the previews in docs/screens/) from tools/assets/.
# Installs the Debian packages the generators need when run as root.
set -euo pipefail
cd "$(dirname "$0")/../.."

PACKAGES=(python3 python3-cairo python3-numpy python3-pil fonts-dejavu-core
          espeak-ng sox libsox-fmt-all vorbis-tools)
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages; as root run: apt-get install -y ${missing[*]}" >&2
    exit 1
  fi
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The system interpreter, where the Debian Python packages live.
exec /usr/bin/python3 tools/assets/generate.py "$@"
