// Reads arbitrary bytes as a reply of the web-site framework with every reader of the client:
// status, installed packages, initialisation, service replies and their item lists.
#include "services/QorxReply.h"
#include "x2/X2TransformXmlFennick.h"
#include "x2/X2Validator.h"

#include <cstdint>

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
    std::map<QString, QString> items;
    QorxReply::CollectItems(reply, QStringLiteral("channelgroup"), QStringLiteral("channelgroupid"),
                            QStringLiteral("channelgroupname"), items);
    QorxReply::CollectItems(reply, QStringLiteral("tracker"), QStringLiteral("trackerid"),
                            QStringLiteral("trackerurl"), items);
    return 0;
}
