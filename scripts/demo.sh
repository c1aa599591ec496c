#!/usr/bin/env bash
# Fresh machine to the main job: set up, build, run kovra-cli on the demo estimate.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
export QT_QPA_PLATFORM=offscreen
build/default/bin/kovra-cli --version
# The demo estimates are built into build/default/examples/ by the build. Each is opened
# read-only as its window opens it (title and tree), then recalculated.
build/default/bin/kovra-cli tree build/default/examples/demo_house.kvr
build/default/bin/kovra-cli tree build/default/examples/demo_compound.kvr
build/default/bin/kovra-cli recalc build/default/examples/demo_house.kvr
build/default/bin/kovra-cli recalc build/default/examples/demo_compound.kvr
# The demo estimates printed ("Kosztorys" with its summary tables) to PDF and to text files in build/default/printouts/.
mkdir -p build/default/printouts && for f in demo_house demo_compound; do build/default/bin/kovra-cli print build/default/examples/$f.kvr --format pdf -o build/default/printouts/$f.pdf && build/default/bin/kovra-cli print build/default/examples/$f.kvr --format utf8 -o build/default/printouts/$f.txt && echo "printed build/default/printouts/$f.pdf and $f.txt"; done
