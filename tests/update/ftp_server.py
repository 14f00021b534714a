#!/usr/bin/python3
"""An FTP server on 127.0.0.1 for the update check's tests.

Prints the port it listens on as the first line of its output, then serves until it is
terminated. Every connection it accepts is appended to the log file as one line "connect".

  --root DIR    the folder the account sees (it holds Website/QuillmereHome)
  --log FILE    the connection log
  --mode serve  the update account (the default)
  --mode refuse the account exists with another password, so every login is refused
  --mode silent accepts connections and never says a word
  --rate N      sends downloads at N bytes a second (to watch the progress display)
  --stall N     sends the first N bytes of a download, then nothing more (the connection stays
                open)
"""
import argparse
import socket
import sys
import time

parser = argparse.ArgumentParser()
parser.add_argument("--root", required=True)
parser.add_argument("--log", required=True)
parser.add_argument("--mode", default="serve", choices=["serve", "refuse", "silent"])
parser.add_argument("--rate", type=int, default=0)
parser.add_argument("--stall", type=int, default=-1)
args = parser.parse_args()


def log_connection():
    with open(args.log, "a") as log:
        log.write("connect\n")


if args.mode == "silent":
    server = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    server.bind(("127.0.0.1", 0))
    server.listen(8)
    print(server.getsockname()[1], flush=True)
    held = []
    while True:
        connection, _ = server.accept()
        log_connection()
        held.append(connection)  # kept open, never answered

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler, ThrottledDTPHandler
from pyftpdlib.servers import FTPServer

authorizer = DummyAuthorizer()
password = "qz#604183" if args.mode == "serve" else "another password"
authorizer.add_user("Brennick", password, args.root, perm="elr")


class LoggingHandler(FTPHandler):
    def on_connect(self):
        log_connection()


class StallingDTPHandler(ThrottledDTPHandler):
    """Sends the first --stall bytes, then takes its socket off the loop and never sends again."""

    sent_total = 0

    def send(self, data):
        if self.sent_total >= args.stall:
            self.del_channel()
            return 0
        sent = super().send(data[: args.stall - self.sent_total])
        self.sent_total += sent
        return sent


LoggingHandler.authorizer = authorizer
if args.stall >= 0:
    LoggingHandler.dtp_handler = StallingDTPHandler
elif args.rate > 0:
    ThrottledDTPHandler.write_limit = args.rate
    LoggingHandler.dtp_handler = ThrottledDTPHandler
LoggingHandler.passive_ports = None
LoggingHandler.auth_failed_timeout = 0
server = FTPServer(("127.0.0.1", 0), LoggingHandler)
print(server.socket.getsockname()[1], flush=True)
server.serve_forever()
