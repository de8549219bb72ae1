#!/bin/bash
# run.sh: the browser tests against an unpacked web build. Serves FOLDER on
# 127.0.0.1, plays the Chromium games (mouse and keyboard, touch, a tablet, a
# phone, the languages, and FOLDER offline from a server of the test's own), then
# the WebKit game under a private X server. Screen shots of the games go to
# FOLDER/../browser-tests/. What the tests know of the game they read from the
# game_facts.json the build wrote into BUILD. Called by ./web --test; exits
# non-zero on failure.
#
# Usage: tests/web/run.sh FOLDER BUILD
set -u
usage="usage: tests/web/run.sh FOLDER BUILD"
site=$(cd "${1:?$usage}" && pwd)
export QUILLORY_GAME_FACTS
QUILLORY_GAME_FACTS=$(cd "${2:?$usage}" && pwd)/game_facts.json
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../../scripts/setup.sh
. "$here/../../scripts/setup.sh"
shots=$(dirname "$site")/browser-tests
mkdir -p "$shots"

trap 'quillory_stop_serving; quillory_stop_xvfb' EXIT
quillory_serve "$site" "$shots/server.log" || exit 1
url="$QUILLORY_SERVER_URL/index.html"
quillory_say "serving $site at $url; screen shots go to $shots"

status=0
node "$here/chromium_test.mjs" "$url" "$shots" "$site" || status=1
quillory_start_xvfb || exit 1
node "$here/webkit_test.mjs" "$url" "$shots" || status=1
exit "$status"
