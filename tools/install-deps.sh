#!/usr/bin/env bash
# Installs, in one apt-get call, those of the given Debian packages that are
# missing. Does nothing when all are present. When they cannot be installed
# (not root, apt's mirror out of reach, apt locked or broken) it says so in
# one line naming them and exits with status 1, before anything is built;
# apt's own report stays in a log file for whoever wants the details.
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
log=$(mktemp "${TMPDIR:-/tmp}/verrine-apt.XXXXXX")
# apt-get update reports an unreachable mirror with a warning only, and the
# install then fails for want of the files or of the lists: the failed fetch
# is the reason to show, before the error it leads to.
if ! { apt-get update -qq && apt-get install -y -qq --no-install-recommends -o DPkg::Lock::Timeout=300 "${missing[@]}"; } \
     >"$log" 2>&1; then
  reason=$({ grep -m 1 'Failed to fetch' "$log" || grep -m 1 '^E: ' "$log" || true; } | tr -s ' ')
  echo "verrine: could not install the Debian packages ${missing[*]}${reason:+ (apt: ${reason#?: })}; apt's report is in $log." >&2
  exit 1
fi
rm -f "$log"
