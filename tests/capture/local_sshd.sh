#!/usr/bin/env bash
# A private OpenSSH server on a free loopback port for the farm's tests,
# with its own host key, user key, authorized_keys and configuration in
# DIR: nothing of this machine's own ssh setup is used or changed, and no
# system sshd is needed.
#
#   local_sshd.sh start DIR   starts it (DIR/sshd.pid) and writes DIR/ssh,
#                             an ssh that logs in there with the key, for
#                             GNU parallel (PARALLEL_SSH) and rsync
#   local_sshd.sh stop DIR    stops it
#
# Two host names lead to it, each with a home of its own: hostA lands in
# DIR/hostA and hostB in DIR/hostB (the client passes FARM_HOST_HOME and the
# server starts every command there, through the login shell as sshd does),
# so one machine serves as two hosts. `nowhere` names a port nothing
# listens on. It runs as the calling user; as root (CI) it needs
# /run/sshd, which it makes.
set -euo pipefail
action="${1:-}" dir="${2:-}"
[ -n "$dir" ] || { echo "usage: local_sshd.sh start|stop DIR" >&2; exit 2; }
sshd=/usr/sbin/sshd

case "$action" in
  stop)
    if [ -s "$dir/sshd.pid" ]; then
      kill "$(cat "$dir/sshd.pid")" 2>/dev/null || true
      rm -f "$dir/sshd.pid"
    fi
    exit 0 ;;
  start) ;;
  *) echo "usage: local_sshd.sh start|stop DIR" >&2; exit 2 ;;
esac

[ -x "$sshd" ] || { echo "local_sshd: no $sshd (Debian package openssh-server)" >&2; exit 1; }
dir="$(mkdir -p "$dir" && cd "$dir" && pwd)"
chmod 700 "$dir"
mkdir -p "$dir/hostA" "$dir/hostB"
[ "$(id -u)" -eq 0 ] && mkdir -p /run/sshd && chmod 755 /run/sshd
rm -f "$dir/host_key" "$dir/host_key.pub" "$dir/user_key" "$dir/user_key.pub"
ssh-keygen -q -t ed25519 -N '' -C farm-test-host -f "$dir/host_key"
ssh-keygen -q -t ed25519 -N '' -C farm-test-user -f "$dir/user_key"
cp "$dir/user_key.pub" "$dir/authorized_keys"
user="$(id -un)"

# A port that connects to nothing now; sshd says so if another takes it
# first, and the next one is tried.
free_port() {
  local p
  while :; do
    p=$((20000 + RANDOM % 40000))
    (exec 3<>"/dev/tcp/127.0.0.1/$p") 2>/dev/null || { echo "$p"; return; }
  done
}

for attempt in 1 2 3 4 5; do
  port="$(free_port)"
  cat > "$dir/sshd_config" <<CONF
Port $port
ListenAddress 127.0.0.1
HostKey $dir/host_key
PidFile $dir/sshd.pid
AuthorizedKeysFile $dir/authorized_keys
AuthenticationMethods publickey
PubkeyAuthentication yes
PasswordAuthentication no
KbdInteractiveAuthentication no
PermitRootLogin yes
StrictModes no
UsePAM no
AllowUsers $user
AcceptEnv FARM_HOST_HOME
ForceCommand cd "\$FARM_HOST_HOME" && HOME="\$FARM_HOST_HOME" exec "\$SHELL" -c "\$SSH_ORIGINAL_COMMAND"
LogLevel VERBOSE
CONF
  rm -f "$dir/sshd.pid"
  "$sshd" -D -e -f "$dir/sshd_config" </dev/null >/dev/null 2>>"$dir/sshd.log" &
  pid=$!
  # sshd writes its pid file once it listens.
  for ((i = 0; i < 200; i++)); do
    [ -s "$dir/sshd.pid" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
  done
  if [ -s "$dir/sshd.pid" ]; then
    echo "$pid" > "$dir/sshd.pid"
    break
  fi
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  [ "$attempt" -eq 5 ] && { echo "local_sshd: sshd did not start:" >&2; tail -5 "$dir/sshd.log" >&2; exit 1; }
done

nowhere="$(free_port)"
cat > "$dir/ssh_config" <<CONF
Host hostA
  HostName 127.0.0.1
  SetEnv FARM_HOST_HOME=$dir/hostA
Host hostB
  HostName 127.0.0.1
  SetEnv FARM_HOST_HOME=$dir/hostB
Host nowhere
  HostName 127.0.0.1
  Port $nowhere
Host *
  Port $port
  User $user
  IdentityFile $dir/user_key
  IdentitiesOnly yes
  BatchMode yes
  StrictHostKeyChecking no
  UserKnownHostsFile /dev/null
  GlobalKnownHostsFile /dev/null
  ConnectTimeout 10
  LogLevel ERROR
CONF
printf '#!/bin/sh\nexec ssh -F %q "$@"\n' "$dir/ssh_config" > "$dir/ssh"
chmod 755 "$dir/ssh"
