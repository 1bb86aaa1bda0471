#include "services/QorxInstaller.h"

#include "base/AnsiCodePage.h"
#include "base/INetFile.h"
#include "base/TextEncoding.h"
#include "services/FileSync.h"
#include "services/PackageManifest.h"
#include "services/QorxQuery.h"
#include "services/QorxReply.h"
#include "services/QorxText.h"
#include "services/WebAddress.h"
#include "x2/X2TransformXmlFennick.h"
#include "x2/X2Validator.h"

#include <QFile>
#include <QList>

namespace
{
const QString StatisticsPackage = QStringLiteral("ws_stats_newsletter");
const QString MailingListPackage = QStringLiteral("ws_mailinglist");

// The values of the settings that fill every package, whatever the manifest's defaults say.
void AddSettingsValues(CQorxInstaller::PlaceholderMap& placeholders, const QorxInstallSettings& settings)
{
    placeholders[QStringLiteral("QORXSYSTEM_UI_DBSERVER")] = settings.databaseServerUrl;
    placeholders[QStringLiteral("QORXSYSTEM_UI_DBDATABASE")] = settings.databaseName;
    placeholders[QStringLiteral("QORXSYSTEM_UI_DBUSERNAME")] = settings.databaseUserName;
    placeholders[QStringLiteral("QORXSYSTEM_UI_DBPASSWORD")] = settings.databasePassword;
    placeholders[QStringLiteral("QORXSYSTEM_UI_SMTPSERVER")] = settings.smtpServer;
    placeholders[QStringLiteral("QORXSYSTEM_UI_SMTPUSERNAME")] = settings.smtpUserName;
    placeholders[QStringLiteral("QORXSYSTEM_UI_MAILUSERNAME")] = settings.smtpUserName;
    placeholders[QStringLiteral("QORXSYSTEM_UI_SMTPPASSWORD")] = settings.smtpPassword;
    placeholders[QStringLiteral("QORXSYSTEM_UI_MAILPASSWORD")] = settings.smtpPassword;
    placeholders[QStringLiteral("QORXSYSTEM_UI_ADMINUSERNAME")] = settings.adminUserName;
    placeholders[QStringLiteral("QORXSYSTEM_UI_ADMINPASSWORD")] = settings.adminPassword;
    placeholders[QStringLiteral("QORXSYSTEM_UI_ADMINEMAIL")] = settings.adminEmail;
    placeholders[QStringLiteral("QORXSYSTEM_UI_WEBSITEURL")] = settings.websiteUrl;
}

} // namespace

QString CQorxInstaller::UrlEncode(const QString& text)
{
    QString encoded;
    for (const char c : text.toUtf8())
    {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                           c == '-' || c == '.' || c == '_' || c == '~';
        if (plain)
            encoded += QLatin1Char(c);
        else
            encoded +=
                QStringLiteral("%%1").arg(static_cast<unsigned char>(c), 2, 16, QLatin1Char('0')).toUpper();
    }
    return encoded;
}

QorxResultCode CQorxInstaller::FetchXml(CX2Validator& document, const QString& address)
{
    try
    {
        CWebAddress target;
        if (!CWebAddress::Crack(address, target))
            return QorxResult::AddressNotParsable;
        CINetFile request;
        request.SetMaxBodySize(MaxReplySize);
        if (!request.SendRequest(target.GetHost(), target.GetPathWithQuery(), QString(), target.GetPort(),
                                 target.IsSecure()))
            return QorxResult::RequestFailed;
        const int status = request.GetStatusCode();
        if (status < 200 || status > 299)
            return QorxResult::RequestFailed;
        request.ReadResponse();
        const QString text = request.GetResponseText();
        request.Close();
        if (!document.Parse(text, CX2TransformXmlFennick()))
            return QorxResult::ReplyNotUsable;
        return QorxResult::Success;
    }
    catch (...)
    {
        return QorxResult::RequestFailed;
    }
}

