# serve.sh: a local web server for the browser tests and figures, sourced by
# tests/web/run.sh and bench/web_figures.sh after scripts/setup.sh. The
# server and any X server started are stopped when the script exits.

web_server_pid=
web_stop_servers() {
  [ -n "$web_server_pid" ] && kill "$web_server_pid" 2>/dev/null
  quillory_stop_xvfb
}
trap web_stop_servers EXIT

# web_serve FOLDER LOG: serves FOLDER on 127.0.0.1 at a free port the system
# picks, waits until it answers, and sets WEB_BASE_URL to its address.
web_serve() {
  local folder=$1 log=$2 port
  port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
  python3 -m http.server "$port" --bind 127.0.0.1 --directory "$folder" >"$log" 2>&1 &
  web_server_pid=$!
  WEB_BASE_URL="http://127.0.0.1:$port"
  for _ in $(seq 50); do
    python3 -c "import urllib.request; urllib.request.urlopen('$WEB_BASE_URL/')" 2>/dev/null && return 0
    sleep 0.1
  done
  quillory_say "the local web server did not start; its log is $log"
  return 1
}
