#!/usr/bin/env bash
# fresh-debian.sh: runs project commands on a freshly bootstrapped minimal
# Debian (debootstrap minbase from the mirror this machine's apt uses, with
# the one-line sources.list debootstrap writes) in a chroot under /var/tmp, so
# the README's promises are proven on a release this machine does not run.
# Clones the current commit, runs every COMMAND line in turn, keeps the logs in
# build-fresh/logs/, and removes the chroot however the run ends. Needs root.
#
# Usage: scripts/fresh-debian.sh [--user] RELEASE COMMAND...
#   e.g. scripts/fresh-debian.sh --user trixie ./test './web --test'
# As root by default, with a root shell's PATH. With --user, as "player", a
# normal user without sudo, in a login shell (with the release's umask); root
# only runs the install command a command prints, and the command runs again.
# Ends with a line per command (outcome, time, install rounds); exits 0 when
# all passed. CI=... is passed in.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh

as_user=0
[ "${1:-}" != --user ] || { as_user=1; shift; }
[ "$#" -ge 2 ] || { echo "usage: $0 [--user] RELEASE COMMAND...   (e.g. $0 trixie ./test)" >&2; exit 2; }
[ "$(id -u)" -eq 0 ] || { quillory_say "debootstrap, chroot and mount need root; run it as root"; exit 1; }
release=$1
shift

QUILLORY_LOG_DIR=build-fresh/logs
INSTALL_ROUNDS=3 # install commands one command may print before it counts as failed
USER_NAME=player
# A root shell's PATH on Debian (no /usr/games): a root command sees what root sees.
ROOT_PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin
root=

# the_mirror: the URI of this machine's Debian archive, as apt reads it from
# /etc/apt/sources.list(.d): the source that serves this machine's release.
the_mirror() {
  local codename
  codename=$(. /etc/os-release && printf '%s' "${VERSION_CODENAME:-}")
  apt-get indextargets --format '$(REPO_URI) $(RELEASE)' 'Identifier: Packages' |
    awk -v codename="$codename" '$2 == codename { print $1; exit }'
}

# mounts_under_chroot: the mount points at or under the chroot, deepest first.
mounts_under_chroot() {
  findmnt -n -o TARGET --raw | grep -E "^$root(/|\$)" | sort -r
}

# remove_chroot: keeps the commands' logs, ends what they left running (an X
# server, an agent: they would keep the mounts busy), each by its id, then
# unmounts everything under the chroot and removes it, but only once findmnt
# shows nothing mounted there: removing through a mount would reach outside.
remove_chroot() {
  local link logs stopped=0
  [ -n "$root" ] && [ -d "$root" ] || return 0
  for logs in "$root$clone"/build*/logs "$root$clone"/build*/deps/logs; do
    [ -d "$logs" ] || continue
    mkdir -p "$QUILLORY_LOG_DIR/$release/${logs#"$root$clone"/}"
    cp -r "$logs/." "$QUILLORY_LOG_DIR/$release/${logs#"$root$clone"/}/"
  done
  for link in /proc/[0-9]*/root; do
    if [ "$(readlink "$link" 2>/dev/null)" = "$root" ]; then
      link=${link#/proc/}
      kill "${link%/root}" 2>/dev/null && stopped=1
    fi
  done
  [ "$stopped" -eq 0 ] || sleep 2
  mounts_under_chroot | while read -r mounted; do umount -R "$mounted" 2>/dev/null || true; done
  if [ -n "$(mounts_under_chroot)" ]; then
    quillory_say "FAILED to unmount everything under $root, so it is left in place:"
    mounts_under_chroot >&2
    return 1
  fi
  rm -rf --one-file-system "$root"
}

finish() {
  local status=$?
  trap - EXIT INT TERM
  rm -f "${transcript:-}"
  remove_chroot || status=1
  exit "$status"
}

# in_chroot COMMAND_LINE: runs one command line in the clone, as root or as
# the user, its output on stdout and in $transcript.
in_chroot() {
  local line="${CI:+export CI=$(printf %q "$CI"); }cd $clone && $1"
  if [ "$as_user" -eq 1 ]; then
    chroot "$root" su -l "$USER_NAME" -c "umask; $line"
  else
    chroot "$root" /usr/bin/env -i HOME=/root PATH="$ROOT_PATH" TERM="${TERM:-dumb}" /bin/bash -c "$line"
  fi </dev/null 2>&1 | tee "$transcript" | quillory_watch "$1"
  return "${PIPESTATUS[0]}"
}

trap finish EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

quillory_install debootstrap git || exit 1
mirror=$(the_mirror)
[ -n "$mirror" ] || { quillory_say "no Debian archive for this machine's release in its apt sources"; exit 1; }
started=$SECONDS
root=$(realpath "$(mktemp -d "${TMPDIR:-/var/tmp}/quillory-$release.XXXXXX")")
chmod 755 "$root" # the root folder of a system: apt's download user walks it
clone=/root/quillory
quillory_step "Bootstrapping a minimal Debian $release from $mirror" "$(quillory_log "debootstrap-$release")" \
  debootstrap --variant=minbase "$release" "$root" "$mirror" || exit 1

# The kernel's file systems. /dev holds the device nodes debootstrap made;
# pseudo-terminals and shared memory get instances of their own, so nothing
# of this machine's /dev is mounted inside.
mount -t proc proc "$root/proc"
mount -t sysfs sysfs "$root/sys"
mount -t devpts -o newinstance,ptmxmode=0666 devpts "$root/dev/pts"
mount -t tmpfs -o mode=1777 shm "$root/dev/shm"
cp /etc/resolv.conf "$root/etc/resolv.conf"

owner=root
if [ "$as_user" -eq 1 ]; then
  chroot "$root" useradd --create-home --shell /bin/bash "$USER_NAME"
  owner=$USER_NAME clone=/home/$USER_NAME/quillory
fi
commit=$(git rev-parse HEAD)
[ -z "$(git status --porcelain --untracked-files=no)" ] ||
  quillory_say "note: changes not committed are not in the clone; it holds commit $commit"
git clone --quiet "$PWD" "$root$clone"
git -C "$root$clone" checkout --quiet --detach "$commit"
chroot "$root" chown -R "$owner:" "$clone"

transcript=$(mktemp)
summary=()
for command in "$@"; do
  quillory_say "Running '$command' in $clone on Debian $release as $owner"
  command_started=$SECONDS
  outcome=FAILED
  for ((rounds = 0; ; rounds++)); do
    in_chroot "$command" && { outcome=passed; break; }
    install=$(sed -n "s/^  su -c '\(.*\)'\$/\1/p" "$transcript")
    [ "$as_user" -eq 1 ] && [ -n "$install" ] && [ "$rounds" -lt "$INSTALL_ROUNDS" ] || break
    quillory_step "As root: $install" "$(quillory_log "install-$release-$((rounds + 1))")" \
      chroot "$root" /usr/bin/env -i PATH="$ROOT_PATH" DEBIAN_FRONTEND=noninteractive /bin/sh -c "$install" || break
  done
  summary+=("'$command' on Debian $release: $outcome in $((SECONDS - command_started)) s, $rounds install rounds")
  quillory_say "${summary[-1]}"
done
printf "$(basename "$0"): %s\n" "${summary[@]}" "$((SECONDS - started)) s with the bootstrap" >&2
[[ ${summary[*]} != *FAILED* ]]
