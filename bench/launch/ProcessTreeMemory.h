#pragma once

// The memory a program holds with every process it started (a web engine's helpers and
// renderers): the sum of their proportional set sizes, which shares each shared page among the
// processes that map it, so that libraries mapped by every process count once in total.

#include <QDir>
#include <QFile>
#include <QList>

#include <sys/types.h>

namespace Bench
{
// The process's parent, or 0 when it cannot be read (the process has ended).
inline pid_t ParentOf(pid_t pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    // The command name in parentheses may hold spaces; the state and the parent follow it.
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    return fields.size() > 1 ? pid_t(fields[1].toLongLong()) : 0;
}

inline QList<pid_t> ProcessTree(pid_t root)
{
    QList<pid_t> tree{root};
    QList<pid_t> all;
    for (const QString& name : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs))
        if (const pid_t pid = pid_t(name.toLongLong()); pid > 0)
            all.push_back(pid);
    // A child may have a higher or lower number than its parent: repeat until nothing joins.
    for (bool grown = true; grown;)
    {
        grown = false;
        for (const pid_t pid : all)
            if (!tree.contains(pid) && tree.contains(ParentOf(pid)))
            {
                tree.push_back(pid);
                grown = true;
            }
    }
    return tree;
}

inline qint64 PssKilobytes(pid_t pid)
{
    QFile rollup(QStringLiteral("/proc/%1/smaps_rollup").arg(pid));
    if (!rollup.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : rollup.readAll().split('\n'))
        if (line.startsWith("Pss:"))
            return line.mid(4).trimmed().split(' ').value(0).toLongLong();
    return 0;
}

struct TreeMemory
{
    double pssMegabytes{0};
    int processes{0};
};

inline TreeMemory MemoryOfProcessTree(pid_t root)
{
    TreeMemory memory;
    for (const pid_t pid : ProcessTree(root))
    {
        memory.pssMegabytes += double(PssKilobytes(pid)) / 1024.0;
        ++memory.processes;
    }
    return memory;
}
} // namespace Bench
