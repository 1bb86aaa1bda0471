#include "platform/net/InternetSession.h"

#include "platform/net/HttpConnection.h"

#include <curl/curl.h>

#include <mutex>

CInternetSession::CInternetSession(const QString& userAgent) : m_userAgent(userAgent)
{
    static std::once_flag initialised;
    std::call_once(initialised, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

std::unique_ptr<CHttpConnection> CInternetSession::GetHttpConnection(const QString& server, int port) const
{
    return CHttpConnection::Open(*this, server, port);
}
