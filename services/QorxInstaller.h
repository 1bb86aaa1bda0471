#pragma once

#include "services/PackageFileEntry.h"
#include "services/QorxInstallSettings.h"
#include "services/QorxResultCode.h"

#include <QString>

#include <functional>
#include <map>

class CQorxQuery;
class CX2Validator;

// The client of the server framework on the user's web site: each query is one GET whose XML
// reply is parsed into a document, each operation answers a QorxResultCode. It also reads the
// framework's local package files and fills their placeholders. It keeps nothing between calls:
// any instance serves.
class CQorxInstaller
{
public:
    using PlaceholderMap = std::map<QString, QString>;
    using IdNameMap = std::map<QString, QString>;

    // Replies are bounded: a longer one fails the request.
    static constexpr qint64 MaxReplySize = qint64(16) * 1024 * 1024;
    static constexpr qint64 MaxLocalFileSize = qint64(32) * 1024 * 1024;

    virtual ~CQorxInstaller() = default;

    // UTF-8 percent-encoding that keeps letters, digits and "-._~".
    static QString UrlEncode(const QString& text);

    // GETs an http or https address and parses the reply into the (empty) document.
    QorxResultCode FetchXml(CX2Validator& document, const QString& address);
    // codePage: 65001 after a UTF-8 byte-order mark (then hadBom) or for text that is UTF-8 by
    // TextEncoding::IsUtf8Text, else 0 for the ANSI code page.
    QorxResultCode ReadTextFile(const QString& path, int& codePage, QString& text, bool* hadBom = nullptr);
    QorxResultCode LoadXmlFile(CX2Validator& document, const QString& path);
    // Replaces each "[KEY]" whose upper-cased key the map holds by its value.
    QString ReplacePlaceholders(const PlaceholderMap& placeholders, QString text);

    // An empty system name stands for the framework itself ("qorxsystem").
    QorxResultCode GetStatus(const QString& systemName, const QString& adminUrl, const QString& user,
                             const QString& password, QString& packageId, int& packageVersion);
    QorxResultCode GetServiceUrl(const QString& adminUrl, const QString& packageName, const QString& user,
                                 const QString& password, QString& serviceUrl);
    QorxResultCode InitSystem(const QString& adminUrl, const QString& systemName, const QString& user,
                              const QString& password);

    // Statistics service "ws_stats_newsletter".
    QorxResultCode AddChannelGroup(const QString& adminUrl, const QString& user, const QString& password,
                                   const QString& groupId, const QString& groupName);
    QorxResultCode AddChannel(const QString& adminUrl, const QString& user, const QString& password,
                              const QString& groupId, const QString& channelId, const QString& channelName);
    QorxResultCode AddTracker(const QString& adminUrl, const QString& user, const QString& password,
                              const QString& channelId, const QString& trackerId, const QString& trackerName,
                              const QString& trackerUrl);
    // Fills tracker id to tracker address; the map is not cleared first.
    QorxResultCode GetAllTrackers(const QString& adminUrl, const QString& user, const QString& password,
                                  const QString& channelId, IdNameMap& trackers);

    // Mailing-list service "ws_mailinglist".
    QorxResultCode AddMailingList(const QString& adminUrl, const QString& user, const QString& password,
                                  const QString& listId, const QString& listName);
    // Fills list id to list name; the map is not cleared first.
    QorxResultCode GetAllMailingLists(const QString& adminUrl, const QString& user, const QString& password,
                                      IdNameMap& lists);

    // Uploads one package described by its manifest to the site and makes sure it answers.
    QorxResultCode InstallPackage(const QString& manifestPath, const QorxInstallSettings& settings);

private:
    struct ServiceCommand
    {
        QString package;
        QString type;
        QString command;
        std::function<void(CQorxQuery&)> addParameters;
    };

    // Finds the service, sends the command and checks its reply element.
    QorxResultCode RunServiceCommand(const QString& adminUrl, const QString& user, const QString& password,
                                     const ServiceCommand& command, CX2Validator& reply);
    QorxResultCode UploadPackageFile(const QString& manifestFolder, const PackageFileEntry& entry,
                                     const PlaceholderMap& placeholders, const QorxInstallSettings& settings);
};
