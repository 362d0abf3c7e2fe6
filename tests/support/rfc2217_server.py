#!/usr/bin/python3
"""An RFC 2217 serial server in front of a device, made of python3-serial's
port manager. Prints "LISTEN <port>", then the manager's log: the line
settings and purges the client asked for, as the server applied them."""
import argparse
import logging
import socket
import sys
import termios
import threading

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


class Writer:
    """The manager's answers and the device's bytes share one connection."""

    def __init__(self, connection):
        self.connection = connection
        self.lock = threading.Lock()

    def write(self, data):
        with self.lock:
            self.connection.sendall(data)


def serve(device, connection, log):
    connection.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
    writer = Writer(connection)
    manager = serial.rfc2217.PortManager(device, writer, log)
    done = threading.Event()

    def to_network():
        while not done.is_set():
            data = device.read(device.in_waiting or 1)
            if data:
                writer.write(b''.join(manager.escape(data)))

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


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('device')
    parser.add_argument('--port', type=int, default=0)
    options = parser.parse_args()
    logging.basicConfig(stream=sys.stdout, level=logging.INFO, format='%(message)s')
    device = PseudoTerminal(options.device, timeout=0.01)
    listener = socket.create_server(('127.0.0.1', options.port), reuse_port=True)
    print('LISTEN', listener.getsockname()[1], flush=True)
    while True:
        connection, _ = listener.accept()
        serve(device, connection, logging.getLogger('rfc2217'))


main()
