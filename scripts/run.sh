#!/usr/bin/env bash
# Builds the native and Windows trees (installing what is missing) and says what was built.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
jobs=$(nproc)
for preset in native windows; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs" >/dev/null
done
echo "Built:"
find build/native build/windows -type f \( -name '*.exe' -o -name '*.a' -o -perm -u+x \) \
  -not -path '*/CMakeFiles/*' -not -path '*/googletest/*' | sort | sed 's/^/  /'
