#!/usr/bin/env bash
# scripts/run, scripts/build and scripts/fuzz without building or starting anything: scripts/run's dry mode
# prints the editor's command line; the others run fake cmake, nproc, ccache and fuzz programs that note what
# they were given.
#   run_scripts_test.sh <source folder>
set -euo pipefail
src=$1
work=$(realpath "$(mktemp -d)")
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
# The scripts' defaults are checked here: a job count the caller's shell sets must not change them.
unset TARV_JOBS

repo=$work/repo
mkdir -p "$repo/scripts" "$repo/samples" "$work/caller/ships" "$work/bin"
cp "$src/scripts/run" "$src/scripts/build" "$src/scripts/fuzz" "$repo/scripts/"
printf '#!/usr/bin/env bash\nexit 0\n' > "$repo/scripts/install-deps"
chmod +x "$repo/scripts/install-deps"
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
# The fake cmake notes every call, with the ccache settings it was given, in cmake.log.
cat > "$work/bin/cmake" <<'STUB'
#!/usr/bin/env bash
echo "$* | basedir=${CCACHE_BASEDIR:-} nohashdir=${CCACHE_NOHASHDIR:-}" >> "$CMAKE_LOG"
[[ "$1" == --build ]] && echo "$@"
exit 0
STUB
export CMAKE_LOG=$work/cmake.log
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

# ccache compiles when it is installed, with paths taken relative to the checkout so that a clone elsewhere
# hits the same cache; without it (or with TARV_CCACHE=0) the launcher is cleared. The PATH holds only what
# scripts/build needs, so that the machine's own ccache is not found.
mkdir -p "$work/tools" "$work/ccache-bin"
for tool in bash dirname; do ln -s "$(command -v "$tool")" "$work/tools/$tool"; done
printf '#!/usr/bin/env bash\nexit 0\n' > "$work/ccache-bin/ccache"
chmod +x "$work/ccache-bin/ccache"
configure() {  # <extra PATH folder> [VAR=value...]: the configure line of one scripts/build
  local extra=$1; shift
  rm -f "$CMAKE_LOG"
  (cd "$work/caller" && env -u TARV_CCACHE -u CCACHE_BASEDIR -u CCACHE_NOHASHDIR "$@" \
     PATH="$work/bin:$extra:$work/tools" CORES=2 "$repo/scripts/build" out > /dev/null)
  grep -v '^--build' "$CMAKE_LOG"
}
line=$(configure "$work/ccache-bin")
[[ "$line" == *"-DCMAKE_CXX_COMPILER_LAUNCHER=ccache "* && "$line" == *"| basedir=$repo nohashdir=1" ]] ||
  fail "ccache installed but not used: $line"
for case in "$work/tools|" "$work/ccache-bin|TARV_CCACHE=0"; do
  IFS='|' read -r extra setting <<< "$case"
  line=$(configure "$extra" $setting)
  [[ "$line" == *"-UCMAKE_CXX_COMPILER_LAUNCHER "* && "$line" != *"-DCMAKE_CXX_COMPILER_LAUNCHER"* &&
     "$line" == *"| basedir= nohashdir=" ]] || fail "ccache used with '$extra' '$setting': $line"
done

# scripts/run builds the editor alone (scripts/test builds the rest).
rm -f "$CMAKE_LOG"
out=$(cd "$work/caller" && PATH="$work/bin:$PATH" CORES=2 "$repo/scripts/run" ships/a.peo)
[[ "$out" == *"The editor window is not built yet." ]] || fail "scripts/run without an editor: $out"
[[ "$(grep '^--build' "$CMAKE_LOG")" == "--build build -j2 --target tarv | "* ]] ||
  fail "scripts/run builds more than the editor: $(cat "$CMAKE_LOG")"
rm -f "$CMAKE_LOG"
PATH="$work/bin:$PATH" CORES=2 "$repo/scripts/build" out > /dev/null
[[ "$(grep '^--build' "$CMAKE_LOG")" == "--build out -j2 | "* ]] || fail "scripts/build alone builds a target"

# scripts/fuzz: seconds per target, or a total budget shared out in rounds of one target per core (two at
# least), never below a second, every target run. The fake targets print what they were given.
fuzzers=$repo/build-fuzz/fuzz
for case in "4|2||60" "4|2|7|7" "16|2|--budget 360|45" "5|2|--budget 360|120" "3|8|--budget 100|100" \
            "40|2|--budget 10|1" "3|1|--budget 30|15"; do
  IFS='|' read -r count cores args expected <<< "$case"
  rm -rf "$repo/build-fuzz"
  mkdir -p "$fuzzers"
  for i in $(seq "$count"); do
    printf '#!/usr/bin/env bash\nprintf "%%s\\n" "$@"\n' > "$fuzzers/fuzz_t$i"
    chmod +x "$fuzzers/fuzz_t$i"
  done
  PATH="$work/bin:$PATH" CORES=$cores TARV_SAMPLES=$work/none "$repo/scripts/fuzz" $args > /dev/null ||
    fail "scripts/fuzz $args failed"
  for i in $(seq "$count"); do
    got=$(sed -n 's/^-max_total_time=//p' "$repo/build-fuzz/t$i.log" 2>/dev/null)
    [[ "$got" == "$expected" ]] ||
      fail "scripts/fuzz '$args' with $count targets on $cores cores: target $i ran ${got:-never} s, not $expected s"
  done
done
# scripts/fuzz --from runs the targets of a build already made (a folder taken relative to the caller's), keeps
# its logs there and builds nothing; scripts/fuzz alone still builds its own.
made=$work/caller/made
for args in "--from made --budget 30" "--budget 30 --from $made" "--from made/ 15"; do
  rm -rf "$made" "$repo/build-fuzz" "$CMAKE_LOG"
  mkdir -p "$made/fuzz"
  for i in 1 2 3; do
    printf '#!/usr/bin/env bash\nprintf "%%s\\n" "$@"\n' > "$made/fuzz/fuzz_m$i"
    chmod +x "$made/fuzz/fuzz_m$i"
  done
  (cd "$work/caller" && PATH="$work/bin:$PATH" CORES=2 TARV_SAMPLES=$work/none "$repo/scripts/fuzz" $args > /dev/null) ||
    fail "scripts/fuzz $args failed"
  [[ ! -e "$CMAKE_LOG" && ! -e "$repo/build-fuzz" ]] || fail "scripts/fuzz $args built something"
  for i in 1 2 3; do
    got=$(sed -n 's/^-max_total_time=//p' "$made/m$i.log" 2>/dev/null)
    [[ "$got" == 15 ]] || fail "scripts/fuzz $args: target m$i ran ${got:-never} s, not 15 s"
    grep -qx -- "-artifact_prefix=$made/crashes/m$i/" "$made/m$i.log" || fail "scripts/fuzz $args: crashes not kept in $made"
  done
done
rm -rf "$made"
(cd "$work/caller" && PATH="$work/bin:$PATH" CORES=2 "$repo/scripts/fuzz" --from made > /dev/null 2>&1) &&
  fail "scripts/fuzz --from a folder without fuzz targets succeeded"
rm -rf "$repo/build-fuzz" "$CMAKE_LOG"
mkdir -p "$fuzzers"
PATH="$work/bin:$PATH" CORES=2 "$repo/scripts/fuzz" 5 > /dev/null || fail "scripts/fuzz 5 failed"
grep -q -- "-B build-fuzz .*-DTARV_FUZZ=ON" "$CMAKE_LOG" || fail "scripts/fuzz alone did not build: $(cat "$CMAKE_LOG")"

echo "scripts/run, scripts/build and scripts/fuzz behave"
