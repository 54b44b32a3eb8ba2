#!/usr/bin/env bash
# Installs the Debian packages the trainer needs to build, run and test, and only those
# that are missing; run as root or through sudo. Extra package names may be passed.
set -euo pipefail

pakete=(cmake ninja-build g++ qt6-base-dev qt6-translations-l10n fonts-liberation libgl-dev "$@")
fehlend=()
for paket in "${pakete[@]}"; do
    dpkg-query -W -f='${Status}' "$paket" 2>/dev/null | grep -q "install ok installed" || fehlend+=("$paket")
done
[ ${#fehlend[@]} -eq 0 ] && exit 0

als_root=()
[ "$(id -u)" -ne 0 ] && als_root=(sudo)
echo "Installing: ${fehlend[*]}"
"${als_root[@]}" apt-get update
"${als_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y "${fehlend[@]}"
