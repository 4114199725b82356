#!/usr/bin/env bash
# Stands in for ssh in the farm's tests: runs the remote command on this
# machine, in a home directory of the test's own ($FAKE_SSH_HOME), and
# notes which host was asked, as GNU parallel and rsync call ssh.
set -uo pipefail
while [ $# -gt 0 ]; do
  case "$1" in
    -l|-p|-o|-S|-i|-F|-e) shift 2 ;;
    -*) shift ;;
    *) break ;;
  esac
done
host="$1"; shift
[ "${1:-}" = "--" ] && shift
echo "$host" >> "$FAKE_SSH_HOME/hosts_asked"
# sshd gives the remote command the login shell in SHELL, and parallel's
# worker runs the job with it; a caller without one (cron, CI) has none to
# pass on.
SHELL="$(getent passwd "$(id -u)" | cut -d: -f7)"
export SHELL="${SHELL:-/bin/sh}"
cd "$FAKE_SSH_HOME" && exec bash -c "$*"
