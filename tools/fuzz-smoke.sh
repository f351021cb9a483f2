#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each from its corpus for a short while, so the
# fuzz recipe keeps compiling and the parsers meet fresh inputs on every CI run. New inputs go to
# build-fuzz/corpus/<target>/ (the committed corpus is only read); a crash, leak or hang fails the run
# and its reproducer is named in the output.
#   FUZZ_BUILD (default build-fuzz), FUZZ_SECONDS (default 30 per target), JOBS (default 2)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${FUZZ_BUILD:-build-fuzz}
seconds=${FUZZ_SECONDS:-30}
jobs=${JOBS:-2}
targets=(macro_file_fuzz macro_decode_fuzz skin_fuzz device_image_fuzz)
start=$(date +%s)

launcher=()
if command -v ccache >/dev/null 2>&1; then
    launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
generator=()
command -v ninja >/dev/null 2>&1 && generator=(-G Ninja)
CC=clang CXX=clang++ cmake -S . -B "$build" "${generator[@]}" "${launcher[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DOAKRIDGE_FUZZ=ON -DOAKRIDGE_SANITIZE=address,undefined -DOAKRIDGE_TESTS=OFF >/dev/null
cmake --build "$build" -j "$jobs" --target "${targets[@]}"
built=$(date +%s)

# The skin target draws text: the font libraries' caches are not leaks of ours.
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"
failed=()
for target in "${targets[@]}"; do
    corpus="$build/corpus/$target"
    artifacts="$build/artifacts/$target"
    log="$build/logs/$target.log"
    mkdir -p "$corpus" "$artifacts" "$(dirname "$log")"
    rm -f "$artifacts"/*
    status=0
    "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$artifacts/" "$corpus" "fuzz/corpus/$target" >"$log" 2>&1 || status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    if [ "$status" -eq 0 ]; then
        echo "fuzz: $target: ${runs:-?} runs in ${seconds}s, no crash"
        continue
    fi
    failed+=("$target")
    echo "fuzz: $target FAILED (exit status $status); the end of $log:" >&2
    tail -n 40 "$log" >&2
    for reproducer in "$artifacts"/*; do
        [ -e "$reproducer" ] || continue
        echo "fuzz: reproducer: $reproducer" >&2
        echo "fuzz: replay it with: $build/fuzz/$target $reproducer" >&2
    done
done

end=$(date +%s)
echo "fuzz: build $((built - start))s, runs $((end - built))s, total $((end - start))s"
if [ ${#failed[@]} -ne 0 ]; then
    echo "fuzz: failing targets: ${failed[*]}" >&2
    exit 1
fi
