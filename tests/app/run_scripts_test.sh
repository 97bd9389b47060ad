#!/usr/bin/env bash
# scripts/run and scripts/build without building or starting anything: scripts/run's dry mode prints the
# editor's command line; scripts/build runs fake cmake and nproc programs that print what they were given.
#   run_scripts_test.sh <source folder>
set -euo pipefail
src=$1
work=$(realpath "$(mktemp -d)")
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

repo=$work/repo
mkdir -p "$repo/scripts" "$repo/samples" "$work/caller/ships" "$work/bin"
cp "$src/scripts/run" "$src/scripts/build" "$repo/scripts/"
printf 'ship' > "$repo/samples/Tarvlet.shp"
printf 'model' > "$repo/samples/Tarvlet.peo"
run() { (cd "$work/caller" && TARV_RUN_DRY=1 "$@"); }
lines() { printf '%s\n' "$@"; }

# A file is taken relative to the caller's folder, whatever folder the script works in.
[[ "$(run "$repo/scripts/run" ships/a.peo)" == "$(lines build/src/app/tarv "$work/caller/ships/a.peo")" ]] ||
  fail "a relative file: $(run "$repo/scripts/run" ships/a.peo)"
[[ "$(run ../repo/scripts/run ../caller/ships/../b.shp)" == "$(lines build/src/app/tarv "$work/caller/b.shp")" ]] ||
  fail "a file with ..: $(run ../repo/scripts/run ../caller/ships/../b.shp)"
[[ "$(run "$repo/scripts/run" "$work/abs.peo")" == "$(lines build/src/app/tarv "$work/abs.peo")" ]] ||
  fail "an absolute file"
[[ ! -e "$repo/build/sample-ship" ]] || fail "a file given makes no sample copy"

# Without a file: the sample copy is made once and kept, with what was saved in it.
sample=$repo/build/sample-ship
[[ "$(run ../repo/scripts/run)" == "$(lines build/src/app/tarv "$sample/Tarvlet.shp")" ]] || fail "the sample ship"
[[ "$(cat "$sample/Tarvlet.peo")" == model ]] || fail "the sample copy"
printf 'edited' > "$sample/Tarvlet.peo"
printf 'backup' > "$sample/Tarvlet.peo.bak"
run ../repo/scripts/run > /dev/null
[[ "$(cat "$sample/Tarvlet.peo")" == edited && -f "$sample/Tarvlet.peo.bak" ]] || fail "the sample copy was not kept"

# --fresh-sample starts from a clean copy.
[[ "$(run ../repo/scripts/run --fresh-sample)" == "$(lines build/src/app/tarv "$sample/Tarvlet.shp")" ]] ||
  fail "--fresh-sample's command line"
[[ "$(cat "$sample/Tarvlet.peo")" == model && ! -e "$sample/Tarvlet.peo.bak" ]] || fail "--fresh-sample kept edits"

# scripts/build: TARV_JOBS, else the number of cores at most 4.
cat > "$work/bin/cmake" <<'STUB'
#!/usr/bin/env bash
[[ "$1" == --build ]] && echo "$@"
exit 0
STUB
cat > "$work/bin/nproc" <<'STUB'
#!/usr/bin/env bash
echo "$CORES"
STUB
chmod +x "$work/bin/cmake" "$work/bin/nproc"
jobs() { PATH="$work/bin:$PATH" CORES=$1 "$repo/scripts/build" out | sed -n 's/.*-j\([0-9]*\).*/\1/p'; }
for case in "8||4" "2||2" "4||4" "8|6|6" "2|1|1"; do
  IFS='|' read -r cores wanted expected <<< "$case"
  got=$(if [[ -n "$wanted" ]]; then TARV_JOBS=$wanted jobs "$cores"; else (unset TARV_JOBS; jobs "$cores"); fi)
  [[ "$got" == "$expected" ]] || fail "scripts/build on $cores cores with TARV_JOBS='$wanted': -j$got, not -j$expected"
done
echo "scripts/run and scripts/build behave"