QorxResultCode CQorxInstaller::ReadTextFile(const QString& path, int& codePage, QString& text, bool* hadBom)
{
    if (hadBom)
        *hadBom = false;
    try
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return QorxResult::FileNotOpened;
        if (file.size() > MaxLocalFileSize)
            return QorxResult::FileReadFailed;
        QByteArray bytes = file.readAll();
        if (file.error() != QFileDevice::NoError)
            return QorxResult::FileReadFailed;
        file.close();

        int page = 0;
        // A file of the mark alone is read as ANSI text, mark included.
        if (bytes.size() >= 4 && bytes.startsWith("\xEF\xBB\xBF"))
        {
            page = 65001;
            bytes.remove(0, 3);
            if (hadBom)
                *hadBom = true;
        }
        else if (!bytes.startsWith("\xEF\xBB\xBF") && TextEncoding::IsUtf8Text(bytes))
        {
            page = 65001;
        }
        const QString converted = page == 65001 ? QString::fromUtf8(bytes) : AnsiCodePage::ToText(bytes);
        if (converted.isEmpty())
            return QorxResult::ReplyNotUsable;
        text = converted;
        codePage = page;
        return QorxResult::Success;
    }
    catch (...)
    {
        return QorxResult::FileReadFailed;
    }
}

QorxResultCode CQorxInstaller::LoadXmlFile(CX2Validator& document, const QString& path)
{
    int codePage = 0;
    QString text;
    const QorxResultCode read = ReadTextFile(path, codePage, text);
    if (read != QorxResult::Success)
        return read;
    try
    {
        return document.Parse(text, CX2TransformXmlFennick()) ? QorxResult::Success
                                                              : QorxResult::ReplyNotUsable;
    }
    catch (...)
    {
        return QorxResult::FileReadFailed;
    }
}

QString CQorxInstaller::ReplacePlaceholders(const PlaceholderMap& placeholders, QString text)
{
    QString result;
    qsizetype position = 0;
    for (;;)
    {
        const qsizetype open = text.indexOf(QLatin1Char('['), position);
        if (open < 0)
            break;
        const qsizetype close = text.indexOf(QLatin1Char(']'), open);
        if (close < 0)
            break;
        result += QStringView(text).mid(position, open - position);
        const auto found = placeholders.find(QorxText::UpperKey(text.mid(open + 1, close - open - 1)));
        if (found != placeholders.end())
        {
            result += found->second;
            position = close + 1;
        }
        else
        {
            // Only the bracket is taken: a known key inside "[unknown [KEY]" is still filled.
            result += QLatin1Char('[');
            position = open + 1;
        }
    }
    result += QStringView(text).mid(position);
    return result;
}

QorxResultCode CQorxInstaller::GetStatus(const QString& systemName, const QString& adminUrl,
                                         const QString& user, const QString& password, QString& packageId,
                                         int& packageVersion)
{
    const CQorxQuery query(adminUrl, user, password, QStringLiteral("admin"), QStringLiteral("getstatus"));
    CX2Validator reply;
    if (const QorxResultCode fetched = FetchXml(reply, query.GetAddress()))
        return fetched;
    return QorxReply::ReadStatus(reply, systemName, packageId, packageVersion);
}

QorxResultCode CQorxInstaller::GetServiceUrl(const QString& adminUrl, const QString& packageName,
                                             const QString& user, const QString& password,
                                             QString& serviceUrl)
{
    QString packageId;
    int packageVersion = 0;
    if (const QorxResultCode framework =
            GetStatus(QString(), adminUrl, user, password, packageId, packageVersion))
        return framework;

    const CQorxQuery query(adminUrl, user, password, QStringLiteral("admin"),
                           QStringLiteral("getinstalledpackages"));
    CX2Validator reply;
    if (const QorxResultCode fetched = FetchXml(reply, query.GetAddress()))
        return fetched;
    QString script;
    if (const QorxResultCode listed = QorxReply::ReadInstalledPackages(reply, packageName, script))
        return listed;

    const QString address = adminUrl.left(adminUrl.lastIndexOf(QLatin1Char('/')) + 1) + script;
    // The service must answer for itself, with its database and tables in place.
    if (const QorxResultCode service =
            GetStatus(packageName, address, user, password, packageId, packageVersion))
        return service;
    serviceUrl = address;
    return QorxResult::Success;
}

QorxResultCode CQorxInstaller::InitSystem(const QString& adminUrl, const QString& systemName,
                                          const QString& user, const QString& password)
{
    const CQorxQuery query(adminUrl, user, password, QStringLiteral("admin"), QStringLiteral("init"));
    CX2Validator reply;
    if (const QorxResultCode fetched = FetchXml(reply, query.GetAddress()))
        return fetched;
    return QorxReply::ReadInit(reply, systemName);
}

