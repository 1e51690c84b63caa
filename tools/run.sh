#!/usr/bin/env bash
# Installs what is missing, builds, and starts the configurator: on the attached Q7 mouse,
# or on the virtual mouse when none is attached. Extra arguments go to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
if probe=$(./build/q7config --probe 2>&1); then
    exec ./build/q7config "$@"
fi
# Say why (no mouse, or no permission to open it, with the fix) before falling back.
printf '%s\n' "$probe"
echo "Starting on the virtual mouse instead."
exec ./build/q7config --demo "$@"
