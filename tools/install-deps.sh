#!/usr/bin/env bash
# Installs, in one apt-get call, those of the given Debian packages that are
# missing. Does nothing when all are present.
set -euo pipefail

missing=()
for package in "$@"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

if [[ $(id -u) -ne 0 ]]; then
  echo "verrine: missing Debian packages: ${missing[*]}; run as root or install them with apt-get." >&2
  exit 1
fi
echo "verrine: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
