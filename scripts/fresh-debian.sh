#!/usr/bin/env bash
# fresh-debian.sh: runs one project command on a freshly bootstrapped Debian of
# a given release, so the README's promises are proven on a release this
# machine does not run. Bootstraps a minimal Debian (debootstrap minbase, from
# the mirror this machine's apt already uses) in a folder of its own under
# /var/tmp (outside the project, whose tree tools walk), clones the current
# commit into it, runs the command there as root with the PATH a root shell
# gets, and removes the chroot however the run ends. Needs root; its logs are
# in build-fresh/logs/.
#
# Usage: scripts/fresh-debian.sh RELEASE COMMAND...
#   e.g. scripts/fresh-debian.sh trixie ./test
# The command's output (stdout and stderr together) comes out on stdout and
# its exit status is this script's. CI=... is passed in when set.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh

if [ "$#" -lt 2 ]; then
  printf 'usage: %s RELEASE COMMAND...   (e.g. %s trixie ./test)\n' "$0" "$0" >&2
  exit 2
fi
release=$1
shift
if [ "$(id -u)" -ne 0 ]; then
  quillory_say "debootstrap, chroot and mount need root; run it as root"
  exit 1
fi

QUILLORY_LOG_DIR=build-fresh/logs
root=
ticker=      # the process that reports a quiet command
quiet_since= # a file touched whenever the command prints
clone=/root/quillory               # where the project sits inside the chroot
# A root shell's PATH on Debian (no /usr/games): the command sees what root sees.
ROOT_PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin

# the_mirror: the URI of this machine's Debian archive, as apt reads it from
# /etc/apt/sources.list(.d): the source that serves this machine's release.
the_mirror() {
  local codename
  codename=$(. /etc/os-release && printf '%s' "${VERSION_CODENAME:-}")
  apt-get indextargets --format '$(REPO_URI) $(RELEASE)' 'Identifier: Packages' |
    awk -v codename="$codename" '$2 == codename { print $1; exit }'
}

# stop_chroot_processes: ends what the command left running inside the chroot
# (an X server, an agent), each by its id, and waits for them a moment: they
# would keep the mounts busy.
stop_chroot_processes() {
  local link pid stopped=0
  for link in /proc/[0-9]*/root; do
    [ "$(readlink "$link" 2>/dev/null)" = "$root" ] || continue
    pid=${link#/proc/}
    pid=${pid%/root}
    kill "$pid" 2>/dev/null && stopped=1
  done
  [ "$stopped" -eq 0 ] || sleep 2
}

# mounts_under_chroot: the mount points at or under the chroot, deepest first.
mounts_under_chroot() {
  findmnt -n -o TARGET --raw | grep -E "^$root(/|\$)" | sort -r
}

# remove_chroot: unmounts everything under the chroot, then removes it, but
# only once findmnt shows nothing mounted there: removing through a mount
# would reach outside the chroot.
remove_chroot() {
  local mounted
  [ -n "$root" ] && [ -d "$root" ] || return 0
  stop_chroot_processes
  for mounted in $(mounts_under_chroot); do
    umount -R "$mounted" 2>/dev/null || true
  done
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
  [ -z "$ticker" ] || kill "$ticker" 2>/dev/null || true
  [ -z "$quiet_since" ] || rm -f "$quiet_since"
  remove_chroot || status=1
  exit "$status"
}

trap finish EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

quillory_install debootstrap git || exit 1
mirror=$(the_mirror)
if [ -z "$mirror" ]; then
  quillory_say "FAILED: no Debian archive for this machine's release in /etc/apt/sources.list(.d)"
  exit 1
fi
started=$SECONDS
root=$(realpath "$(mktemp -d "${TMPDIR:-/var/tmp}/quillory-$release.XXXXXX")")
chmod 755 "$root" # the root folder of a system: apt's download user walks it
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

commit=$(git rev-parse HEAD)
if [ -n "$(git status --porcelain --untracked-files=no)" ]; then
  quillory_say "note: changes not committed are not in the clone; it holds commit $commit"
fi
git clone --quiet "$PWD" "$root$clone"
git -C "$root$clone" checkout --quiet --detach "$commit"

# The command, with a line on stderr whenever it stays quiet for longer than
# QUILLORY_PROGRESS_S seconds (a command that reports that often itself draws
# none); its output passes through on stdout. Messages name it by its first line.
name=${*%%$'\n'*}
quillory_say "Running '$name' in $clone on Debian $release"
command_started=$SECONDS
quiet_since=$(mktemp)
(
  while sleep 1; do
    if [ $(($(date +%s) - $(stat -c %Y "$quiet_since"))) -gt "$QUILLORY_PROGRESS_S" ]; then
      quillory_say "  still running after $((SECONDS - command_started)) s: $name"
      : >"$quiet_since"
    fi
  done
) &
ticker=$!
set +e
chroot "$root" /usr/bin/env -i HOME=/root PATH="$ROOT_PATH" TERM="${TERM:-dumb}" ${CI:+CI="$CI"} \
  /bin/bash -c 'cd "$0" && exec "$@"' "$clone" "$@" 2>&1 |
  while IFS= read -r line || [ -n "$line" ]; do
    printf '%s\n' "$line"
    : >"$quiet_since"
  done
status=${PIPESTATUS[0]}
set -e

quillory_say "'$name' on Debian $release ended with status $status after $((SECONDS - command_started)) s ($((SECONDS - started)) s with the bootstrap)"
exit "$status"
