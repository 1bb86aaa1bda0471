#!/usr/bin/python3
"""HTTP peer for tests: answers every request from a routes file that the test may rewrite at any
time, and logs each request target as it arrived, one per line.

usage: scripted_http.py ROUTES LOG [CERT KEY]

ROUTES is JSON: {"/path": route, "/path?cmd=name": route, ..., "*": route}. A request takes the
route of its path and its "cmd" query value, else that of its path, else "*".
A route: {"status": 200, "type": "text/xml; charset=utf-8", "body": "...", "repeat": 1,
"suffix": "", "mode": "normal" | "silent" | "endless"}; "file": a path sends that file's bytes
in place of the body. "silent" sends nothing and holds the
connection; "endless" sends the head and the body, then blanks until the client goes away.
With CERT and KEY the peer speaks TLS only.
"""
import http.server
import json
import socketserver
import ssl
import sys
import threading
import time
import urllib.parse

ROUTES, LOG = sys.argv[1], sys.argv[2]
LOCK = threading.Lock()


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"

    def log_message(self, *args):
        pass

    def do_GET(self):
        with LOCK:
            with open(LOG, "a", encoding="utf-8", errors="surrogateescape") as log:
                log.write(self.path + "\n")
            with open(ROUTES, encoding="utf-8") as f:
                routes = json.load(f)
        path, _, query = self.path.partition("?")
        command = urllib.parse.parse_qs(query).get("cmd", [""])[0]
        route = routes.get(path + "?cmd=" + command) or routes.get(path) or routes.get("*", {"status": 404})
        mode = route.get("mode", "normal")
        if mode == "silent":
            time.sleep(3600)
            return
        if "file" in route:
            with open(route["file"], "rb") as f:
                body = f.read()
        else:
            body = route.get("body", "").encode("utf-8")
        repeat = route.get("repeat", 1)
        suffix = route.get("suffix", "").encode("utf-8")
        self.send_response_only(route.get("status", 200))
        self.send_header("Content-Type", route.get("type", "text/xml; charset=utf-8"))
        if mode != "endless":
            self.send_header("Content-Length", str(len(body) * repeat + len(suffix)))
        self.end_headers()
        try:
            for _ in range(repeat):
                self.wfile.write(body)
            self.wfile.write(suffix)
            while mode == "endless":
                self.wfile.write(b" " * 65536)
        except OSError:
            pass


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True


def main():
    server = Server(("127.0.0.1", 0), Handler)
    if len(sys.argv) > 4:
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(sys.argv[3], sys.argv[4])
        server.socket = context.wrap_socket(server.socket, server_side=True)
    print("PORT %d" % server.server_address[1], flush=True)
    server.serve_forever()


main()
