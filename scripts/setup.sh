#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the fuzzers need.
# Idempotent: does nothing when everything is present.
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache pkg-config
  qt6-base-dev libgl1-mesa-dev qt6-translations-l10n
  zlib1g-dev libzip-dev libcups2-dev nlohmann-json3-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  fonts-dejavu-core fonts-dejavu-extra fonts-liberation fontconfig
  poppler-utils
  cups-daemon cups-client  # the private-cupsd printing test
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  # The package tool's progress goes to a log, shown only when something fails.
  log="$(mktemp "${TMPDIR:-/tmp}/kovra-setup.XXXXXX.log")"
  if ! { $sudo apt-get update -qq &&
         $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"; \
       } >"$log" 2>&1; then
    echo "setup: installing the packages failed; the package tool said:" >&2
    cat "$log" >&2
    echo "setup: (kept in $log)" >&2
    exit 1
  fi
  rm -f "$log"
  echo "setup: done"
fi
