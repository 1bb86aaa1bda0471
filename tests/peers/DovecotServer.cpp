#include "peers/DovecotServer.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

#include <grp.h>
#include <pwd.h>
#include <unistd.h>

namespace
{
constexpr int StartWait = 15000;

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Dovecot refuses to run mail processes as root; as root the mailbox belongs to its own
// account, otherwise everything runs as the test's user.
struct Account
{
    QString name;
    uid_t uid;
    gid_t gid;
};

Account RunAs()
{
    const passwd* entry = getpwnam(geteuid() == 0 ? "dovecot" : "");
    if (geteuid() != 0 || !entry)
        entry = getpwuid(geteuid());
    return entry ? Account{QString::fromLocal8Bit(entry->pw_name), entry->pw_uid, entry->pw_gid}
                 : Account{QString(), geteuid(), getegid()};
}

void HandOver(const QString& folder, const Account& account)
{
    if (geteuid() != 0)
        return;
    if (chown(QFile::encodeName(folder).constData(), account.uid, account.gid) != 0)
        return;
    QDirIterator entries(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                         QDirIterator::Subdirectories);
    while (entries.hasNext())
    {
        const QByteArray path = QFile::encodeName(entries.next());
        if (chown(path.constData(), account.uid, account.gid) != 0)
            return;
    }
}
} // namespace

DovecotServer::DovecotServer(const QString& user, const QString& password, const QList<QByteArray>& messages)
{
    const int port = PeerProcess::FreePort();
    if (port == 0 || !WriteSetup(user, password, messages))
        return;
    const Account account = RunAs();
    const QString root = m_folder.path();
    const QString loginUser = geteuid() == 0 ? QStringLiteral("dovenull") : account.name;
    const QString config =
        QStringLiteral(R"(base_dir = %1/run
state_dir = %1/state
log_path = %1/dovecot.log
protocols = pop3
listen = 127.0.0.1
ssl = no
disable_plaintext_auth = no
auth_mechanisms = plain
auth_failure_delay = 0
# No growing pause after failed logins from the tests.
login_trusted_networks = 127.0.0.0/8
default_internal_user = %2
default_login_user = %3
first_valid_uid = %4
mail_location = maildir:%1/Maildir
service pop3-login {
  inet_listener pop3 {
    address = 127.0.0.1
    port = %5
  }
}
passdb {
  driver = passwd-file
  args = scheme=PLAIN username_format=%u %1/passwd
}
userdb {
  driver = static
  args = uid=%6 gid=%7 home=%1/home
}
)")
            .arg(root, account.name, loginUser, QString::number(account.uid), QString::number(port),
                 QString::number(account.uid), QString::number(account.gid));
    const QString configPath = root + QStringLiteral("/dovecot.conf");
    if (!WriteFile(configPath, config.toUtf8()))
        return;
    // The server's own accounts must reach the configuration and the mailbox.
    QFile::setPermissions(root, QFile::permissions(root) | QFile::ReadGroup | QFile::ExeGroup |
                                    QFile::ReadOther | QFile::ExeOther);
    HandOver(root + QStringLiteral("/Maildir"), account);
    HandOver(root + QStringLiteral("/home"), account);
    if (m_process.Start(QStringLiteral("/usr/sbin/dovecot"),
                        {QStringLiteral("-F"), QStringLiteral("-c"), configPath}) &&
        PeerProcess::WaitForPort(port, StartWait))
        m_port = port;
}

DovecotServer::~DovecotServer()
{
    m_process.Stop();
}

bool DovecotServer::WriteSetup(const QString& user, const QString& password,
                               const QList<QByteArray>& messages)
{
    const QDir root(m_folder.path());
    for (const char* folder : {"run", "state", "home", "Maildir/new", "Maildir/cur", "Maildir/tmp"})
    {
        if (!root.mkpath(QString::fromLatin1(folder)))
            return false;
    }
    if (!WriteFile(root.filePath(QStringLiteral("passwd")),
                   QStringLiteral("%1:%2\n").arg(user, password).toUtf8()))
        return false;
    for (int i = 0; i < messages.size(); ++i)
    {
        const QString name =
            QStringLiteral("Maildir/cur/%1.M%2P1.kelvora-test:2,").arg(1700000000 + i).arg(i);
        if (!WriteFile(root.filePath(name), messages[i]))
            return false;
    }
    return true;
}

QList<QByteArray> DovecotServer::MailboxMessages() const
{
    QList<QByteArray> contents;
    for (const char* folder : {"Maildir/new", "Maildir/cur"})
    {
        const QDir dir(m_folder.filePath(QString::fromLatin1(folder)));
        for (const QString& name : dir.entryList(QDir::Files, QDir::Name))
            contents.append(ReadFile(dir.filePath(name)));
    }
    return contents;
}

QByteArray DovecotServer::Log() const
{
    return ReadFile(m_folder.filePath(QStringLiteral("dovecot.log")));
}
