#pragma once

#include "platform/core/RegValue.h"

#include <QList>
#include <QString>

// The contents of one settings scope: keys (backslash-separated paths) holding named typed
// values, both looked up without regard to case. Kept on disk as UTF-8 text:
//
//   [Software\Maker\Program]
//   Name=sz:text
//   Count=dword:12
//   Blob=hex:00ff10
//
// where '%' escapes bytes that would break a line ("%0A", "%3D" for '=').
class CSettingsFile
{
public:
    // Bigger files are refused, so that a damaged file is neither read nor overwritten.
    static constexpr qsizetype MaxFileSize = 16 * 1024 * 1024;

    // Replaces the contents with the parsed text. Lines that cannot be read are skipped;
    // false only for a text over the size limit (the contents are then empty).
    bool Parse(const QByteArray& text);
    QByteArray Serialize() const;

    bool HasKey(const QString& subkey) const;
    const RegValue* Find(const QString& subkey, const QString& name) const;
    // Creates the key when it is missing.
    void Set(const QString& subkey, const QString& name, const RegValue& value);
    // False when the key or the value is missing.
    bool Remove(const QString& subkey, const QString& name);

    static QString NormalizeKey(const QString& subkey);

private:
    struct Entry
    {
        QString name;
        RegValue value;
    };
    struct Key
    {
        QString path;
        QList<Entry> values;
    };

    Key* FindKey(const QString& normalizedPath);
    const Key* FindKey(const QString& normalizedPath) const;

    QList<Key> m_keys;
};
