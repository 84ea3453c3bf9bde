#!/usr/bin/env bash
# One command on a fresh machine: install what is missing, build, start the player.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh
exec build/src/app/orvane "$@"
