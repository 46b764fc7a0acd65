#!/usr/bin/env python3
"""The metrics test's client side: asks Prometheus' HTTP API, compares its values with the probe's
read-out of the program's cells, and talks to the program's metrics page the way good and bad
clients do. Each command prints what it found and exits non-zero when the check fails."""
import json
import re
import socket
import sys
import time
import urllib.parse
import urllib.request

MIB = 1024 * 1024


def query(prom_port, expression):
    """Prometheus' latest value of each series the expression gives: {labels as text: value}."""
    url = "http://127.0.0.1:%d/api/v1/query?%s" % (
        prom_port, urllib.parse.urlencode({"query": expression}))
    with urllib.request.urlopen(url, timeout=5) as answer:
        body = json.load(answer)
    if body.get("status") != "success":
        raise RuntimeError("query %s: %s" % (expression, body))
    return {json.dumps(item["metric"], sort_keys=True): float(item["value"][1])
            for item in body["data"]["result"]}


def one(prom_port, expression):
    values = list(query(prom_port, expression).values())
    return values[0] if len(values) == 1 else None


def readout(path):
    """The probe's read-out: the cells by meter number, the pinged hosts' counts by address."""
    cells, pings = {}, {}
    with open(path, encoding="utf-8", errors="replace") as lines:
        for line in lines:
            line = line.rstrip("\r\n")
            cell = re.match(r"^meter (\d+) \[(.*)\]$", line)
            if cell:
                cells[int(cell.group(1))] = cell.group(2)
            ping = re.match(r"^ping (\S+) sent (\d+) lost (\d+)$", line)
            if ping:
                pings[ping.group(1)] = (int(ping.group(2)), int(ping.group(3)))
    return cells, pings


def half_up(numerator, denominator):
    return (2 * numerator + denominator) // (2 * denominator)


