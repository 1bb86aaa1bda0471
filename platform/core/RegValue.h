#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// The two scopes of the settings store. Reads of a setting look at the user scope first; the
// machine scope belongs to the installation and may refuse writes.
enum RegRoot
{
    HKEY_CURRENT_USER,
    HKEY_LOCAL_MACHINE,
};

enum RegType : quint32
{
    REG_SZ = 1,
    REG_BINARY = 3,
    REG_DWORD = 4,
};

// One stored value: its type and its raw bytes. A text is kept as UTF-16 little-endian with
// its terminating NUL, a number as four little-endian bytes, a byte block as it is.
struct RegValue
{
    RegType type = REG_BINARY;
    QByteArray data;

    static RegValue FromText(const QString& text);
    static RegValue FromDword(quint32 number);

    // The data read as UTF-16 whatever the type: up to the first NUL, or whole but for the
    // terminator.
    QString TextToNul() const;
    QString WholeText() const;

    bool operator==(const RegValue&) const = default;
};
