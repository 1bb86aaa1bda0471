#pragma once

#include "webserver/WebServerBase.h"

class CKVContext;

// The program's local web server: every connection is served by a page service bound to the
// application context.
class CKVWebServer : public CWebServerBase
{
public:
    static constexpr int StartWaitMilliseconds = 10000;

    // The context is not owned; it outlives the server.
    explicit CKVWebServer(CKVContext* context) : m_context(context) {}
    ~CKVWebServer() override;

    std::unique_ptr<CHttpServiceBase> CreateService() override;

    // Starts the server once and records its port in the context: the port the system gave it,
    // or 0 when it did not report ready in time. Returns that port.
    int Start(int waitMilliseconds = StartWaitMilliseconds);

private:
    CKVContext* m_context;
};
