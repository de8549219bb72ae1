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
  desktop-file-utils appstream itstool
)

QUILLORY_LOG_DIR=build/logs
QUILLORY_LOG_TAIL_LINES=40   # lines of a failed step's log shown on the terminal
QUILLORY_APT_LOCK_WAIT_S=600 # how long apt waits for another apt to finish
QUILLORY_PROGRESS_S=25       # seconds between the progress lines of a long step: under 30 on a busy machine too
QUILLORY_XVFB_START_TRIES=100 # times 50 ms: how long an X server may take to start

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

# quillory_step DESCRIPTION LOG COMMAND...: runs COMMAND with its output in
# LOG, saying every QUILLORY_PROGRESS_S seconds that it is still running; says
# how long it took, or on failure which step failed and where its log is.
quillory_step() {
  local description=$1 log=$2 start status ticker
  shift 2
  mkdir -p "$(dirname "$log")"
  start=$SECONDS
  quillory_say "$description (log: $log)"
  # Short sleeps: the last one outlives the ticker, holding its stderr open.
  ( while sleep 1; do
      [ $(((SECONDS - start) % QUILLORY_PROGRESS_S)) -eq 0 ] &&
        quillory_say "  still running after $((SECONDS - start)) s: $description"
    done ) &
  ticker=$!
  status=0
  "$@" >"$log" 2>&1 || status=$?
  kill "$ticker" 2>/dev/null
  wait "$ticker" 2>/dev/null
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

quillory_missing_packages() {
  local pkg
  for pkg in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
      printf '%s\n' "$pkg"
    fi
  done
}

# quillory_install PACKAGE...: installs those not installed yet. As a normal
# user it prints the command that installs them instead and returns 1: with
# sudo where sudo exists, otherwise through su, which a fresh Debian with a root
# password always has.
quillory_install() {
  local missing command
  mapfile -t missing < <(quillory_missing_packages "$@")
  [ "${#missing[@]}" -eq 0 ] && return 0
  command="apt-get update && apt-get install -y --no-install-recommends ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then
    quillory_say "Quillory needs these Debian packages: ${missing[*]}"
    if command -v sudo >/dev/null 2>&1; then
      quillory_say "Install them with this command, then run ./$(basename "$0") again:"
      printf "  sudo sh -c '%s'\n" "$command" >&2
    else
      quillory_say "Install them as root with this command (it asks for the root password), then run ./$(basename "$0") again:"
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

# quillory_show_progress LABEL: reads the build's output on stdin, keeps it
# out of sight and shows its percentage instead: at a terminal on one line,
# with the seconds so far ticking; elsewhere a line every ten percent, and at
# least every QUILLORY_PROGRESS_S seconds while one long step builds (a CI log
# stays short, yet never looks stuck).
quillory_show_progress() {
  local label=$1 line pending= status percent=0 shown=-1 start=$SECONDS said=$SECONDS
  local interactive=0
  [ -t 2 ] && interactive=1
  while :; do
    status=0
    # Wakes every second even when the build prints nothing.
    IFS= read -r -t 1 line || status=$?
    if [ "$status" -gt 128 ]; then
      pending+=$line # the start of a line the timeout cut
    elif [ "$status" -ne 0 ]; then
      break
    else
      line=$pending$line
      pending=
      [[ $line =~ ^\[[[:space:]]*([0-9]+)%\] ]] && percent=$((10#${BASH_REMATCH[1]}))
    fi
    if [ "$interactive" -eq 1 ]; then
      printf '\r%s: %s %3d%% (%d s)' "$(basename "$0")" "$label" "$percent" "$((SECONDS - start))" >&2
      shown=$percent
    elif [ "$percent" -ge $((shown + 10)) ] || { [ "$percent" -eq 100 ] && [ "$shown" -ne 100 ]; } ||
      [ $((SECONDS - said)) -ge "$QUILLORY_PROGRESS_S" ]; then
      quillory_say "$label $percent% ($((SECONDS - start)) s)"
      shown=$percent
      said=$SECONDS
    fi
  done
  [ "$interactive" -eq 1 ] && printf '\n' >&2
  return 0
}

# quillory_watch DESCRIPTION: passes its input on to standard output, and says
# that DESCRIPTION is still running whenever QUILLORY_PROGRESS_S seconds pass
# without a line (a single long test, for one).
quillory_watch() {
  local description=$1 line pending= status start=$SECONDS
  while :; do
    status=0
    IFS= read -r -t "$QUILLORY_PROGRESS_S" line || status=$?
    if [ "$status" -gt 128 ]; then
      pending+=$line # the start of a line the timeout cut
      quillory_say "  still running after $((SECONDS - start)) s: $description"
      continue
    fi
    if [ "$status" -ne 0 ]; then
      printf '%s' "$pending$line"
      return 0
    fi
    printf '%s\n' "$pending$line"
    pending=
  done
}

# quillory_build BUILD_DIR [CMAKE_OPTION...]: configures BUILD_DIR with the
# options (a cached build folder takes this in a few seconds, and picks up
# tools installed since) and builds everything in it. The build lays out the
# run folder BUILD_DIR/run/ itself.
quillory_build() {
  local dir=$1
  shift
  local log status
  log=$(quillory_log "$(basename "$dir")")
  quillory_step "Configuring $dir/" "$log" cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" ||
    return
  quillory_say "Building in $dir/ on $(nproc) cores (log: $log)"
  cmake --build "$dir" -j "$(nproc)" 2>&1 | tee -a "$log" | quillory_show_progress "building"
  status=${PIPESTATUS[0]}
  [ "$status" -eq 0 ] || quillory_fail "The build in $dir/" "$log"
}
