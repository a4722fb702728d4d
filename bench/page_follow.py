#!/usr/bin/env python3
"""Open pages following one republish, on 127.0.0.1 addresses.

Cuts a played tournament file down to its first K rounds with round K seated but not typed,
serves it with `quelna-cli serve`, and keeps N phones polling as the pages' script does: each
asks for its page (the standings, or its own p/<n>; both change when results arrive) every INTERVAL seconds on a keep-alive
connection with the page's entity tag, so an unchanged page costs a 304. Then round K's results
are written into the file, and it measures how long until the last phone has the new page, and
the server's CPU time and memory meanwhile. Each phone has its own source address.

  bench/page_follow.py --cli build/quelna-cli --csv bench/data/t200x12_s1.csv --phones 200 1000
"""
import argparse
import asyncio
import os
import random
import re
import subprocess
import sys
import tempfile
import time

PHONE = (b"User-Agent: Mozilla/5.0 (Linux; Android 14) Mobile\r\n"
         b"Accept: text/html,*/*;q=0.8\r\nAccept-Encoding: gzip, deflate, br\r\n")


def cut(csv, rounds, typed):
    """The file with rounds after `rounds` empty, and round `rounds` without points unless typed."""
    out = []
    for i, line in enumerate(csv.split(b"\r\n" if b"\r\n" in csv else b"\n")):
        f = line.split(b";")
        if i == 0 or len(f) < 6:
            out.append(line)
            continue
        for r in range(rounds, (len(f) - 5) // 2):
            f[4 + 2 * r] = b""
            f[5 + 2 * r] = b""
        if not typed:
            f[5 + 2 * (rounds - 1)] = b"0"
        out.append(b";".join(f))
    return b"\r\n".join(out)


def cpu_seconds(pid):
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def rss_mb(pid):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1]) / 1024.0
    return 0.0


class Phone:
    def __init__(self, i, port, path, interval):
        self.i, self.port, self.path, self.interval = i, port, path, interval
        self.tag, self.changed_at, self.requests, self.errors = None, None, 0, 0
        self.reader = self.writer = None

    async def ask(self):
        if self.writer is None:
            addr = "127.0.%d.%d" % (2 + self.i // 250, 1 + self.i % 250)
            self.reader, self.writer = await asyncio.open_connection(
                "127.0.0.1", self.port, local_addr=(addr, 0))
        tag = b"If-None-Match: " + self.tag.encode() + b"\r\n" if self.tag else b""
        self.writer.write(b"GET " + self.path.encode() + b" HTTP/1.1\r\nHost: x\r\n" + PHONE +
                          tag + b"\r\n")
        head = await asyncio.wait_for(self.reader.readuntil(b"\r\n\r\n"), 30)
        status = int(head.split(b" ", 2)[1])
        m = re.search(rb"\r\ncontent-length: *(\d+)", head, re.I)
        if status == 200 and m:
            await self.reader.readexactly(int(m.group(1)))
        self.requests += 1
        etag = re.search(rb"\r\netag: *([^\r]+)", head, re.I)
        if status == 200 and etag:
            if self.tag is not None and etag.group(1).decode() != self.tag:
                self.changed_at = time.monotonic()
            self.tag = etag.group(1).decode()
        if re.search(rb"\r\nconnection: *close", head, re.I):
            self.writer.close()
            self.writer = None

    async def run(self, stop):
        await asyncio.sleep(random.random() * self.interval)
        while not stop.is_set():
            try:
                await self.ask()
            except (OSError, asyncio.TimeoutError, asyncio.IncompleteReadError, ValueError):
                self.errors += 1
                if self.writer:
                    self.writer.close()
                self.writer = None
            await asyncio.sleep(self.interval)


async def follow(args, count):
    csv = open(args.csv, "rb").read()
    with tempfile.TemporaryDirectory() as d:
        path = os.path.join(d, "t.csv")
        with open(path, "wb") as f:
            f.write(cut(csv, args.round, False))
        server = subprocess.Popen([args.cli, "serve", path, "--host", "127.0.0.1", "--port", "0"],
                                  stdout=subprocess.PIPE, text=True)
        try:
            port = int(re.search(r":(\d+)/", server.stdout.readline()).group(1))
            players = 200
            phones = [Phone(i, port, "/standings.html" if i % 2 else "/p/%d" % (1 + i % players),
                           args.interval)
                      for i in range(count)]
            stop = asyncio.Event()
            tasks = [asyncio.ensure_future(p.run(stop)) for p in phones]
            await asyncio.sleep(2 * args.interval)
            # The cost of following while nothing changes.
            c0, t0, r0 = cpu_seconds(server.pid), time.monotonic(), sum(p.requests for p in phones)
            await asyncio.sleep(args.steady)
            idle_cpu = (cpu_seconds(server.pid) - c0) / (time.monotonic() - t0) * 100
            idle_rate = (sum(p.requests for p in phones) - r0) / (time.monotonic() - t0)
            idle_rss = rss_mb(server.pid)
            # The republish: the round's results saved as the window's autosave does.
            c0 = cpu_seconds(server.pid)
            tmp = path + ".new"
            with open(tmp, "wb") as f:
                f.write(cut(csv, args.round, True))
            start = time.monotonic()
            os.replace(tmp, path)
            peak = rss_mb(server.pid)
            loop = asyncio.get_running_loop()
            published = loop.run_in_executor(None, server.stdout.readline)
            published_at = None
            while time.monotonic() - start < args.timeout:
                if published_at is None and published.done():
                    published_at = time.monotonic()
                if all(p.changed_at for p in phones):
                    break
                peak = max(peak, rss_mb(server.pid))
                await asyncio.sleep(0.05)
            if published_at is None and published.done():
                published_at = time.monotonic()
            took = time.monotonic() - start
            cpu = cpu_seconds(server.pid) - c0
            stop.set()
            await asyncio.gather(*tasks, return_exceptions=True)
            late = sum(1 for p in phones if not p.changed_at)
            last = max((p.changed_at for p in phones if p.changed_at), default=start) - start
            print("phones=%d interval=%.0fs: idle following %.0f req/s, server CPU %.1f%%, RSS "
                  "%.1f MB; republish: published after %.2f s, last phone after %.2f s "
                  "(%d never), server CPU %.2f s over %.1f s, RSS peak %.1f MB, errors %d" %
                  (count, args.interval, idle_rate, idle_cpu, idle_rss,
                   (published_at or start) - start, last, late, cpu, took, peak,
                   sum(p.errors for p in phones)), flush=True)
        finally:
            server.terminate()
            server.wait(timeout=10)


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--cli", required=True)
    p.add_argument("--csv", required=True, help="a played 200-player tournament file")
    p.add_argument("--round", type=int, default=7, help="the round whose results arrive")
    p.add_argument("--phones", type=int, nargs="+", default=[200, 1000])
    p.add_argument("--interval", type=float, default=4.0, help="as the pages' script follows")
    p.add_argument("--steady", type=float, default=10.0)
    p.add_argument("--timeout", type=float, default=30.0)
    args = p.parse_args()
    import resource
    soft, hard = resource.getrlimit(resource.RLIMIT_NOFILE)
    resource.setrlimit(resource.RLIMIT_NOFILE, (max(soft, min(hard, 8192)), hard))
    for n in args.phones:
        asyncio.run(follow(args, n))
    return 0


if __name__ == "__main__":
    sys.exit(main())
