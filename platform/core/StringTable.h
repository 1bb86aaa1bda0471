#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

// One string table of the resources: UTF-8 lines "<id><TAB><text>", '#' starting a comment,
// "\n", "\t" and "\\" as escapes in the text. Ids are 16-bit like every resource id.
class CStringTable
{
public:
    static constexpr qsizetype MaxTableSize = 8 * 1024 * 1024;

    // Adds the strings of one table text. Bad lines and repeated ids are skipped (the first
    // text of an id stays) and described in problems; false when anything was skipped or the
    // text is over the size limit.
    bool Parse(const QByteArray& text, QStringList* problems = nullptr);

    bool Contains(quint32 id) const { return m_strings.contains(id); }
    QString Text(quint32 id) const { return m_strings.value(id); }
    qsizetype Size() const { return m_strings.size(); }

private:
    QHash<quint32, QString> m_strings;
};
