#!/usr/bin/env bash
# Configures and builds the default preset: every target, or only the targets named
# (scripts/build.sh kovra-cli kovra_demo_estimates).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset default >/dev/null
if [ $# -gt 0 ]; then
  cmake --build --preset default -j "$(nproc)" --target "$@"
else
  cmake --build --preset default -j "$(nproc)"
fi
