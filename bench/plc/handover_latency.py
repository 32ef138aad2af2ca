#!/usr/bin/python3
"""Hand-over latency of `orl-tool run` against PLCs on Modbus TCP.

Two peers, each driven through a program of 55 pieces (56 hand-overs), with
the default scan cycle (ScanIntervalMs=300, HandOverInOneTick=0) and the
fast one (ScanIntervalMs=100, HandOverInOneTick=1):

- pymodbus: a plain pymodbus server playing the PLC. It raises "Send Next
  Pos" (701) and times until the relay word that answers it arrives, the
  target block before it. This is the saw's whole wait, from the PLC's
  raise.
- sim: the built-in simulated saw PLC served by `orl-tool sim --tcp`, with a
  proxy between it and the controller. The proxy sees when the controller's
  read first shows 701 and when the relay word answers it; the PLC raised
  701 at most one scan interval before that read, so raise-to-answer is at
  most that figure plus the interval (reported as "bound").

Prints median, p99 and max per peer and cycle, and the targets and relay
words, which must be the same with both cycles.

usage: bench/plc/handover_latency.py [BUILD_DIR]   (default: build)
"""
import asyncio
import os
import socket
import statistics
import struct
import subprocess
import sys
import tempfile
import time

from pymodbus.datastore import ModbusSequentialDataBlock, ModbusServerContext, ModbusSlaveContext
from pymodbus.server import StartAsyncTcpServer

RELAY_REGISTER = 16796   # V40634
TARGET_REGISTER = 1024   # V2000, the target block
SET_TO_BEGINNING = 1 << 0  # 700
SEND_NEXT_POS = 1 << 1     # 701
LAST_CUT = 1 << 11         # 713
PIECES = 55
CUT_SECONDS = 0.05         # the saw's cut between two requests
CYCLES = {"default (300 ms, 3 ticks)": ("300", "0"), "fast (100 ms, one tick)": ("100", "1")}


def repo_root():
    return os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


def write_settings(folder, interval, one_tick):
    with open(os.path.join(repo_root(), "examples", "ORL.INI"), encoding="latin-1") as example:
        lines = example.read().splitlines()
    changed = {"ScanIntervalMs": interval, "HandOverInOneTick": one_tick, "Simulate": "0",
               "PrintPath": os.path.join(folder, "labels.txt"), "MaxLogLen": "0"}
    out = []
    for line in lines:
        key = line.split("=", 1)[0]
        out.append(f"{key}={changed[key]}" if key in changed else line)
    path = os.path.join(folder, "ORL.INI")
    with open(path, "w", encoding="latin-1") as settings:
        settings.write("\n".join(out) + "\n")
    program = os.path.join(folder, "bench-program")
    with open(program, "w", encoding="latin-1", newline="") as cuts:
        cuts.write(f"Bench,True\r\n\r\n2440\r\n40,{PIECES}\r\n")
    return path, program


def percentile(values, share):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(round(share * (len(ordered) - 1))))]


def report(peer, cycle, latencies_ms, extra=""):
    print(f"{peer:8} {cycle:28} n={len(latencies_ms):3}  median {statistics.median(latencies_ms):6.1f} ms  "
          f"p99 {percentile(latencies_ms, 0.99):6.1f} ms  max {max(latencies_ms):6.1f} ms{extra}", flush=True)


