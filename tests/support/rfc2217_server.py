#!/usr/bin/python3
"""An RFC 2217 serial server in front of a device, made of python3-serial's
port manager: rfc2217_server.py DEVICE PORT. Prints
"LISTEN <port>", then the manager's log: the line settings and purges the
client asked for, as the server applied them. One connection at a time."""
import logging
import socket
import sys
import termios
import threading
import types

import serial
import serial.rfc2217


class PseudoTerminal(serial.Serial):
    """A pseudo-terminal has no modem lines, and refuses parity: the server
    keeps the settings asked for as its own, the line itself stays 8N1."""
    cts = dsr = ri = cd = False

    def _reconfigure_port(self, force_update=False):
        try:
            super()._reconfigure_port(force_update)
        except termios.error:
            pass


def serve(device, connection, log):
    connection.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
    lock = threading.Lock()  # the manager's answers and the device's bytes share the connection

    def send(data):
        with lock:
            connection.sendall(data)

    manager = serial.rfc2217.PortManager(device, types.SimpleNamespace(write=send), log)
    done = threading.Event()

    def to_network():
        while not done.is_set():
            data = device.read(device.in_waiting or 1)
            if data:
                send(b''.join(manager.escape(data)))

    reader = threading.Thread(target=to_network, daemon=True)
    reader.start()
    try:
        while data := connection.recv(1024):
            device.write(b''.join(manager.filter(data)))
    except OSError:
        pass
    done.set()
    reader.join()
    connection.close()


def settings_and_purges(record):
    """A client's no-operation commands, which acknowledge what came at
    once, are no news and would fill the log."""
    return 'ignoring Telnet command' not in record.getMessage()


logging.basicConfig(stream=sys.stdout, level=logging.INFO, format='%(message)s')
logging.getLogger('rfc2217').addFilter(settings_and_purges)
device = PseudoTerminal(sys.argv[1], timeout=0.01)
listener = socket.create_server(('127.0.0.1', int(sys.argv[2])), reuse_port=True)
print('LISTEN', listener.getsockname()[1], flush=True)
while True:
    serve(device, listener.accept()[0], logging.getLogger('rfc2217'))
