#!/usr/bin/env bash
# Fresh machine to the main job: set up, build, run kovra-cli on the demo estimate.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
export QT_QPA_PLATFORM=offscreen
build/default/bin/kovra-cli --version
echo "The demo estimate comes next: kovra-cli will open and print examples/ once the document layer lands."
