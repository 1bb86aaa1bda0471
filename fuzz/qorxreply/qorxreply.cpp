// Reads arbitrary bytes as a reply of the web-site framework with every reader of the client:
// status, installed packages, initialisation, service replies and their item lists. Each item
// list holds no more items than the reply has elements, none of them without an id.
#include "services/QorxReply.h"
#include "x2/X2TransformXmlFennick.h"
#include "x2/X2Validator.h"

#include <array>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    CX2Validator reply;
    if (!reply.Parse(text, CX2TransformXmlFennick()))
        return 0;
    QString id;
    int version = 0;
    QorxReply::ReadStatus(reply, QString(), id, version);
    QorxReply::ReadStatus(reply, QStringLiteral("ws_mailinglist"), id, version);
    QString script;
    QorxReply::ReadInstalledPackages(reply, QStringLiteral("ws_stats_newsletter"), script);
    QorxReply::ReadInit(reply, QString());
    QorxReply::ReadInit(reply, QStringLiteral("ws_stats_newsletter"));
    QorxReply::ReadServiceReply(reply, QStringLiteral("ws_mailinglist_list_mailinglistgetall"));
    const qsizetype elements = text.count(QLatin1Char('<'));
    for (const auto& [item, id, value] :
         {std::array<const char*, 3>{"channelgroup", "channelgroupid", "channelgroupname"},
          std::array<const char*, 3>{"tracker", "trackerid", "trackerurl"}})
    {
        std::map<QString, QString> items;
        QorxReply::CollectItems(reply, QLatin1String(item), QLatin1String(id), QLatin1String(value), items);
        if (qsizetype(items.size()) > elements || items.count(QString()) != 0)
            std::abort();
    }
    return 0;
}
