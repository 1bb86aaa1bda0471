// Feeds arbitrary bytes to the local server's request reader as the input of one connection. A
// request that leaves the connection open for the next one must have been read exactly as far
// as the server measured it before the exchange: its head and the form body the head announces.

#include "webserver/HttpExchange.h"
#include "webserver/HttpServiceBase.h"
#include "webserver/MemoryChannel.h"
#include "webserver/RequestPath.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace
{
// The port the seed requests name in their Host header.
constexpr int ServerPort = 8080;

// Also runs what a page service does with the parsed request.
class CFuzzService : public CHttpServiceBase
{
public:
    bool Handle() override
    {
        QString host;
        QString path;
        GetRequestPath(host, path);
        CheckPathShortcut();
        int value = 0;
        GetParameter(QStringLiteral("type"), value);
        GetParameter(QStringLiteral("d_0_0"), value);
        QString text;
        GetQueryParameter(QStringLiteral("i_0"), text);
        return true;
    }

private:
    // The shortcut for plain addresses must answer exactly as the full URL parse.
    void CheckPathShortcut() const
    {
        QString hostHeader;
        GetRequestHeader(HttpHeader::Host, hostHeader);
        QString host;
        QString path;
        QString urlHost;
        QString urlPath;
        const bool split = SplitRequestPath(hostHeader, RequestTarget(), host, path);
        const bool splitByUrl = SplitRequestPathByUrl(hostHeader, RequestTarget(), urlHost, urlPath);
        if (split != splitByUrl || (split && (host != urlHost || path != urlPath)))
            std::abort();
    }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QByteArray output;
    auto channel = std::make_unique<CMemoryChannel>(input, &output);
    const CMemoryChannel& connection = *channel;
    CFuzzService service;
    service.AttachConnection(std::move(channel), sockaddr_in{}, ServerPort);
    if (RunHttpExchange(service) != ExchangeEnd::KeepAlive)
        return 0;
    // A head beyond what the server collects never reaches the reader there.
    const qsizetype head = CHttpServiceBase::RequestHeadSize(input);
    if (head > 0 &&
        connection.Consumed() != head + CHttpServiceBase::FormBodySize(QByteArrayView(input).first(head)))
        std::abort();
    return 0;
}