QorxResultCode CQorxInstaller::AddChannelGroup(const QString& adminUrl, const QString& user,
                                               const QString& password, const QString& groupId,
                                               const QString& groupName)
{
    CX2Validator reply;
    return RunServiceCommand(adminUrl, user, password,
                             {StatisticsPackage, QStringLiteral("stats"), QStringLiteral("channelgroupadd"),
                              [&](CQorxQuery& query)
                              {
                                  query.AddNumber(QStringLiteral("statid"), 1)
                                      .Add(QStringLiteral("channelgroupid"), groupId)
                                      .Add(QStringLiteral("channelgroupname"), groupName);
                              }},
                             reply);
}

QorxResultCode CQorxInstaller::AddChannel(const QString& adminUrl, const QString& user,
                                          const QString& password, const QString& groupId,
                                          const QString& channelId, const QString& channelName)
{
    CX2Validator reply;
    return RunServiceCommand(adminUrl, user, password,
                             {StatisticsPackage, QStringLiteral("stats"), QStringLiteral("channeladd"),
                              [&](CQorxQuery& query)
                              {
                                  query.Add(QStringLiteral("channelgroupid"), groupId)
                                      .Add(QStringLiteral("channelid"), channelId)
                                      .Add(QStringLiteral("channelname"), channelName);
                              }},
                             reply);
}

QorxResultCode CQorxInstaller::AddTracker(const QString& adminUrl, const QString& user,
                                          const QString& password, const QString& channelId,
                                          const QString& trackerId, const QString& trackerName,
                                          const QString& trackerUrl)
{
    CX2Validator reply;
    return RunServiceCommand(adminUrl, user, password,
                             {StatisticsPackage, QStringLiteral("stats"), QStringLiteral("trackeradd"),
                              [&](CQorxQuery& query)
                              {
                                  query.Add(QStringLiteral("channelid"), channelId)
                                      .Add(QStringLiteral("trackerid"), trackerId)
                                      .Add(QStringLiteral("trackername"), trackerName)
                                      .Add(QStringLiteral("trackerurl"), trackerUrl);
                              }},
                             reply);
}

QorxResultCode CQorxInstaller::GetAllTrackers(const QString& adminUrl, const QString& user,
                                              const QString& password, const QString& channelId,
                                              IdNameMap& trackers)
{
    CX2Validator reply;
    const QorxResultCode result = RunServiceCommand(
        adminUrl, user, password,
        {StatisticsPackage, QStringLiteral("stats"), QStringLiteral("channelgetalltrackers"),
         [&](CQorxQuery& query) { query.Add(QStringLiteral("channelid"), channelId); }},
        reply);
    if (result == QorxResult::Success)
        QorxReply::CollectItems(reply, QStringLiteral("tracker"), QStringLiteral("trackerid"),
                                QStringLiteral("trackerurl"), trackers);
    return result;
}

QorxResultCode CQorxInstaller::AddMailingList(const QString& adminUrl, const QString& user,
                                              const QString& password, const QString& listId,
                                              const QString& listName)
{
    CX2Validator reply;
    return RunServiceCommand(adminUrl, user, password,
                             {MailingListPackage, QStringLiteral("list"), QStringLiteral("mailinglistadd"),
                              [&](CQorxQuery& query) {
                                  query.Add(QStringLiteral("channelgroupid"), listId)
                                      .Add(QStringLiteral("channelgroupname"), listName);
                              }},
                             reply);
}

QorxResultCode CQorxInstaller::GetAllMailingLists(const QString& adminUrl, const QString& user,
                                                  const QString& password, IdNameMap& lists)
{
    CX2Validator reply;
    const QorxResultCode result = RunServiceCommand(
        adminUrl, user, password,
        {MailingListPackage, QStringLiteral("list"), QStringLiteral("mailinglistgetall"), [](CQorxQuery&) {}},
        reply);
    if (result == QorxResult::Success)
        QorxReply::CollectItems(reply, QStringLiteral("channelgroup"), QStringLiteral("channelgroupid"),
                                QStringLiteral("channelgroupname"), lists);
    return result;
}

