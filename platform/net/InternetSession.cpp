#include "platform/net/InternetSession.h"

#include "platform/net/FtpConnection.h"
#include "platform/net/HttpConnection.h"

#include <curl/curl.h>

#include <mutex>

CInternetSession::CInternetSession(const QString& userAgent) : m_userAgent(userAgent)
{
    static std::once_flag initialised;
    std::call_once(initialised, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

std::unique_ptr<CHttpConnection> CInternetSession::GetHttpConnection(const QString& server, int port,
                                                                     bool secure) const
{
    return CHttpConnection::Open(*this, server, port, secure);
}

std::unique_ptr<CFtpConnection> CInternetSession::GetFtpConnection(const QString& server, const QString& user,
                                                                   const QString& password, int port,
                                                                   bool passive) const
{
    return CFtpConnection::Open(*this, server, port, user, password, passive);
}
