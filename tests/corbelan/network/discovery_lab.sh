#!/usr/bin/env bash
# A small DNS-SD lab for the discovery test: two network namespaces joined by a veth
# pair (no end in the host's namespace), each with its own dbus-daemon and avahi-daemon
# (own mount namespace, private run folder, IPv6 link-local only).
#   discovery_lab.sh up <dir> <tag>     prints "PIDS <pid>..." once the daemons run
#   discovery_lab.sh down <dir> <tag>   removes the namespaces (daemons are stopped by PID
#                                       by the caller first)
set -euo pipefail
cmd=$1 dir=$2 tag=$3
nsA="kst${tag}a" nsB="kst${tag}b"

if [ "$cmd" = down ]; then
  ip netns del "$nsA" 2>/dev/null || true
  ip netns del "$nsB" 2>/dev/null || true
  exit 0
fi

ip netns add "$nsA"
ip netns add "$nsB"
ip link add "v${tag}a" netns "$nsA" type veth peer name "v${tag}b" netns "$nsB"
for side in a b; do
  ns="kst${tag}${side}"
  ip netns exec "$ns" ip link set lo up
  ip netns exec "$ns" ip link set "v${tag}${side}" up
done

pids=()
for side in a b; do
  ns="kst${tag}${side}"
  mkdir -p "$dir/$side"
  cat > "$dir/$side/bus.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-BUS Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>system</type>
  <listen>unix:path=$dir/$side/bus</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow user="*"/>
    <allow own="*"/>
    <allow send_destination="*"/>
    <allow receive_sender="*"/>
  </policy>
</busconfig>
CONF
  cat > "$dir/$side/avahi.conf" <<CONF
[server]
host-name=kestrune-$side
use-ipv4=no
use-ipv6=yes
allow-interfaces=v${tag}${side}
enable-dbus=yes
[wide-area]
enable-wide-area=no
[publish]
publish-hinfo=no
publish-workstation=no
CONF
  dbus-daemon --config-file="$dir/$side/bus.conf" --nofork --nopidfile > "$dir/$side/dbus.log" 2>&1 &
  pids+=($!)
  for _ in $(seq 50); do [ -S "$dir/$side/bus" ] && break; sleep 0.1; done
  ip netns exec "$ns" unshare -m sh -c "mount -t tmpfs none /run && mkdir -p /run/avahi-daemon && \
    DBUS_SYSTEM_BUS_ADDRESS=unix:path=$dir/$side/bus exec avahi-daemon --no-drop-root --no-chroot \
    --no-rlimits -f $dir/$side/avahi.conf" > "$dir/$side/avahi.log" 2>&1 &
  pids+=($!)
done
# Both daemons are up once they say so (link-local addresses need a moment).
for side in a b; do
  for _ in $(seq 100); do grep -q "Server startup complete" "$dir/$side/avahi.log" && break; sleep 0.1; done
done
echo "PIDS ${pids[*]}"