QorxResultCode CQorxInstaller::RunServiceCommand(const QString& adminUrl, const QString& user,
                                                 const QString& password, const ServiceCommand& command,
                                                 CX2Validator& reply)
{
    QString serviceUrl;
    if (const QorxResultCode found = GetServiceUrl(adminUrl, command.package, user, password, serviceUrl))
        return found;
    CQorxQuery query(serviceUrl, user, password, command.type, command.command);
    command.addParameters(query);
    if (const QorxResultCode fetched = FetchXml(reply, query.GetAddress()))
        return fetched;
    return QorxReply::ReadServiceReply(reply, command.package + QLatin1Char('_') + command.type +
                                                  QLatin1Char('_') + command.command);
}

QorxResultCode CQorxInstaller::InstallPackage(const QString& manifestPath,
                                              const QorxInstallSettings& settings)
{
    CX2Validator document;
    if (LoadXmlFile(document, manifestPath) != QorxResult::Success)
        return QorxResult::ManifestNotLoadable;
    const qsizetype slash = manifestPath.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        return QorxResult::ManifestWithoutFolder;
    CPackageManifest manifest;
    if (!manifest.Read(document))
        return QorxResult::ManifestWithoutPackage;
    if (!manifest.HasOnlyRelativePaths())
        return QorxResult::ManifestNotLoadable;

    QString packageId;
    int installedVersion = 0;
    if (GetStatus(manifest.GetFamily(), settings.serviceUrl, settings.adminUserName, settings.adminPassword,
                  packageId, installedVersion) == QorxResult::Success &&
        installedVersion > manifest.GetVersion())
        return QorxResult::NewerVersionInstalled;

    PlaceholderMap placeholders = manifest.GetDefaults();
    AddSettingsValues(placeholders, settings);
    for (const auto& [key, value] : placeholders)
    {
        if (!QorxText::IsSingleLine(value))
            return QorxResult::SettingNotSendable;
    }

    const QString manifestFolder = manifestPath.left(slash + 1);
    for (const PackageFileEntry& entry : manifest.GetFiles())
    {
        if (const QorxResultCode uploaded = UploadPackageFile(manifestFolder, entry, placeholders, settings))
            return uploaded;
    }

    if (GetStatus(manifest.GetFamily(), settings.serviceUrl, settings.adminUserName, settings.adminPassword,
                  packageId, installedVersion) == QorxResult::Success)
        return QorxResult::Success;
    if (const QorxResultCode initialised = InitSystem(settings.serviceUrl, manifest.GetFamily(),
                                                      settings.adminUserName, settings.adminPassword))
        return initialised;
    return GetStatus(manifest.GetFamily(), settings.serviceUrl, settings.adminUserName,
                     settings.adminPassword, packageId, installedVersion);
}

QorxResultCode CQorxInstaller::UploadPackageFile(const QString& manifestFolder, const PackageFileEntry& entry,
                                                 const PlaceholderMap& placeholders,
                                                 const QorxInstallSettings& settings)
{
    QString remotePath = settings.ftpRemoteDirectory + QLatin1String("/admin/") + entry.destination;
    remotePath.replace(QLatin1String("//"), QLatin1String("/"));
    QString localPath = manifestFolder + entry.source;
    localPath.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const qsizetype cut = remotePath.lastIndexOf(QLatin1Char('/'));
    const QString remoteFolder = remotePath.left(cut);
    const QString remoteName = remotePath.mid(cut + 1);

    if (!(entry.flags & PackageFileEntry::FillPlaceholders))
    {
        return CFileSync::UploadFile(settings.ftpServer, settings.ftpPort, settings.ftpUserName,
                                     settings.ftpPassword, localPath, remoteFolder, remoteName)
                   ? QorxResult::Success
                   : QorxResult::UploadFailed;
    }

    int codePage = 0;
    QString text;
    bool hadBom = false;
    if (const QorxResultCode read = ReadTextFile(localPath, codePage, text, &hadBom))
        return read;
    QByteArray bytes = ReplacePlaceholders(placeholders, text).toUtf8();
    if (bytes.isEmpty())
        return QorxResult::FilledFileEmpty;
    if (hadBom)
        bytes.prepend("\xEF\xBB\xBF");
    // The result is not looked at: the upload below tells whether the folder is there.
    CFileSync::CreateRemoteFolders(settings.ftpServer, settings.ftpPort, settings.ftpUserName,
                                   settings.ftpPassword, remoteFolder);
    return CFileSync::UploadBuffer(settings.ftpServer, settings.ftpPort, settings.ftpUserName,
                                   settings.ftpPassword, remoteFolder, remoteName, bytes)
               ? QorxResult::Success
               : QorxResult::UploadFailed;
}
