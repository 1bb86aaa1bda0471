#!/usr/bin/python3
"""FTP peer for tests (pyftpdlib), bound to 127.0.0.1 at a free port, printing "PORT <n>" when
ready. Every command it receives is logged as "<session> <- COMMAND argument".

usage: ftp_server.py ROOT USER PASSWORD LOG [--no-mlsd] [--drop-after BYTES --drop-count N]
                     [--no-rename-over] [--refuse-rename-from PATTERN]

--no-mlsd makes the server one that knows LIST only. --drop-after closes the data and control
connections of the first N uploads once BYTES bytes have arrived, as a server that goes away in
the middle of a transfer. --no-rename-over refuses to rename onto a name that exists, as some
servers do; --refuse-rename-from refuses to rename any file whose name matches the regular
expression, as a server whose renames fail.
"""
import argparse
import logging
import os
import re

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import DTPHandler, FTPHandler
from pyftpdlib.servers import FTPServer

parser = argparse.ArgumentParser()
parser.add_argument("root")
parser.add_argument("user")
parser.add_argument("password")
parser.add_argument("log")
parser.add_argument("--no-mlsd", action="store_true")
parser.add_argument("--drop-after", type=int, default=-1)
parser.add_argument("--drop-count", type=int, default=0)
parser.add_argument("--no-rename-over", action="store_true")
parser.add_argument("--refuse-rename-from", default=None)
options = parser.parse_args()

command_log = open(options.log, "a", buffering=1, encoding="utf-8", errors="surrogateescape")
drops_left = [options.drop_count]


class DroppingDTPHandler(DTPHandler):
    def __init__(self, sock, cmd_channel):
        super().__init__(sock, cmd_channel)
        self.dropping = False
        self.received_bytes = 0

    def enable_receiving(self, type, cmd):
        if options.drop_after >= 0 and drops_left[0] > 0:
            drops_left[0] -= 1
            self.dropping = True
        super().enable_receiving(type, cmd)

    def handle_read(self):
        if self.dropping and self.received_bytes >= options.drop_after:
            channel = self.cmd_channel
            self.close()
            channel.close()
            return
        before = self.tot_bytes_received
        super().handle_read()
        self.received_bytes += self.tot_bytes_received - before

    handle_read_event = handle_read


class Handler(FTPHandler):
    dtp_handler = DroppingDTPHandler

    def pre_process_command(self, line, cmd, arg):
        shown = "******" if cmd == "PASS" else (arg or "")
        command_log.write("%s:%d <- %s %s\n" % (self.remote_ip, self.remote_port, cmd, shown))
        super().pre_process_command(line, cmd, arg)

    def ftp_RNTO(self, path):
        source = os.path.basename(self._rnfr or "")
        refused = (options.no_rename_over and os.path.exists(path)) or (
            options.refuse_rename_from and re.search(options.refuse_rename_from, source))
        if self._rnfr and refused:
            self._rnfr = None
            self.respond("550 Rename refused.")
            return None
        return super().ftp_RNTO(path)


if options.no_mlsd:
    Handler.proto_cmds = {k: v for k, v in FTPHandler.proto_cmds.items() if k not in ("MLSD", "MLST")}

authorizer = DummyAuthorizer()
authorizer.add_user(options.user, options.password, options.root, perm="elradfmwMT")
Handler.authorizer = authorizer
Handler.passive_ports = None
# Refused logins answer at once: the tests try several.
Handler.auth_failed_timeout = 0.05
logging.basicConfig(level=logging.CRITICAL)
server = FTPServer(("127.0.0.1", 0), Handler)
print("PORT %d" % server.address[1], flush=True)
server.serve_forever()
