#!/usr/bin/env bash
# Starts the program headless with its own settings and lock folders, lets it run a few
# seconds, and fails when it ended by itself before being asked to stop.
set -u
program=$1
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
mkdir -m 700 "$home/runtime" "$home/config" "$home/config/Tavrin"
# No automatic connection: a test never reaches out to the network's bootstrap hosts.
printf '[Options]\nAutoConnect=0\n' > "$home/config/Tavrin/Tavrin.ini"
QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$home/config" XDG_RUNTIME_DIR="$home/runtime" \
  "$program" &
pid=$!
sleep 6
if ! kill -0 "$pid" 2>/dev/null; then
  wait "$pid"
  echo "tavrin ended early with status $?"
  exit 1
fi
kill -TERM "$pid"
wait "$pid" 2>/dev/null
echo "tavrin ran for 6 seconds"
exit 0
