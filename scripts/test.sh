#!/usr/bin/env bash
# Sets up, builds and runs every test headless: the suite (the end-to-end
# scenarios included), the same suite without them under AddressSanitizer
# and UndefinedBehaviorSanitizer, and a short run of every fuzz target.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --test
scripts/build.sh
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2)
# Root writes into read-only folders, so the file tests run once more as an
# ordinary user, where those rows are not skipped.
root=$PWD
as_nobody=(setpriv --reuid=65534 --regid=65534 --clear-groups)
if [ "$(id -u)" -eq 0 ] && "${as_nobody[@]}" test -x "$root/build/tests/tst_progressfile"; then
    (cd /tmp && "${as_nobody[@]}" env HOME=/tmp QT_QPA_PLATFORM=offscreen \
        "$root/build/tests/tst_progressfile")
fi

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORVELA_SANITIZE=ON >/dev/null
cmake --build build-asan -j2
(cd build-asan && QT_QPA_PLATFORM=offscreen \
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
    LSAN_OPTIONS=suppressions="$PWD/../scripts/lsan.supp":print_suppressions=0 \
    UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    ctest --output-on-failure -j2 -LE e2e)

scripts/fuzz.sh 20
