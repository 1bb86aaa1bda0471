#!/usr/bin/python3
"""A web site's framework with its mailing-list service, for tests: answers the framework's status
and package queries and keeps the site's mailing lists in memory.

usage: mailing_list_service.py USER PASSWORD LISTS_JSON [refuse-add]

The framework script is /admin/qorx.php, the service /admin/ws_mailinglist.php. LISTS_JSON maps
list ids to names. A query with other credentials gets status "failed"; with "refuse-add" every
new list is refused. Prints "PORT <n>" once it listens.
"""
import http.server
import json
import socketserver
import sys
import threading
import urllib.parse
from xml.sax.saxutils import quoteattr

USER, PASSWORD = sys.argv[1], sys.argv[2]
LISTS = json.loads(sys.argv[3])
REFUSE_ADD = len(sys.argv) > 4 and sys.argv[4] == "refuse-add"
LOCK = threading.Lock()


def status_reply(system):
    return ('<%s_admin_getstatus status="ok" packageid="{ID-%s}" packageversion="2">'
            '<connection status="ok"/><tables_exist status="ok"/></%s_admin_getstatus>') % (system, system, system)


def framework(command):
    if command == "getstatus":
        return status_reply("qorxsystem")
    if command == "getinstalledpackages":
        return ('<qorxsystem_admin_getinstalledpackages status="ok">'
                '<package name="ws_mailinglist" serviceurl="ws_mailinglist.php"/>'
                '</qorxsystem_admin_getinstalledpackages>')
    return None


def service(command, query):
    if command == "getstatus":
        return status_reply("ws_mailinglist")
    if command == "mailinglistgetall":
        with LOCK:
            items = "".join('<channelgroup channelgroupid=%s channelgroupname=%s/>' % (quoteattr(i), quoteattr(n))
                            for i, n in sorted(LISTS.items()))
        return '<ws_mailinglist_list_mailinglistgetall status="ok">%s</ws_mailinglist_list_mailinglistgetall>' % items
    if command == "mailinglistadd":
        if REFUSE_ADD:
            return '<ws_mailinglist_list_mailinglistadd status="failed"/>'
        with LOCK:
            LISTS[query.get("channelgroupid", [""])[0]] = query.get("channelgroupname", [""])[0]
        return '<ws_mailinglist_list_mailinglistadd status="ok"/>'
    return None


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"

    def log_message(self, *args):
        pass

    def do_GET(self):
        path, _, raw = self.path.partition("?")
        query = urllib.parse.parse_qs(raw, keep_blank_values=True)
        command = query.get("cmd", [""])[0]
        if query.get("adminusername", [""])[0] != USER or query.get("adminpassword", [""])[0] != PASSWORD:
            body = '<qorxsystem_admin_%s status="failed"/>' % command
        elif path == "/admin/qorx.php":
            body = framework(command)
        elif path == "/admin/ws_mailinglist.php":
            body = service(command, query)
        else:
            body = None
        if body is None:
            self.send_response_only(404)
            self.end_headers()
            return
        data = ('<?xml version="1.0" encoding="utf-8"?>\n' + body).encode("utf-8")
        self.send_response_only(200)
        self.send_header("Content-Type", "text/xml; charset=utf-8")
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        self.wfile.write(data)


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True


server = Server(("127.0.0.1", 0), Handler)
print("PORT %d" % server.server_address[1], flush=True)
server.serve_forever()
