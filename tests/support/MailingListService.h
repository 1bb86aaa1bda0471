#pragma once

#include "support/ServerProcess.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <map>

// A site's framework with its mailing-list service on 127.0.0.1, keeping the lists in memory:
// those given at the start and every one added since.
class MailingListService
{
public:
    enum class Adding
    {
        Accepted,
        Refused,
    };

    MailingListService(const QString& user, const QString& password, const std::map<QString, QString>& lists,
                       Adding adding = Adding::Accepted)
    {
        QJsonObject object;
        for (const auto& [id, name] : lists)
            object.insert(id, name);
        QStringList arguments{QStringLiteral("/usr/bin/python3"),
                              QStringLiteral(KV_SOURCE_DIR "/tests/support/mailing_list_service.py"), user,
                              password,
                              QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact))};
        if (adding == Adding::Refused)
            arguments << QStringLiteral("refuse-add");
        if (!m_process.Start(arguments, m_dir.filePath(QStringLiteral("stderr.log")), true))
            ADD_FAILURE() << "the mailing-list service did not start";
    }

    // The address of the framework's script, as a site account names it.
    QString FrameworkUrl() const
    {
        return QStringLiteral("http://127.0.0.1:%1/admin/qorx.php").arg(m_process.Port());
    }

private:
    QTemporaryDir m_dir;
    ServerProcess m_process;
};
