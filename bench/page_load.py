#!/usr/bin/env python3
"""Load and hostile clients against the players' page server, all on 127.0.0.1 addresses.

Starts the server command given after --, reads its port from the first line it prints
("... 127.0.0.1:PORT/" or "listening PORT"), runs the scenarios and prints one line of figures
each. With --check it also fails (exit 1) when a normal request went unanswered or took over
the ceiling, the process grew by more than the memory ceiling, or stopping took too long.

  bench/page_load.py [--check] [--scale S] [--seating CMD] -- quelna-cli serve T.csv --host 127.0.0.1 --port 0
"""
import argparse
import asyncio
import os
import re
import resource
import shlex
import signal
import subprocess
import sys
import time

PHONE = (b"User-Agent: Mozilla/5.0 (Linux; Android 14) Mobile\r\n"
         b"Accept: text/html,application/xhtml+xml,*/*;q=0.8\r\n"
         b"Accept-Encoding: gzip, deflate, br\r\nAccept-Language: ru-RU,ru;q=0.9\r\n")


def address(i):
    """Client source addresses 127.0.1.1 .. 127.0.1.250, so no single address holds them all."""
    return "127.0.1.%d" % (1 + i % 250)


def rss_mb(pid):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1]) / 1024.0
    return 0.0


def pct(values, p):
    if not values:
        return float("nan")
    values = sorted(values)
    return values[min(len(values) - 1, int(len(values) * p / 100))]


async def read_response(reader, head_only=False):
    """Reads one response; returns (status, body length)."""
    head = await reader.readuntil(b"\r\n\r\n")
    status = int(head.split(b" ", 2)[1])
    m = re.search(rb"\r\ncontent-length: *(\d+)", head, re.I)
    length = int(m.group(1)) if m else 0
    if not head_only and status != 304 and length:
        await reader.readexactly(length)
    return status, length


async def open_from(port, i):
    return await asyncio.open_connection("127.0.0.1", port, local_addr=(address(i), 0))


async def normal_requests(port, seconds, interval, latencies, failures, ceiling):
    """One plain request at a time (new connection each), as a phone arriving late would."""
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        start = time.monotonic()
        try:
            reader, writer = await asyncio.wait_for(
                asyncio.open_connection("127.0.0.1", port, local_addr=("127.0.0.77", 0)), ceiling)
            writer.write(b"GET / HTTP/1.1\r\nHost: x\r\n" + PHONE + b"Connection: close\r\n\r\n")
            status, _ = await asyncio.wait_for(read_response(reader), ceiling)
            writer.close()
            if status != 200:
                failures.append("status %d" % status)
            latencies.append(time.monotonic() - start)
        except (OSError, asyncio.TimeoutError, asyncio.IncompleteReadError, ValueError) as e:
            failures.append(type(e).__name__)
            latencies.append(time.monotonic() - start)
        await asyncio.sleep(interval)


async def phones(port, count, idle):
    """count phones at once, one keep-alive connection each: the index, then idle."""
    latencies, failures = [], []
    writers = []

    async def phone(i):
        start = time.monotonic()
        try:
            reader, writer = await open_from(port, i)
            writers.append(writer)
            writer.write(b"GET / HTTP/1.1\r\nHost: x\r\n" + PHONE + b"Connection: keep-alive\r\n\r\n")
            status, _ = await asyncio.wait_for(read_response(reader), 120)
            if status != 200:
                failures.append(status)
        except (OSError, asyncio.TimeoutError, asyncio.IncompleteReadError) as e:
            failures.append(type(e).__name__)
        latencies.append(time.monotonic() - start)
        await asyncio.sleep(idle)

    await asyncio.gather(*(phone(i) for i in range(count)))
    for w in writers:
        w.close()
    return latencies, failures


async def idle_connections(port, count, held):
    for i in range(count):
        try:
            _, writer = await open_from(port, i)
            held.append(writer)
        except OSError:
            pass


async def slow_sender(port, i, seconds, held):
    """Sends a request one header byte per second, starting again when cut off."""
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        try:
            reader, writer = await open_from(port, i)
            held.append(writer)
            writer.write(b"GET / HTTP/1.1\r\nHost: x\r\n")
            while time.monotonic() < end and not reader.at_eof():
                writer.write(b"X")
                await writer.drain()
                await asyncio.sleep(1)
        except (OSError, ConnectionError):
            await asyncio.sleep(0.2)


async def header_flood(port, i, megabytes):
    """A request of megabytes of small header lines, as fast as the server takes them."""
    try:
        reader, writer = await open_from(port, i)
        writer.write(b"GET / HTTP/1.1\r\nHost: x\r\n")
        line = b"X-a: b\r\n" * 8192
        for _ in range(int(megabytes * 1024 * 1024 / len(line))):
            writer.write(line)
            await asyncio.wait_for(writer.drain(), 15)
        writer.write(b"\r\n")
        await writer.drain()
        await asyncio.wait_for(reader.read(65536), 5)
        writer.close()
    except (OSError, ConnectionError, asyncio.TimeoutError):
        pass


async def many_ranges(port, i, received):
    ranges = ",".join(["0-"] * 2500).encode()
    try:
        reader, writer = await open_from(port, i)
        writer.write(b"GET / HTTP/1.1\r\nHost: x\r\nConnection: close\r\nRange: bytes=" + ranges +
                     b"\r\n\r\n")
        total = 0
        while True:
            chunk = await asyncio.wait_for(reader.read(1 << 20), 60)
            if not chunk:
                break
            total += len(chunk)
        received.append(total)
        writer.close()
    except (OSError, ConnectionError, asyncio.TimeoutError):
        received.append(-1)


