#pragma once

#include <QString>

// Replies of the framework as its scripts write them, for tests that stand in for a site.
namespace QorxReplies
{
inline QString Element(const QString& name, const QString& attributes, const QString& inner = {})
{
    return QStringLiteral("<%1 %2>%3</%1>").arg(name, attributes, inner);
}

inline QString Document(const QString& element)
{
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n") + element;
}

// A status reply of the system or package, with a connected database and its tables.
inline QString Status(const QString& system, const QString& status = QStringLiteral("ok"), int version = 2)
{
    return Document(Element(system + QStringLiteral("_admin_getstatus"),
                            QStringLiteral("status=\"%1\" packageid=\"{ID-%2}\" packageversion=\"%3\"")
                                .arg(status, system)
                                .arg(version),
                            Element(QStringLiteral("connection"), QStringLiteral("status=\"ok\"")) +
                                Element(QStringLiteral("tables_exist"), QStringLiteral("status=\"ok\""))));
}

inline QString Package(const QString& name, const QString& script)
{
    return Element(QStringLiteral("package"),
                   QStringLiteral("name=\"%1\" serviceurl=\"%2\"").arg(name, script));
}

inline QString InstalledPackages(const QString& packages)
{
    return Document(Element(QStringLiteral("qorxsystem_admin_getinstalledpackages"),
                            QStringLiteral("status=\"ok\""), packages));
}
} // namespace QorxReplies
