# Sourced by scripts/test after common.sh: the sanitizer and fuzzing runs.

SANITIZE_BUILD="$ROOT/build-asan"
FUZZ_BUILD="$ROOT/build-fuzz"

# Sanitizer reports end the process with an error; leaks are checked at exit,
# except the third-party ones named in the suppression file.
export_sanitizer_options() {
    export ASAN_OPTIONS="detect_leaks=1:check_initialization_order=1:strict_init_order=1:detect_stack_use_after_return=1"
    export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
    export LSAN_OPTIONS="suppressions=$ROOT/scripts/lsan-suppressions.txt:print_suppressions=0"
}

# The whole build and test suite with AddressSanitizer and
# UndefinedBehaviorSanitizer. The build itself runs instrumented tools
# (midigen), so the options hold from the start. -O1 with line tables only
# builds twice as fast as -O2 -g under the sanitizers and still gives
# reports with file and line.
run_sanitized_tests() {
    export_sanitizer_options
    cmake -S "$ROOT" -B "$SANITIZE_BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1" \
        -DRAVEZAZ_SANITIZE=ON "$WERROR_OPTION" >/dev/null
    cmake --build "$SANITIZE_BUILD" -j"$(nproc)"
    cd "$SANITIZE_BUILD"
    ctest --output-on-failure -j"$(nproc)"
}

# Fuzz target and the folders of its seeds, one per line.
FUZZ_TARGETS=(
    "fuzz_record_line  tests/fixtures/records"
    "fuzz_record_file  tests/fixtures/records"
    "fuzz_settings     tests/fixtures/settings"
    "fuzz_gbk_codec    tests/fixtures/records tests/fixtures/settings"
    "fuzz_context_map  fuzz/seeds/context_map"
)

# Runs one target for $2 seconds; a crash, leak, broken property or an input
# slower than ten seconds fails it and leaves the input in build-fuzz/crashes/.
run_one_fuzzer() {
    local seconds=$1 name=$2
    shift 2
    local corpus="$FUZZ_BUILD/corpus/$name"
    local seeds=()
    for folder in "$@"; do seeds+=("$ROOT/$folder"); done
    mkdir -p "$corpus" "$FUZZ_BUILD/crashes"
    "$FUZZ_BUILD/fuzz/$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
        -print_final_stats=1 -artifact_prefix="$FUZZ_BUILD/crashes/$name-" \
        "$corpus" "${seeds[@]}" >"$FUZZ_BUILD/$name.log" 2>&1
}

# Builds the fuzz targets with clang and runs them, as many at once as there
# are cores, each for $1 seconds.
run_fuzzers() {
    local seconds=$1
    export_sanitizer_options
    cmake -S "$ROOT" -B "$FUZZ_BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
        -DRAVEZAZ_FUZZ=ON -DRAVEZAZ_PCH=OFF "$WERROR_OPTION" >/dev/null
    cmake --build "$FUZZ_BUILD" -j"$(nproc)" --target fuzzers
    local failed=0 running=0 entry
    local names=()
    for entry in "${FUZZ_TARGETS[@]}"; do
        # shellcheck disable=SC2086
        set -- $entry
        names+=("$1")
        run_one_fuzzer "$seconds" "$@" &
        running=$((running + 1))
        if [ "$running" -ge "$(nproc)" ]; then
            wait -n || failed=1
            running=$((running - 1))
        fi
    done
    while [ "$running" -gt 0 ]; do
        wait -n || failed=1
        running=$((running - 1))
    done
    for name in "${names[@]}"; do
        echo "$name: $(grep -m1 -o 'stat::number_of_executed_units: [0-9]*' "$FUZZ_BUILD/$name.log" || echo 'no result')"
    done
    if [ "$failed" -ne 0 ]; then
        grep -l -E 'ERROR|property broken|Test unit written' "$FUZZ_BUILD"/*.log | while read -r log; do
            echo "--- $log"
            tail -n 40 "$log"
        done
        return 1
    fi
}
