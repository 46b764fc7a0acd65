#!/usr/bin/env python3
"""The loss runs of the ping list: the list they start with, and what came of them.

  loss-run.py write <file> <count>          a TK-Ping.json of <count> active hosts 127.0.x.y
                                            counted from 127.0.0.1
  loss-run.py figures <file> <from> <to>    the cycles between two date values in a saved list,
                                            over the hosts it held from the start: prints the
                                            cycles due (one a second), the cycles run, the least
                                            share of due cycles in which an answering host had a
                                            reply and a silent host a lost sample (127.0.2.0/23 is
                                            silent), the samples missing (a cycle that ran without
                                            a sample for some host), the echoes (samples of a
                                            reply or a loss), the least share of the cycles run in
                                            which a silent host had a lost sample, and the share of
                                            answering hosts' samples in the cycles run that are
                                            replies
  loss-run.py record <file>                 writes "<time> <address>" for every ICMP echo request
                                            to 127.0.0.0/8 that reaches this network namespace's
                                            loopback, until it is ended (TERM or INT); needs root
  loss-run.py host <file> <address>        one host of a saved list: its replies, its echoes sent
                                            and its samples' values, oldest first
  loss-run.py cycles <file> <from> <to>     when the cycles between two wall-clock seconds really
                                            began, seen from outside the program: a cycle begins
                                            with its request to the list's first host (127.0.0.1,
                                            which answers); prints how many there were, how many
                                            began within 100 ms of their second, the median and
                                            the latest start in ms into its second

Requests to hosts routed away from loopback are not seen.
"""
import json
import signal
import socket
import sys
import time

# Every list starts with it, and a cycle sends to the hosts in list order.
FIRST_HOST = "127.0.0.1"


def address_value(octets):
    value = octets[0] | octets[1] << 8 | octets[2] << 16 | octets[3] << 24
    return value - (1 << 32) if value >= 1 << 31 else value  # written signed, as the program does


def write(path, count):
    hosts = []
    for n in range(1, count + 1):
        octets = [127, 0, n >> 8, n & 255]
        hosts.append({"Init": "1765000000.%d" % n, "Actv": 1, "Best": -1, "Wors": -1,
                      "Valu": address_value(octets), "Host": "", "Addr": ".".join(map(str, octets)),
                      "PV": []})
    with open(path, "w") as out:
        json.dump(hosts, out)
    return 0


def silent(address):
    return address.startswith("127.0.2.") or address.startswith("127.0.3.")


def figures(path, first, last):
    with open(path) as saved:
        hosts = json.load(saved)
    # Hosts added during the window have no sample before it.
    steady = [h for h in hosts if any(s["S"] < first for s in h["PV"])]
    inside = lambda h: [s["T"] for s in h["PV"] if first <= s["S"] < last and s["T"] != -2]
    # Each cycle gives every host one sample; two cycles may end within one second.
    run = max((len(inside(h)) for h in steady), default=0)
    due = last - first
    answering = [h for h in steady if not silent(h["Addr"])]
    quiet = [h for h in steady if silent(h["Addr"])]
    share = lambda h, wanted, of: 100.0 * sum(1 for t in inside(h) if wanted(t)) / max(of, 1)
    replied = lambda t: t >= 0
    lost = lambda t: t == -1
    missing = sum(run - len(inside(h)) for h in steady)
    echoes = sum(1 for h in hosts for t in inside(h) if t >= -1)
    replies = sum(1 for h in answering for t in inside(h) if replied(t))
    print("%d %d %.1f %.1f %d %d %.1f %.1f" % (
        due, run,
        min((share(h, replied, due) for h in answering), default=0.0),
        min((share(h, lost, due) for h in quiet), default=0.0),
        missing, echoes,
        min((share(h, lost, run) for h in quiet), default=0.0),
        100.0 * replies / max(run * len(answering), 1)))
    return 0


def host(path, address):
    with open(path) as saved:
        found = [h for h in json.load(saved) if h["Addr"] == address]
    if not found:
        print("0 0")
        return 1
    print("%d %d %s" % (found[0]["Recv"], found[0]["Sent"],
                        " ".join(str(s["T"]) for s in found[0]["PV"])))
    return 0


def record(path):
    sock = socket.socket(socket.AF_INET, socket.SOCK_RAW, socket.IPPROTO_ICMP)
    sock.settimeout(0.5)
    running = [True]

    def stop(*_):
        running[0] = False

    signal.signal(signal.SIGTERM, stop)
    signal.signal(signal.SIGINT, stop)
    with open(path, "w") as out:
        while running[0]:
            try:
                packet = sock.recv(2048)
            except (socket.timeout, InterruptedError):
                continue
            seen = time.time()
            header = (packet[0] & 0x0F) * 4
            if len(packet) <= header or packet[header] != 8:  # echo requests only
                continue
            destination = socket.inet_ntoa(packet[16:20])
            if destination.startswith("127."):
                out.write("%.4f %s\n" % (seen, destination))
    return 0


def cycles(path, first, last):
    late = []
    with open(path) as lines:
        for line in lines:
            seen, address = line.split()
            seen = float(seen)
            if address == FIRST_HOST and first <= int(seen) < last:
                late.append((seen - int(seen)) * 1000.0)
    late.sort()
    if not late:
        print("0 0 - -")
        return 0
    on_time = sum(1 for ms in late if ms <= 100.0)
    print("%d %d %.0f %.0f" % (len(late), on_time, late[len(late) // 2], late[-1]))
    return 0


COMMANDS = {
    "write": (write, [str, int]),
    "figures": (figures, [str, int, int]),
    "host": (host, [str, str]),
    "record": (record, [str]),
    "cycles": (cycles, [str, int, int]),
}


def main(args):
    command = COMMANDS.get(args[0] if args else "")
    if command is None or len(args) - 1 != len(command[1]):
        sys.stderr.write(__doc__)
        return 2
    function, kinds = command
    return function(*(kind(arg) for kind, arg in zip(kinds, args[1:])))


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
