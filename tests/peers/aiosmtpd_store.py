"""aiosmtpd on 127.0.0.1 that stores every message it accepts, as the client sent it after the
dots of the transparency rule are taken out, in a file of its own.

Usage: aiosmtpd_store.py PORT FOLDER. Prints "ready" once it listens and stops when its
standard input closes."""
import os
import sys

from aiosmtpd.controller import Controller


class StoreHandler:
    def __init__(self, folder):
        self.folder = folder
        self.count = 0

    async def handle_DATA(self, server, session, envelope):
        self.count += 1
        path = os.path.join(self.folder, '%04d.eml' % self.count)
        with open(path + '.part', 'wb') as out:
            out.write(envelope.original_content)
        os.rename(path + '.part', path)
        return '250 OK stored'


def main():
    port, folder = int(sys.argv[1]), sys.argv[2]
    controller = Controller(StoreHandler(folder), hostname='127.0.0.1', port=port)
    controller.start()
    print('ready', flush=True)
    sys.stdin.read()
    controller.stop()


if __name__ == '__main__':
    main()