def memory_cell(available, total):
    """The Phys cell for these bytes, as the program writes it: the MiB available (in G above
    10000 MiB, one decimal up to 100 G) and the percent available."""
    mib = available // MIB
    if mib > 102348:
        size = "%dG" % half_up(mib, 1024)
    elif mib >= 10000:
        tenths = half_up(mib * 10, 1024)
        size = "%d.%dG" % (tenths // 10, tenths % 10)
    else:
        size = "%dM" % mib
    percent = available * 100 // total if total > 0 and available > 0 else 0
    return "%4s%3d%%" % (size.rjust(5), percent)


def compare(prom_port, readout_path, host):
    """True when Prometheus' latest physical memory, C:'s free share and the host's sent echoes
    read as the probe's read-out shows them; prints both sides."""
    cells, pings = readout(readout_path)
    available = one(prom_port, "tarvik_memory_physical_available_bytes")
    total = one(prom_port, "tarvik_memory_physical_total_bytes")
    free = one(prom_port, 'tarvik_drive_free_bytes{drive="C:"}')
    size = one(prom_port, 'tarvik_drive_size_bytes{drive="C:"}')
    sent = one(prom_port, 'tarvik_ping_sent_total{host="%s"}' % host)
    if None in (available, total, free, size, sent) or 28 not in cells or 3 not in cells:
        print("not there yet: prometheus %s, cells %s" % ((available, total, free, size, sent),
                                                          sorted(cells)))
        return False
    drive_percent = re.match(r"^C:\s*(\d+)%", cells[3])
    shown = {
        "memory": (memory_cell(int(available), int(total)).strip(), cells[28].strip()),
        "C: free": ("%d%%" % (int(free) * 100 // int(size)),
                    drive_percent.group(1) + "%" if drive_percent else cells[3]),
        "%s sent" % host: (int(sent), pings.get(host, (None,))[0]),
    }
    for name, (from_prometheus, from_cells) in shown.items():
        print("%-18s prometheus %-14s cells %s" % (name, from_prometheus, from_cells))
    return all(a == b for a, b in shown.values())


def connect(port):
    return socket.create_connection(("127.0.0.1", port), timeout=5)


def answer_of(sock, limit=4 * MIB):
    data = b""
    try:
        while len(data) < limit:
            chunk = sock.recv(65536)
            if not chunk:
                break
            data += chunk
    except OSError:
        pass
    return data


def get(port, method="GET", path="/metrics"):
    with connect(port) as sock:
        sock.sendall(("%s %s HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n" % (method, path)).encode())
        return answer_of(sock)


def status_of(answer):
    return answer.split(b"\r\n", 1)[0].decode("latin-1")


def page(port):
    answer = get(port)
    if not answer.startswith(b"HTTP/1.1 200"):
        print(status_of(answer), file=sys.stderr)
        return False
    sys.stdout.buffer.write(answer.split(b"\r\n\r\n", 1)[1])
    return True


def idle_then_scrape(port, count):
    """Scrapes alone, then opens `count` connections that say nothing and scrapes again: the idle
    connections must not make the scrape wait for their time-out (5 s to send a head). Under Wine
    on a machine busy with builds every socket call waits for the one Wine server, and the
    listener takes the idle connections before the scrape: measured there, they added 0.1 s to
    1.3 s, so the bound is half the time-out. (The unit test holds the listener to a second.)"""
    started = time.monotonic()
    get(port)
    alone = time.monotonic() - started
    idle = [connect(port) for _ in range(count)]
    started = time.monotonic()
    answer = get(port)
    took = time.monotonic() - started
    print("%d idle connections, scrape answered %s in %.3f s (%.3f s alone)"
          % (count, status_of(answer), took, alone))
    for sock in idle:
        sock.close()
    return answer.startswith(b"HTTP/1.1 200") and took < alone + 2.5


def big_head(port, size):
    """Sends a request head of `size` bytes: it must not be answered with the page."""
    with connect(port) as sock:
        head = b"GET /metrics HTTP/1.1\r\nHost: 127.0.0.1\r\n"
        filler = b"X-Fill: " + b"a" * 100 + b"\r\n"
        try:
            sock.sendall(head + filler * (size // len(filler)) + b"\r\n")
        except OSError as error:
            print("the server closed the connection while the head was sent (%s)" % error)
        answer = answer_of(sock)
    print("a %d byte head: %s" % (size, status_of(answer) or "closed without an answer"))
    return not answer.startswith(b"HTTP/1.1 200")


def hold(port, seconds):
    """Listens on the port for a while, as another program would (one that may take a port whose
    last connections still linger)."""
    with socket.socket() as sock:
        sock.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        sock.bind(("127.0.0.1", port))
        sock.listen(1)
        print("holding", port, flush=True)
        time.sleep(seconds)
    return True


def hold_idle(port, count, seconds):
    """Keeps `count` silent connections open for a while."""
    idle = []
    for _ in range(count):
        try:
            idle.append(connect(port))
        except OSError:
            break
    print("holding %d idle connections" % len(idle), flush=True)
    time.sleep(seconds)
    return True


def free_port():
    with socket.socket() as sock:
        sock.bind(("127.0.0.1", 0))
        print(sock.getsockname()[1])
    return True


def main(argv):
    command, args = argv[1], argv[2:]
    if command == "query":
        print(query(int(args[0]), args[1]))
        return True
    if command == "label":
        for series in query(int(args[0]), args[1]):
            print(json.loads(series).get(args[2], ""))
        return True
    if command == "up":
        return one(int(args[0]), 'up{job="tarvik"}') == 1.0
    if command == "compare":
        return compare(int(args[0]), args[1], args[2])
    if command == "page":
        return page(int(args[0]))
    if command == "status":
        print(status_of(get(int(args[0]), args[1], args[2])))
        return True
    if command == "idle":
        return idle_then_scrape(int(args[0]), int(args[1]))
    if command == "bighead":
        return big_head(int(args[0]), int(args[1]))
    if command == "hold":
        return hold(int(args[0]), float(args[1]))
    if command == "hold-idle":
        return hold_idle(int(args[0]), int(args[1]), float(args[2]))
    if command == "free-port":
        return free_port()
    raise SystemExit("unknown command " + command)


if __name__ == "__main__":
    try:
        sys.exit(0 if main(sys.argv) else 1)
    except (OSError, RuntimeError, ValueError) as error:
        print(error, file=sys.stderr)
        sys.exit(2)
