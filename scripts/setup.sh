#!/usr/bin/env bash
# setup.sh: the shared set-up of the project's commands (./play, ./test and the
# packaging stages). Installs the Debian packages a command needs (as root;
# otherwise prints the one command that installs them), then configures and
# builds with the percentage shown as it goes. Every long step writes a log
# under build/logs/; when a step fails, the script says which step, where its
# log is, and shows the log's tail. Sourced from the project root.

# What building and playing need (gettext's msgfmt translates the desktop
# entry and the metainfo, whose rules for that appstream ships).
QUILLORY_PACKAGES=(
  cmake g++ make pkg-config gettext appstream
  freeglut3-dev libglu1-mesa-dev libgl1-mesa-dri
  libfreetype-dev libpng-dev libsdl2-mixer-dev libx11-dev
  fonts-anonymous-pro
)
# What the tests add: an X server and input, the test frameworks, the faces
# of fonts-freefont-ttf that the tests read, and itstool, which reads the
# screens' sentences to check the catalogues.
QUILLORY_TEST_PACKAGES=(
  xvfb xdotool x11-utils libgtest-dev libbenchmark-dev fonts-freefont-ttf
  desktop-file-utils itstool
)

# The command with its arguments, from the project root: the install hint
# repeats it. The commands change into the project first, so a path they were
# started with may be relative to the folder they were started in.
QUILLORY_COMMAND_LINE=$0
[ -e "$QUILLORY_COMMAND_LINE" ] || QUILLORY_COMMAND_LINE=$OLDPWD/$0
QUILLORY_COMMAND_LINE=$(realpath --relative-to="$(dirname "${BASH_SOURCE[0]}")/.." "$QUILLORY_COMMAND_LINE")
[[ $QUILLORY_COMMAND_LINE == */* ]] || QUILLORY_COMMAND_LINE=./$QUILLORY_COMMAND_LINE
[ "$#" -eq 0 ] || QUILLORY_COMMAND_LINE+=$(printf ' %q' "$@")

# Where node finds the Debian packages of JavaScript modules (Emscripten's,
# and node-ws for the browser tests): a node that is not Debian's own does
# not search there.
export NODE_PATH=/usr/share/nodejs

QUILLORY_LOG_DIR=build/logs
QUILLORY_LOG_TAIL_LINES=40   # lines of a failed step's log shown on the terminal
QUILLORY_APT_LOCK_WAIT_S=600 # how long apt waits for another apt to finish
QUILLORY_PROGRESS_S=25       # seconds between the progress lines of a long step: under 30 on a busy machine too
QUILLORY_XVFB_START_TRIES=100 # times 50 ms: how long an X server or a web server may take to start

# quillory_say MESSAGE...: one line of progress, prefixed with the command's name.
quillory_say() {
  printf '%s: %s\n' "$(basename "$0")" "$*" >&2
}

# quillory_fail STEP LOG: says that STEP failed and where its log is, then shows
# the log's tail. Returns 1 so that callers can `|| return`.
quillory_fail() {
  local step=$1 log=$2
  quillory_say "$step failed; its log is $log. Its last lines:"
  tail -n "$QUILLORY_LOG_TAIL_LINES" "$log" | sed 's/^/    /' >&2
  return 1
}

# quillory_log NAME: prints the path of a fresh log file for the step NAME.
quillory_log() {
  mkdir -p "$QUILLORY_LOG_DIR"
  local log="$QUILLORY_LOG_DIR/$1.log"
  : >"$log"
  printf '%s\n' "$log"
}

# quillory_watch DESCRIPTION [LOG]: passes its input on, appended to LOG when
# given, otherwise to standard output, and shows that DESCRIPTION goes on: a
# line whenever QUILLORY_PROGRESS_S seconds pass with nothing new on the
# terminal. A build's percentage ("[ 42%]" lines) shows in those lines and
# every ten percent; at a terminal it shows on one line, the seconds ticking.
quillory_watch() {
  local description=$1 out=1 line pending= status start=$SECONDS said=$SECONDS
  local percent= shown=0 at_terminal=0
  # A log is opened once; standard output is written as it is, since opening
  # it again would write past what stderr, sharing its file, writes after.
  [ -z "${2:-}" ] || exec {out}>>"$2"
  [ "$out" -ne 1 ] && [ -t 2 ] && at_terminal=1
  while :; do
    status=0
    # Wakes every second even when nothing is written.
    IFS= read -r -t 1 line || status=$?
    if [ "$status" -gt 128 ]; then
      pending+=$line # the start of a line the timeout cut
    else
      line=$pending$line
      pending=
      if [ "$status" -ne 0 ]; then
        printf '%s' "$line" >&"$out"
        break
      fi
      printf '%s\n' "$line" >&"$out"
      [ "$out" -ne 1 ] || said=$SECONDS
      [[ $line =~ ^\[[[:space:]]*([0-9]+)%\] ]] && percent=$((10#${BASH_REMATCH[1]}))
    fi
    if [ "$at_terminal" -eq 1 ] && [ -n "$percent" ]; then
      printf '\r%s: %s %3d%% (%d s)' "$(basename "$0")" "$description" "$percent" "$((SECONDS - start))" >&2
    elif [ "${percent:-0}" -ge $((shown + 10)) ]; then
      quillory_say "  $percent% after $((SECONDS - start)) s: $description"
      said=$SECONDS
      shown=$percent
    elif [ $((SECONDS - said)) -ge "$QUILLORY_PROGRESS_S" ]; then
      quillory_say "  still running after $((SECONDS - start)) s: $description${percent:+ ($percent%)}"
      said=$SECONDS
    fi
  done
  [ "$at_terminal" -eq 0 ] || [ -z "$percent" ] || printf '\n' >&2
  [ "$out" -eq 1 ] || exec {out}>&-
  return 0
}

# quillory_step DESCRIPTION LOG COMMAND...: runs COMMAND with its output in
# LOG, showing that it goes on; says how long it took, or on failure which
# step failed and where its log is.
quillory_step() {
  local description=$1 log=$2 start=$SECONDS status
  shift 2
  mkdir -p "$(dirname "$log")"
  : >"$log"
  quillory_say "$description (log: $log)"
  "$@" 2>&1 </dev/null | quillory_watch "$description" "$log"
  status=${PIPESTATUS[0]}
  [ "$status" -eq 0 ] || { quillory_fail "$description (status $status)" "$log"; return "$status"; }
  quillory_say "  done in $((SECONDS - start)) s: $description"
}

# quillory_start_xvfb: starts a private X server on the first free display and
# exports DISPLAY for it; QUILLORY_XVFB_PID names it for quillory_stop_xvfb.
quillory_start_xvfb() {
  local display_file
  display_file=$(mktemp)
  # -noreset: by default the server resets whenever its last client leaves,
  # and refuses the connections that arrive meanwhile; tests start and end
  # clients all the time, so without it a test now and then finds no display.
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$display_file" 2>/dev/null &
  QUILLORY_XVFB_PID=$!
  for _ in $(seq "$QUILLORY_XVFB_START_TRIES"); do
    [ -s "$display_file" ] && break
    sleep 0.05
  done
  if [ ! -s "$display_file" ]; then
    rm -f "$display_file"
    quillory_say "the X server (Xvfb) did not start"
    return 1
  fi
  export DISPLAY=":$(head -n 1 "$display_file")"
  rm -f "$display_file"
}

# quillory_stop_xvfb: stops the X server quillory_start_xvfb started, if any.
quillory_stop_xvfb() {
  [ -n "${QUILLORY_XVFB_PID:-}" ] || return 0
  kill "$QUILLORY_XVFB_PID" 2>/dev/null
  wait "$QUILLORY_XVFB_PID" 2>/dev/null
  QUILLORY_XVFB_PID=
}

# quillory_serve FOLDER LOG [PORT]: serves FOLDER on 127.0.0.1 in the
# background, on PORT when it is free, otherwise on a free port the system
# picks; sets QUILLORY_SERVER_URL once it listens, and QUILLORY_SERVER_PID
# for quillory_stop_serving.
quillory_serve() {
  local folder=$1 log=$2 port
  for port in ${3:-} 0; do
    python3 -u -m http.server --bind 127.0.0.1 --directory "$folder" "$port" >"$log" 2>&1 &
    QUILLORY_SERVER_PID=$!
    for _ in $(seq "$QUILLORY_XVFB_START_TRIES"); do
      port=$(sed -n 's/^Serving HTTP on .* port \([0-9]*\) .*/\1/p' "$log")
      [ -z "$port" ] || { QUILLORY_SERVER_URL=http://127.0.0.1:$port; return 0; }
      kill -0 "$QUILLORY_SERVER_PID" 2>/dev/null || break # the port was taken
      sleep 0.05
    done
  done
  quillory_say "the local web server did not start; its log is $log"
  return 1
}

# quillory_stop_serving: stops the server quillory_serve started, if any.
quillory_stop_serving() {
  [ -z "${QUILLORY_SERVER_PID:-}" ] || kill "$QUILLORY_SERVER_PID" 2>/dev/null
  QUILLORY_SERVER_PID=
}

quillory_missing_packages() {
  local pkg
  for pkg in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
      printf '%s\n' "$pkg"
    fi
  done
}

# quillory_install PACKAGE...: installs those not installed yet. As a normal
# user it prints, in one line, the command that installs them instead, and
# asks to run this command again as it was typed; then returns 1. The line
# uses sudo where sudo exists, otherwise su, which a fresh Debian with a root
# password always has.
quillory_install() {
  local missing command
  mapfile -t missing < <(quillory_missing_packages "$@")
  [ "${#missing[@]}" -eq 0 ] && return 0
  command="apt-get update && apt-get install -y --no-install-recommends ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then
    quillory_say "Quillory needs these Debian packages: ${missing[*]}"
    if command -v sudo >/dev/null 2>&1; then
      quillory_say "Install them with this command, then run ${QUILLORY_COMMAND_LINE} again:"
      printf "  sudo sh -c '%s'\n" "$command" >&2
    else
      quillory_say "Install them as root with this command (it asks for the root password), then run ${QUILLORY_COMMAND_LINE} again:"
      printf "  su -c '%s'\n" "$command" >&2
    fi
    return 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  quillory_step "Updating the package lists" "$(quillory_log apt-update)" \
    apt-get -o DPkg::Lock::Timeout="$QUILLORY_APT_LOCK_WAIT_S" update || return
  quillory_step "Installing ${#missing[@]} packages: ${missing[*]}" "$(quillory_log apt-install)" \
    apt-get -o DPkg::Lock::Timeout="$QUILLORY_APT_LOCK_WAIT_S" install -y \
    --no-install-recommends "${missing[@]}" || return
}

# quillory_build BUILD_DIR [CMAKE_OPTION...]: configures BUILD_DIR with the
# options (a cached build folder takes this in a few seconds, and picks up
# tools installed since) and builds everything in it. The build lays out the
# run folder BUILD_DIR/run/ itself.
quillory_build() {
  local dir=$1
  shift
  quillory_step "Configuring $dir/" "$(quillory_log "$(basename "$dir")-configure")" \
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" || return
  quillory_step "Building in $dir/ on $(nproc) cores" "$(quillory_log "$(basename "$dir")-build")" \
    cmake --build "$dir" -j "$(nproc)"
}
