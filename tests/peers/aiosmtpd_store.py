"""aiosmtpd on 127.0.0.1 that stores every message it accepts, as the client sent it after the
dots of the transparency rule are taken out, in a file of its own.

Usage: aiosmtpd_store.py PORT FOLDER [USER PASSWORD [MECHANISM ...]]. With a user, AUTH over
the named mechanisms (PLAIN and LOGIN when none is named) is offered without TLS; the client
sends its login in its code page, Windows-1252. With KV_REFUSE_RECIPIENTS=1 in the environment
every recipient is refused as a relay that is not allowed. Prints "ready" once it listens and
stops when its standard input closes."""
import os
import sys

from aiosmtpd.controller import Controller
from aiosmtpd.smtp import AuthResult, LoginPassword

MECHANISMS = ('PLAIN', 'LOGIN')


class StoreHandler:
    def __init__(self, folder):
        self.folder = folder
        self.count = 0

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if os.environ.get('KV_REFUSE_RECIPIENTS') == '1':
            return '550 5.7.1 Relaying denied'
        envelope.rcpt_tos.append(address)
        return '250 OK'

    async def handle_DATA(self, server, session, envelope):
        self.count += 1
        path = os.path.join(self.folder, '%04d.eml' % self.count)
        with open(path + '.part', 'wb') as out:
            out.write(envelope.original_content)
        os.rename(path + '.part', path)
        return '250 OK stored'


def login_settings(user, password, offered):
    user, password = user.encode('cp1252'), password.encode('cp1252')

    def authenticate(server, session, envelope, mechanism, data):
        ok = isinstance(data, LoginPassword) and data.login == user and data.password == password
        return AuthResult(success=ok, handled=False)

    offered = [m.upper() for m in offered] or list(MECHANISMS)
    return dict(authenticator=authenticate, auth_require_tls=False,
                auth_exclude_mechanism=[m for m in MECHANISMS if m not in offered])


def main():
    port, folder = int(sys.argv[1]), sys.argv[2]
    settings = login_settings(sys.argv[3], sys.argv[4], sys.argv[5:]) if len(sys.argv) > 4 else {}
    controller = Controller(StoreHandler(folder), hostname='127.0.0.1', port=port, **settings)
    controller.start()
    print('ready', flush=True)
    sys.stdin.read()
    controller.stop()


if __name__ == '__main__':
    main()
