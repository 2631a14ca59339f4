#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for SECONDS (default 20)
# from its seed corpus. Exits non-zero on any finding (crash, hang, leak,
# undefined behaviour); the input that found it is left in build-fuzz/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DMORVELA_FUZZ=ON -DBUILD_TESTING=OFF >/dev/null
targets=$(sed -n 's/^morvela_add_fuzzer(\(.*\))$/\1/p' fuzz/CMakeLists.txt)
cmake --build build-fuzz -j2 --target $targets
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
for t in $targets; do
    name=${t#fuzz_}
    work=build-fuzz/corpus-$name
    mkdir -p "$work"
    echo "== $t for ${seconds}s"
    (cd build-fuzz && ./fuzz/"$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 "corpus-$name" "../fuzz/corpus/$name")
done
