#!/usr/bin/env bash
# debian_source.sh: Debian's source packages for the cross builds' libraries,
# through a private apt set-up in APT_DIR; the machine's own apt set-up is
# left as it is. Called by cmake/libraries/ as each library's download step.
#
#   scripts/debian_source.sh update APT_DIR              the private source lists
#   scripts/debian_source.sh fetch APT_DIR PACKAGE DEST  PACKAGE unpacked into DEST
#
# The sources are Debian 12's whatever release builds: SDL_mixer 2.6 decodes
# MP3 with its bundled dr_mp3, while Debian 13's SDL_mixer 2.8 decodes with
# minimp3, which Debian's source tarball leaves out.
set -euo pipefail
SOURCES_RELEASE=bookworm

# apt_private PROGRAM ARGS...: apt-get or apt-cache with its state, cache and
# source lists in $apt. As root, apt would hand downloads to its _apt user,
# who cannot write into the developer's build folder.
apt_private() {
  "$1" -o Dir::State="$apt/state" -o Dir::State::status=/var/lib/dpkg/status \
    -o Dir::Cache="$apt/cache" -o Dir::Etc::sourcelist="$apt/sources.list" \
    -o Dir::Etc::sourceparts="$apt/sources.list.d" -o APT::Sandbox::User="$(id -un)" "${@:2}"
}

# source_lines: a deb-src line of SOURCES_RELEASE for each Debian archive this
# machine's apt uses for its own release, in apt's one-line format and in the
# machine's order (of two archives listing one version, apt fetches it from
# the first). apt reads the machine's entries itself, so one-line
# sources.list files and deb822 .sources files alike are understood; no
# mirror is written into the project.
source_lines() {
  local codename keyring=/usr/share/keyrings/debian-archive-keyring.gpg options=
  codename=$(. /etc/os-release && printf '%s' "$VERSION_CODENAME")
  [ -f "$keyring" ] && options="[signed-by=$keyring] "
  apt-get indextargets --format '$(REPO_URI) $(RELEASE) $(COMPONENT)' 'Identifier: Packages' |
    awk -v codename="$codename" -v release="$SOURCES_RELEASE" -v options="$options" '
      $2 == codename || index($2, codename "-") == 1 {
        suffix = substr($2, length(codename) + 1)
        line = "deb-src " options $1 " " release suffix " " $3
        if ((suffix == "" || suffix == "-updates" || suffix == "-security") && !seen[line]++) print line
      }'
}

# fetch PACKAGE DEST: the newest version of PACKAGE that the mirror serves. A
# security archive may list versions whose files it does not serve; the next
# older version is then taken, and the log says so.
fetch() {
  local package=$1 dest=$2 version dsc
  for version in $(apt_private apt-cache showsrc "$package" | sed -n 's/^Version: //p' | sort -u -r -V); do
    if apt_private apt-get source --download-only "$package=$version"; then
      dsc=$(ls "${package}_${version#*:}.dsc")
      rm -rf "$dest"
      dpkg-source --no-check -x "$dsc" "$dest"
      echo "USING: $package $version"
      return 0
    fi
    echo "WARNING: $package $version could not be fetched; trying an older version"
  done
  echo "no version of $package could be fetched"
  return 1
}

apt=$2
case $1 in
  update)
    mkdir -p "$apt/state/lists/partial" "$apt/cache/archives/partial" "$apt/sources.list.d"
    source_lines >"$apt/sources.list"
    [ -s "$apt/sources.list" ] || { echo "no Debian archive in this machine's apt sources"; exit 1; }
    cat "$apt/sources.list"
    apt_private apt-get update ;;
  fetch) fetch "$3" "$4" ;;
esac
