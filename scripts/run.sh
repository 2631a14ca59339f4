#!/usr/bin/env bash
# Sets up, builds and starts Morvela on the bundled data.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
exec build/bin/morvela
