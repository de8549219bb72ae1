#!/bin/bash
# run.sh: the browser tests against an unpacked web build. Serves FOLDER on
# 127.0.0.1, plays the Chromium games (mouse and keyboard, then touch), then
# the WebKit game under a private X server. Screen shots of the games go to
# FOLDER/../browser-tests/. Called by ./web --test; exits non-zero on failure.
#
# Usage: tests/web/run.sh FOLDER
set -u
site=$(cd "${1:?usage: tests/web/run.sh FOLDER}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../../scripts/setup.sh
. "$here/../../scripts/setup.sh"
shots=$(dirname "$site")/browser-tests
mkdir -p "$shots"

server_pid=
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null
  quillory_stop_xvfb
}
trap cleanup EXIT

# A free port, chosen by the system, for the page's server.
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
python3 -m http.server "$port" --bind 127.0.0.1 --directory "$site" >"$shots/server.log" 2>&1 &
server_pid=$!
for _ in $(seq 50); do
  python3 -c "import urllib.request; urllib.request.urlopen('http://127.0.0.1:$port/')" 2>/dev/null && break
  sleep 0.1
done
url="http://127.0.0.1:$port/index.html"
quillory_say "serving $site at $url; screen shots go to $shots"

status=0
# node 20's WebSocket client, which talks to Chromium, is still behind a flag.
node --experimental-websocket "$here/chromium_test.mjs" "$url" "$shots" || status=1
quillory_start_xvfb || exit 1
node "$here/webkit_test.mjs" "$url" "$shots" || status=1
exit "$status"
