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
                                            a sample for some host), and the echoes (samples of a
                                            reply or a loss)
  loss-run.py record <file>                 writes "<time> <address>" for every ICMP echo request
                                            to 127.0.0.0/8 that reaches this network namespace's
                                            loopback, until it is ended (TERM or INT); needs root
  loss-run.py cycles <file> <from> <to>     when the cycles between two wall-clock seconds really
                                            began, seen from outside the program: a cycle is the
                                            first request of each second; prints how many there
                                            were, how many began within 100 ms of their second,
                                            the median and the latest start in ms

Requests to hosts routed away from loopback are not seen; each cycle begins with the list's first
host, which answers.
"""
import json
import signal
import socket
import sys
import time

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
    inside = lambda h: [s for s in h["PV"] if first <= s["S"] < last and s["T"] != -2]
    run = sorted({s["S"] for h in steady for s in inside(h)})
    due = last - first
    answering = [h for h in steady if not silent(h["Addr"])]
    quiet = [h for h in steady if silent(h["Addr"])]
    least = lambda group, wanted: min(
        (100.0 * sum(1 for s in inside(h) if wanted(s["T"])) / due for h in group), default=0.0)
    missing = sum(len(run) - len(inside(h)) for h in steady)
    echoes = sum(1 for h in hosts for s in inside(h) if s["T"] >= -1)
    print("%d %d %.1f %.1f %d %d" % (due, len(run), least(answering, lambda t: t >= 0),
                                     least(quiet, lambda t: t == -1), missing, echoes))
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
    starts = {}
    with open(path) as lines:
        for line in lines:
            seen = float(line.split()[0])
            second = int(seen)
            if first <= second < last and second not in starts:
                starts[second] = (seen - second) * 1000.0
    late = sorted(starts.values())
    if not late:
        print("0 0 - -")
        return 0
    on_time = sum(1 for ms in late if ms <= 100.0)
    print("%d %d %.0f %.0f" % (len(late), on_time, late[len(late) // 2], late[-1]))
    return 0


COMMANDS = {
    "write": (write, [str, int]),
    "figures": (figures, [str, int, int]),
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
