# shellcheck shell=bash
# Lost echoes on loopback, with nothing leaving the machine: a private network namespace in which
# 127.0.0.0/23 and 127.0.4.0/24 answer and 127.0.2.0/23 is silent (its packets go to a tun device
# that nobody reads). Needs root. Source this file, then:
#
#   lossy_loopback_enter <script> [args]   runs the calling script again inside a new network
#                                          namespace (the call does not return), unless it already
#                                          runs in one
#   lossy_loopback_routes                  inside it: the routes above
#
# X and Wine use sockets of the network namespace: start Xvfb, the Wine session and the program
# inside it, never those of a session outside (the script's own WINEPREFIX and DISPLAY go).

lossy_loopback_enter() {
  [[ -n "${TARVIK_LOSSY_LOOPBACK:-}" ]] && return 0
  exec unshare -n -- env -u WINEPREFIX -u DISPLAY TARVIK_LOSSY_LOOPBACK=1 bash "$@"
}

lossy_loopback_routes() {
  ip link set lo up &&
    ip tuntap add dev tk0 mode tun && ip link set tk0 up &&
    sysctl -qw net.ipv4.conf.all.route_localnet=1 net.ipv4.conf.tk0.route_localnet=1 &&
    ip route del local 127.0.0.0/8 dev lo table local &&
    ip route add local 127.0.0.0/23 dev lo table local &&
    ip route add local 127.0.4.0/24 dev lo table local &&
    ip route add 127.0.2.0/23 dev tk0
}