def summary(name, latencies, failures, extra=""):
    ms = [x * 1000 for x in latencies]
    print("%-14s n=%d failed=%d p50=%.0f ms p99=%.0f ms max=%.0f ms %s" %
          (name, len(ms), len(failures), pct(ms, 50), pct(ms, 99), max(ms or [0]), extra),
          flush=True)


class Checker:
    def __init__(self, enabled):
        self.enabled, self.problems = enabled, []

    def expect(self, ok, what):
        if self.enabled and not ok:
            self.problems.append(what)
            print("CHECK FAILED: " + what, flush=True)


async def run(args, port, pid, check):
    s = args.scale
    ceiling = args.ceiling
    base = rss_mb(pid)
    print("server RSS at start: %.1f MB" % base, flush=True)

    # 1. Phones right after a seating, while another seating runs.
    seating = subprocess.Popen(shlex.split(args.seating), stdout=subprocess.DEVNULL) \
        if args.seating else None
    lat, fail = await phones(port, int(200 * s), args.idle)
    if seating:
        seating.kill()
        seating.wait()
    summary("phones", lat, fail, "(keep-alive, gzip/deflate/br%s)" %
            (", seating meanwhile" if seating else ""))
    check.expect(not fail, "every phone gets the index (%d failed)" % len(fail))

    # 2. Slow senders and idle connections, normal requests meanwhile.
    held = []
    idle = asyncio.ensure_future(idle_connections(port, int(1000 * s), held))
    slow = [asyncio.ensure_future(slow_sender(port, 250 + i, args.seconds + 2, held))
            for i in range(int(64 * s))]
    await idle
    lat, fail = [], []
    await normal_requests(port, args.seconds, 0.25, lat, fail, ceiling)
    summary("slow+idle", lat, fail, "(%d slow senders, %d idle connections)" %
            (int(64 * s), int(1000 * s)))
    check.expect(not fail and max(lat) < ceiling,
                 "normal requests answered within %g s beside slow senders and idle clients" %
                 ceiling)
    await asyncio.gather(*slow)
    for w in held:
        w.close()

    # 3. Header floods.
    before = rss_mb(pid)
    lat, fail = [], []
    floods = asyncio.gather(*(header_flood(port, 300 + i, 20) for i in range(8)))
    await normal_requests(port, 3, 0.25, lat, fail, ceiling)
    await floods
    grown = rss_mb(pid) - before
    summary("header flood", lat, fail, "(8 x 20 MB; RSS %+.1f MB)" % grown)
    check.expect(not fail and max(lat) < ceiling, "normal requests answered during header floods")
    check.expect(grown < args.memory, "RSS grew %.1f MB after header floods" % grown)

    # 4. Many ranges at once.
    before = rss_mb(pid)
    received, lat, fail = [], [], []
    rangers = asyncio.gather(*(many_ranges(port, 400 + i, received) for i in range(16)))
    await normal_requests(port, 3, 0.25, lat, fail, ceiling)
    await rangers
    grown = rss_mb(pid) - before
    summary("ranges", lat, fail, "(16 x 2500 ranges; largest answer %d bytes; RSS %+.1f MB)" %
            (max(received), grown))
    check.expect(not fail and max(lat) < ceiling, "normal requests answered during range requests")
    check.expect(max(received) < 1 << 20, "a range request is answered with at most the page")
    print("server RSS at end: %.1f MB (%+.1f MB since start)" % (rss_mb(pid), rss_mb(pid) - base),
          flush=True)

    # 5. Stop with attackers connected.
    held = []
    await idle_connections(port, int(200 * s), held)
    slow = [asyncio.ensure_future(slow_sender(port, 500 + i, 4, held)) for i in range(int(16 * s))]
    await asyncio.sleep(1.5)
    return held, slow


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--check", action="store_true")
    p.add_argument("--scale", type=float, default=1.0, help="multiplies the number of clients")
    p.add_argument("--seconds", type=float, default=15, help="normal requests beside slow ones")
    p.add_argument("--idle", type=float, default=10, help="phones' idle time after the page")
    p.add_argument("--ceiling", type=float, default=2.0, help="seconds for a normal request")
    p.add_argument("--memory", type=float, default=100, help="MB the process may grow")
    p.add_argument("--stop-ceiling", type=float, default=2.0)
    p.add_argument("--seating", help="a command run during the phones")
    p.add_argument("server", nargs="+")
    args = p.parse_args()

    soft, hard = resource.getrlimit(resource.RLIMIT_NOFILE)
    resource.setrlimit(resource.RLIMIT_NOFILE, (max(soft, min(hard, 8192)), hard))
    server = subprocess.Popen(args.server, stdout=subprocess.PIPE, text=True)
    first = server.stdout.readline()
    m = re.search(r":(\d+)/|listening (\d+)", first)
    if not m:
        print("no port in the server's first line: %r" % first)
        server.kill()
        return 1
    port = int(m.group(1) or m.group(2))
    check = Checker(args.check)
    loop = asyncio.new_event_loop()
    try:
        held, slow = loop.run_until_complete(run(args, port, server.pid, check))
        start = time.monotonic()
        server.send_signal(signal.SIGTERM)
        try:
            server.wait(timeout=30)
        except subprocess.TimeoutExpired:
            server.kill()
        stopped = time.monotonic() - start
        print("stop           %.2f s with %d connections held (exit %d)" %
              (stopped, len(held), server.returncode), flush=True)
        check.expect(stopped < args.stop_ceiling, "stop took %.2f s" % stopped)
        check.expect(server.returncode == 0, "the server exits 0 on SIGTERM")
        for t in slow:
            t.cancel()
        loop.run_until_complete(asyncio.gather(*slow, return_exceptions=True))
    finally:
        if server.poll() is None:
            server.kill()
        loop.close()
    return 1 if check.problems else 0


if __name__ == "__main__":
    sys.exit(main())
