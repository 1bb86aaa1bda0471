#include "ndb/NdbSendJournal.h"

#include "base/FileHelpers.h"
#include "ndb/NdbLog.h"

#include <QDateTime>
#include <QFile>
#include <QUrl>

#include <fcntl.h>
#include <unistd.h>

namespace ndb
{
namespace
{
// A journal is a few lines per recipient; anything far larger is not one of ours.
constexpr qint64 MaxJournalBytes = qint64(64) * 1024 * 1024;
} // namespace

CNdbSendJournal::CNdbSendJournal(const QString& newsletterPath)
    : m_path(newsletterPath.isEmpty() ? QString() : PathFor(newsletterPath))
{
}

bool CNdbSendJournal::Append(int status, const QString& address)
{
    if (m_path.isEmpty())
        return false;
    const QByteArray line = QByteArray::number(status) + '\t' + QUrl::toPercentEncoding(address) + '\t' +
                            QByteArray::number(QDateTime::currentMSecsSinceEpoch()) + '\n';
    const std::lock_guard lock(m_mutex);
    // One write of a whole line in append mode: a crash leaves at most the last line cut short.
    // A journal that is a link or another account's file is not written to.
    const int handle = OpenOwnFile(m_path, O_WRONLY | O_APPEND, 0600);
    if (handle < 0)
        return false;
    const bool written = write(handle, line.constData(), size_t(line.size())) == line.size();
    close(handle);
    return written;
}

QString CNdbSendJournal::PathFor(const QString& newsletterPath)
{
    return newsletterPath + QStringLiteral(".journal");
}

int CNdbSendJournal::ApplyTo(CNdbLog& log, const QString& newsletterPath)
{
    QFile file(PathFor(newsletterPath));
    if (newsletterPath.isEmpty() || !file.open(QIODevice::ReadOnly) || file.size() > MaxJournalBytes)
        return 0;
    // Lines without a time, from before the journal kept one, took place before its last change.
    const QDateTime written = file.fileTime(QFileDevice::FileModificationTime);
    QList<QByteArray> lines = file.readAll().split('\n');
    // The piece after the last line end is empty, or a line the crash cut short.
    lines.removeLast();
    int applied = 0;
    for (const QByteArray& line : lines)
    {
        const QList<QByteArray> fields = line.split('\t');
        bool number = false;
        const int status = fields.front().toInt(&number);
        const QString address = fields.size() > 1 ? QUrl::fromPercentEncoding(fields.at(1)) : QString();
        if (!number || address.isEmpty())
            continue;
        bool timed = false;
        const qint64 time = fields.size() > 2 ? fields.at(2).toLongLong(&timed) : 0;
        log.SetStatus(status, address);
        log.CountAttempt(address, timed ? QDateTime::fromMSecsSinceEpoch(time) : written);
        ++applied;
    }
    return applied;
}

void CNdbSendJournal::Remove(const QString& newsletterPath)
{
    if (!newsletterPath.isEmpty())
        QFile::remove(PathFor(newsletterPath));
}
} // namespace ndb
