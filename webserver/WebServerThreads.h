#pragma once

class CWebServerBase;

// Starts the server: opens the listening socket on a free port of 127.0.0.1 and waits up to the
// given time for it to be ready. Returns the port, or 0 when the server did not start. A running
// server keeps its port; a stopped one starts anew.
int StartWebServer(CWebServerBase& server, int waitMilliseconds = 10000);

// The listening thread: opens the socket, starts the connection threads, reports the port,
// then gives up connections that waited too long, until the server stops. Returns 0.
int WebServerListenThread(CWebServerBase& server);

// One thread of the connection pool: accepts connections and serves those on which bytes have
// arrived, until the server stops.
void WebServerConnectionThread(CWebServerBase& server);
