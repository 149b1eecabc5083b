#!/usr/bin/env bash
# Installs what is missing, builds, starts the development server on its
# seeded SQLite database and opens the client against it.
#   QV_DEMO_USER=SATICI1 bash scripts/demo.sh   sign in as the demo salesperson
#   QV_SERVER_VERSION=5 bash scripts/demo.sh    the server reports version 5
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
BUILD_DIR=${BUILD_DIR:-build}
GEN=()
if command -v ninja >/dev/null; then GEN=(-G Ninja); fi
cmake -S . -B "$BUILD_DIR" "${GEN[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$BUILD_DIR" -j"$(nproc)" --target quorvel quorvel-devserver qv-machineid

ARGS=(--port 9090 --web-port 9091 --auto-register --program-version "${QV_SERVER_VERSION:-4}")
MACHINE_ID=$("$BUILD_DIR/tools/qv-machineid")
if [[ -n "$MACHINE_ID" ]]; then
  ARGS+=(--register-machine "$MACHINE_ID=${QV_DEMO_USER:-BAYI1}")
fi
"$BUILD_DIR/devserver/quorvel-devserver" "${ARGS[@]}" &
SERVER_PID=$!
trap 'kill $SERVER_PID 2>/dev/null || true' EXIT
# Wait until the server accepts connections.
for _ in $(seq 1 300); do
  if (exec 3<>/dev/tcp/127.0.0.1/9090) 2>/dev/null; then break; fi
  sleep 0.1
done
if [[ $(id -u) -eq 0 ]]; then export QTWEBENGINE_DISABLE_SANDBOX=1; fi
"$BUILD_DIR/app/quorvel"
