#!/usr/bin/env bash
# Installs what is missing, builds, starts the development server on its
# seeded SQLite database and opens the client against it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
BUILD_DIR=${BUILD_DIR:-build}
GEN=()
if command -v ninja >/dev/null; then GEN=(-G Ninja); fi
cmake -S . -B "$BUILD_DIR" "${GEN[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$BUILD_DIR" -j"$(nproc)" --target quorvel quorvel-devserver

"$BUILD_DIR/devserver/quorvel-devserver" --port 9090 --auto-register &
SERVER_PID=$!
trap 'kill $SERVER_PID 2>/dev/null || true' EXIT
# Wait until the server accepts connections.
for _ in $(seq 1 100); do
  if (exec 3<>/dev/tcp/127.0.0.1/9090) 2>/dev/null; then break; fi
  sleep 0.1
done
"$BUILD_DIR/app/quorvel"
