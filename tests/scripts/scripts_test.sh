#!/usr/bin/env bash
# The set-up scripts run against stand-ins for the package tool, CMake and kovra-cli, in
# a copy of the scripts folder: the installer shows the package tool's output only when it
# fails, and the demo builds only what it runs.
set -uo pipefail
source_dir="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

mkdir -p "$work/repo/scripts" "$work/bin" "$work/repo/build/default/bin"
cp "$source_dir"/scripts/*.sh "$work/repo/scripts/"
stub() {
  printf '#!/usr/bin/env bash\n%s\n' "$2" >"$work/bin/$1"
  chmod +x "$work/bin/$1"
}
# Nothing is installed unless STUB_INSTALLED is set; apt-get talks a lot and fails on demand.
stub dpkg-query '[ -n "${STUB_INSTALLED:-}" ] && echo "install ok installed"; exit 0'
stub apt-get 'for i in $(seq 300); do echo "Unpacking package $i"; done
[ -z "${STUB_APT_FAIL:-}" ] || { echo "E: Unable to locate package qt6-base-dev"; exit 100; }'
stub sudo '"$@"'
stub cmake 'echo "cmake $*" >>"$STUB_LOG"'
stub nproc 'echo 2'
cat >"$work/repo/build/default/bin/kovra-cli" <<'CLI'
#!/usr/bin/env bash
echo "kovra-cli $*" >>"$STUB_LOG"
CLI
chmod +x "$work/repo/build/default/bin/kovra-cli"
export PATH="$work/bin:$PATH" STUB_LOG="$work/calls.log" TMPDIR="$work"

# Installing: quiet when it works...
out="$("$work/repo/scripts/setup.sh" 2>&1)" || fail "setup.sh failed with a working package tool"
grep -q "Unpacking" <<<"$out" && fail "setup.sh showed the package tool's progress: $(head -3 <<<"$out")"
ls "$work"/kovra-setup.* >/dev/null 2>&1 && fail "setup.sh left its log behind"
# ...and the whole story, with a failing status, when it does not.
out="$(STUB_APT_FAIL=1 "$work/repo/scripts/setup.sh" 2>&1)" && fail "setup.sh succeeded although apt-get failed"
grep -q "Unable to locate package qt6-base-dev" <<<"$out" || fail "setup.sh hid the package tool's error"
grep -q "Unpacking package 300" <<<"$out" || fail "setup.sh hid the package tool's log"

# The demo builds its own targets only, then runs the program it built.
: >"$STUB_LOG"
STUB_INSTALLED=1 "$work/repo/scripts/demo.sh" >/dev/null 2>&1 || fail "demo.sh failed"
builds="$(grep '^cmake --build' "$STUB_LOG")"
[ "$builds" = "cmake --build --preset default -j 2 --target kovra-cli kovra_demo_estimates" ] ||
  fail "demo.sh built: ${builds:-nothing}"
grep -q "^kovra-cli tree build/default/examples/demo_house.kvr" "$STUB_LOG" || fail "demo.sh did not run kovra-cli tree"

[ "$failures" -eq 0 ] && echo "scripts: all checks passed"
exit $((failures > 0))