def run_controller(build, settings, program, port):
    tool = os.path.join(build, "saw", "tools", "orl-tool")
    return subprocess.Popen([tool, "run", program, "--ini", settings, "--plc", f"tcp:127.0.0.1:{port}",
                             "--until-done", "--timeout", "30"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)


# --- The pymodbus PLC ---------------------------------------------------------

class HandshakePlc(ModbusSlaveContext):
    """Holding registers; notes each relay word and target block written."""

    def __init__(self, block):
        super().__init__(hr=block, zero_mode=True)
        self.answered = asyncio.Event()
        self.words = []    # ("target", value) / ("relay", word), in arrival order
        self.answer_time = 0.0

    def setValues(self, fc_as_hex, address, values):
        super().setValues(fc_as_hex, address, values)
        if address == TARGET_REGISTER and len(values) >= 2:
            self.words.append(("target", bcd(values[0], values[1])))
        if address == RELAY_REGISTER:
            self.words.append(("relay", values[0]))
            if not values[0] & (SEND_NEXT_POS | SET_TO_BEGINNING):
                self.answer_time = time.perf_counter()
                self.answered.set()

    def relay(self):
        return self.getValues(3, RELAY_REGISTER, 1)[0]

    def set_relay(self, word):
        super().setValues(3, RELAY_REGISTER, [word])


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def bcd(low, high):
    digits = f"{high:04x}{low:04x}"
    return int(digits) if digits.isdigit() else -1


async def pymodbus_run(build, settings, program):
    plc = HandshakePlc(ModbusSequentialDataBlock(0, [0] * 17000))
    plc.set_relay(SET_TO_BEGINNING)
    port = free_port()
    server = await StartAsyncTcpServer(context=ModbusServerContext(slaves=plc, single=True),
                                       address=("127.0.0.1", port), defer_start=True)
    serving = asyncio.create_task(server.serve_forever())
    await asyncio.sleep(0.2)  # listening
    controller = run_controller(build, settings, program, port)
    latencies = []
    await asyncio.wait_for(plc.answered.wait(), 10)  # the first target, served on 700
    while not plc.words or plc.words[-1][0] != "relay" or not plc.words[-1][1] & LAST_CUT:
        await asyncio.sleep(CUT_SECONDS)
        plc.answered.clear()
        raised = time.perf_counter()
        plc.set_relay(plc.relay() | SEND_NEXT_POS)
        await asyncio.wait_for(plc.answered.wait(), 10)
        latencies.append((plc.answer_time - raised) * 1000)
    await asyncio.get_running_loop().run_in_executor(None, controller.wait)
    serving.cancel()
    if controller.returncode != 0:
        raise SystemExit(f"orl-tool run failed: {controller.stderr.read()}")
    return latencies, plc.words


# --- The simulated PLC behind a proxy ----------------------------------------

class ProxyWatch:
    """Follows the controller's Modbus TCP frames to and from the simulator."""

    def __init__(self):
        self.reads = {}        # transaction id -> register read
        self.seen_at = None    # when a read first showed 701
        self.latencies = []
        self.words = []

    def request(self, frame):
        tid, function, register = struct.unpack(">H5xBH", frame[:10])
        if function == 3:
            self.reads[tid] = register
        elif function == 6 and register == RELAY_REGISTER:
            word = struct.unpack(">H", frame[10:12])[0]
            self.words.append(("relay", word))
            if self.seen_at is not None and not word & SEND_NEXT_POS:
                self.latencies.append((time.perf_counter() - self.seen_at) * 1000)
                self.seen_at = None
        elif function == 16 and register == TARGET_REGISTER:
            low, high = struct.unpack(">HH", frame[13:17])
            self.words.append(("target", bcd(low, high)))

    def response(self, frame):
        tid, function = struct.unpack(">H5xB", frame[:8])
        if function == 3 and self.reads.pop(tid, None) == RELAY_REGISTER:
            word = struct.unpack(">H", frame[9:11])[0]
            if word & SEND_NEXT_POS and self.seen_at is None:
                self.seen_at = time.perf_counter()


async def pipe(reader, writer, note):
    try:
        while True:
            header = await reader.readexactly(6)
            body = await reader.readexactly(struct.unpack(">H", header[4:6])[0])
            note(header + body)
            writer.write(header + body)
            await writer.drain()
    except (asyncio.IncompleteReadError, ConnectionError):
        writer.close()


async def sim_run(build, settings, program, interval_ms):
    tool = os.path.join(build, "saw", "tools", "orl-tool")
    sim = subprocess.Popen([tool, "sim", "--tcp", "127.0.0.1:0", "--cut-ms", str(int(CUT_SECONDS * 1000))],
                           stdout=subprocess.PIPE, text=True)
    sim_port = int(sim.stdout.readline().split()[-1])
    watch = ProxyWatch()

    async def serve(reader, writer):
        up_reader, up_writer = await asyncio.open_connection("127.0.0.1", sim_port)
        await asyncio.gather(pipe(reader, up_writer, watch.request), pipe(up_reader, writer, watch.response))

    proxy = await asyncio.start_server(serve, "127.0.0.1", 0)
    controller = run_controller(build, settings, program, proxy.sockets[0].getsockname()[1])
    await asyncio.get_running_loop().run_in_executor(None, controller.wait)
    proxy.close()
    sim.terminate()
    sim.wait()
    if controller.returncode != 0:
        raise SystemExit(f"orl-tool run against the simulator failed: {controller.stderr.read()}")
    return watch.latencies, watch.words


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(repo_root(), "build"))
    words_by_peer = {}
    for cycle, (interval, one_tick) in CYCLES.items():
        with tempfile.TemporaryDirectory() as folder:
            settings, program = write_settings(folder, interval, one_tick)
            latencies, words = asyncio.run(pymodbus_run(build, settings, program))
            report("pymodbus", cycle, latencies)
            words_by_peer.setdefault("pymodbus", []).append(words)
            latencies, words = asyncio.run(sim_run(build, settings, program, int(interval)))
            bound = [ms + int(interval) for ms in latencies]
            report("sim", cycle, latencies, f"  (bound from the raise: max {max(bound):.0f} ms)")
            words_by_peer.setdefault("sim", []).append(words)
    for peer, (default_words, fast_words) in words_by_peer.items():
        same = default_words == fast_words
        print(f"{peer:8} targets and relay words alike in both cycles: {'yes' if same else 'NO'}"
              f" ({len(default_words)} words)")
        if not same:
            sys.exit(1)


if __name__ == "__main__":
    main()
