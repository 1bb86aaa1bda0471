#pragma once

class CWebServerBase;

// Starts the server once: opens the listening socket on a free port of 127.0.0.1 and waits up
// to the given time for it to be ready. Returns the port, or 0 when the server did not start.
int StartWebServer(CWebServerBase& server, int waitMilliseconds = 10000);

// The listening thread: opens the socket, reports the port and hands every accepted connection
// to the connection threads until the server stops. Returns 0.
int WebServerListenThread(CWebServerBase& server);

// One thread of the connection pool: serves waiting connections, one request each, until the
// server stops.
void WebServerConnectionThread(CWebServerBase& server);
