"""A plain Modbus TCP server from pymodbus, as a peer nobody here wrote.

Prints "PORT <n>" once listening, then one line per write request:
"WRITE <function> <register> <value> ...". Holding registers start seeded
with a few PLC images so reads can be checked too.
"""
import asyncio
import socket
import sys

from pymodbus.datastore import ModbusSequentialDataBlock, ModbusServerContext, ModbusSlaveContext
from pymodbus.server import StartAsyncTcpServer

SEED = {16640: 0x0012, 16641: 0, 16704: 0x0005, 16705: 0, 16796: 0x0102, 16797: 0, 574: 13228, 1024: 0x3228}


class LoggingContext(ModbusSlaveContext):
    def setValues(self, fc_as_hex, address, values):
        print("WRITE", fc_as_hex, address, *values, flush=True)
        super().setValues(fc_as_hex, address, values)


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


async def main():
    block = ModbusSequentialDataBlock(0, [0] * 17000)
    for register, value in SEED.items():
        block.setValues(register, [value])
    context = ModbusServerContext(slaves=LoggingContext(hr=block, zero_mode=True), single=True)
    port = free_port()
    server = await StartAsyncTcpServer(context=context, address=("127.0.0.1", port), defer_start=True)
    print("PORT", port, flush=True)
    await server.serve_forever()


if __name__ == "__main__":
    sys.exit(asyncio.run(main()))
