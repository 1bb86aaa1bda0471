#include "app/KVWebServer.h"

#include "app/KVContext.h"
#include "webserver/KVHttpService.h"
#include "webserver/WebServerThreads.h"

CKVWebServer::~CKVWebServer()
{
    // The connection threads create services through this object until they are joined.
    Stop();
}

std::unique_ptr<CHttpServiceBase> CKVWebServer::CreateService()
{
    return std::make_unique<CKVHttpService>(m_context);
}

int CKVWebServer::Start(int waitMilliseconds)
{
    const int port = StartWebServer(*this, waitMilliseconds);
    if (m_context)
        m_context->SetServerPort(port);
    return port;
}
