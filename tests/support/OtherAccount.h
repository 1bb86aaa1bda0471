#pragma once

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include <pwd.h>
#include <unistd.h>

// Another account on this machine ("nobody") that plants files in a folder both can write, as a
// colleague or an intruder can in a shared folder. Only root can act as it; elsewhere
// Unavailable() says why the test is skipped.
namespace OtherAccount
{
inline QString Unavailable()
{
    if (::geteuid() != 0)
        return QStringLiteral("the tests of another account's files run as root only");
    if (!::getpwnam("nobody"))
        return QStringLiteral("there is no account \"nobody\" to plant files");
    if (QStandardPaths::findExecutable(QStringLiteral("runuser")).isEmpty())
        return QStringLiteral("runuser is missing");
    return {};
}

// Lets the other account write the folder: no sticky bit, so its links are followed as anyone's.
inline bool ShareFolder(const QString& folder)
{
    return QFile::setPermissions(folder, QFileDevice::Permissions(0x7777));
}

// Runs the shell command as the other account; whether it succeeded.
inline bool Run(const QString& command)
{
    return QProcess::execute(QStringLiteral("runuser"),
                             {QStringLiteral("-u"), QStringLiteral("nobody"), QStringLiteral("--"),
                              QStringLiteral("sh"), QStringLiteral("-c"), command}) == 0;
}

// A link at path to target, made by the other account.
inline bool PlantLink(const QString& path, const QString& target)
{
    return Run(QStringLiteral("ln -s '%1' '%2'").arg(target, path));
}

// A file of the other account that anyone may write, with those bytes.
inline bool PlantFile(const QString& path, const QByteArray& bytes)
{
    return Run(
        QStringLiteral("printf '%s' '%1' > '%2' && chmod 666 '%2'").arg(QString::fromLatin1(bytes), path));
}
} // namespace OtherAccount
