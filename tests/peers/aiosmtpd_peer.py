"""python3-aiosmtpd as an SMTP server for tests.

Usage: aiosmtpd_peer.py PORT FOLDER [USER PASSWORD [MECHANISM ...]]
Listens on 127.0.0.1:PORT and writes every accepted message to FOLDER as "<n>.eml" (the
bytes as received, the envelope in "<n>.envelope"). With a user, AUTH over the named
mechanisms (all when none is named) is offered without TLS. Prints "READY" once it listens.
"""
import os
import signal
import sys
import threading

from aiosmtpd.controller import Controller
from aiosmtpd.smtp import AuthResult, LoginPassword

MECHANISMS = ('PLAIN', 'LOGIN')


class Store:
    def __init__(self, folder):
        self.folder = folder
        self.count = 0
        self.lock = threading.Lock()

    async def handle_DATA(self, server, session, envelope):
        with self.lock:
            self.count += 1
            base = os.path.join(self.folder, str(self.count))
        with open(base + '.envelope', 'w') as out:
            out.write(envelope.mail_from + '\n' + '\n'.join(envelope.rcpt_tos) + '\n')
        with open(base + '.eml', 'wb') as out:
            out.write(envelope.original_content)
        return '250 Message accepted for delivery'


def main():
    port, folder = int(sys.argv[1]), sys.argv[2]
    arguments = {}
    if len(sys.argv) > 4:
        # Logins travel in the client's code page, Windows-1252.
        user, password = sys.argv[3].encode('cp1252'), sys.argv[4].encode('cp1252')
        offered = [m.upper() for m in sys.argv[5:]] or list(MECHANISMS)

        def authenticate(server, session, envelope, mechanism, data):
            ok = isinstance(data, LoginPassword) and data.login == user and data.password == password
            return AuthResult(success=ok, handled=False)

        arguments = dict(authenticator=authenticate, auth_require_tls=False,
                         auth_exclude_mechanism=[m for m in MECHANISMS if m not in offered])
    controller = Controller(Store(folder), hostname='127.0.0.1', port=port, **arguments)
    controller.start()
    print('READY', flush=True)
    stop = threading.Event()
    signal.signal(signal.SIGTERM, lambda *_: stop.set())
    stop.wait()
    controller.stop()


main()
