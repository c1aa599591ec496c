#!/usr/bin/env bash
# Fresh machine to the main job: set up, build what the demo runs, run kovra-cli on the
# demo estimates. The tests and benchmarks are scripts/test.sh's business.
set -euo pipefail
cd "$(dirname "$0")/.."

# What the demo needs built; a step that runs another program adds its target here.
demo_targets=(
  kovra-cli
  kovra_demo_estimates  # build/default/examples/*.kvr, written by kovra-cli build
)

scripts/setup.sh
scripts/build.sh "${demo_targets[@]}"
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
chmod 700 "$XDG_RUNTIME_DIR"
cli=build/default/bin/kovra-cli
examples=build/default/examples
"$cli" --version
# Each demo estimate is opened read-only as its window opens it (title and tree), then
# recalculated.
for estimate in demo_house demo_compound; do
  "$cli" tree "$examples/$estimate.kvr"
done
for estimate in demo_house demo_compound; do
  "$cli" recalc "$examples/$estimate.kvr"
done
# The demo estimates printed, every part of the print order (part 85's annexes switched on), to PDF
# and to text files in build/default/printouts/.
parts=10,15,25,35,40,45,50,55,60,65,70,75,80,85,100
mkdir -p build/default/printouts
for f in demo_house demo_compound; do
  "$cli" print "$examples/$f.kvr" --parts "$parts" --option "85:Drukuj=on" --format pdf \
    -o "build/default/printouts/$f.pdf"
  "$cli" print "$examples/$f.kvr" --parts "$parts" --option "85:Drukuj=on" --format utf8 \
    -o "build/default/printouts/$f.txt"
  echo "printed build/default/printouts/$f.pdf and $f.txt"
done
