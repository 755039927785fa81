#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs .deb files as the README says, then uses them with each program's own defaults: man
# shows the page, bash-completion and zsh's compinit find secs's completion, fish completes "secs
# slee". Usage, as root on a Debian root to be thrown away (.ci/release's): try-debs.sh ./DEB...
# (grep reads all it is given: stopping at a match would kill the writer.)
set -euo pipefail
die() {
  echo "try-debs.sh: $*" >&2
  exit 1
}
packages=$(for deb; do dpkg-deb --field "$deb" Package; done)
dpkg --purge $packages >/dev/null 2>&1
DEBIAN_FRONTEND=noninteractive apt-get install -qq -y "$@" >/dev/null
man -P cat secs 2>/dev/null | grep 'run a shell command and print the whole seconds it took' \
  >/dev/null || die "man secs does not show the page"
load='. /usr/share/bash-completion/bash_completion && __load_completion secs && complete -p secs'
bash=$(bash --norc -c "$load" 2>&1 || true)
[ "$bash" = "complete -F _command secs" ] || die "bash-completion finds no completion for secs"
zsh=$(zsh -fc 'autoload -Uz compinit && compinit -u -D && print -r -- $_comps[secs]' 2>&1 || true)
[ "$zsh" = _secs ] || die "zsh's compinit finds no completion for secs"
HOME=$(mktemp -d) fish -c "complete -C 'secs slee'" | grep '^sleep' >/dev/null ||
  die "fish does not complete secs slee"
echo "installed and used:" $packages
