#include "platform/core/SettingsFile.h"

#include <QtEndian>

#include <cctype>
#include <cstring>

namespace
{
constexpr char Hex[] = "0123456789ABCDEF";

// Percent-escapes control bytes, '%' and the characters that carry meaning in a line of the
// given kind; everything else, UTF-8 included, stays readable.
QByteArray Escape(const QString& text, const char* special)
{
    const QByteArray utf8 = text.toUtf8();
    QByteArray out;
    out.reserve(utf8.size());
    for (char c : utf8)
    {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || c == '%' || std::strchr(special, c))
        {
            out += '%';
            out += Hex[byte >> 4];
            out += Hex[byte & 0x0F];
        }
        else
        {
            out += c;
        }
    }
    return out;
}

QString Unescape(QByteArrayView text)
{
    return QString::fromUtf8(QByteArray::fromPercentEncoding(text.toByteArray()));
}

bool ParseDword(QByteArrayView text, quint32& number)
{
    if (text.isEmpty() || text.size() > 10)
        return false;
    quint64 value = 0;
    for (char c : text)
    {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + quint64(c - '0');
    }
    if (value > 0xFFFFFFFFu)
        return false;
    number = quint32(value);
    return true;
}

bool ParseHex(QByteArrayView text, QByteArray& bytes)
{
    if (text.size() % 2 != 0)
        return false;
    for (char c : text)
    {
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return false;
    }
    bytes = QByteArray::fromHex(text.toByteArray());
    return true;
}

bool ParseValue(QByteArrayView text, RegValue& value)
{
    if (text.startsWith("sz:"))
    {
        value = RegValue::FromText(Unescape(text.sliced(3)));
        return true;
    }
    if (text.startsWith("dword:"))
    {
        quint32 number = 0;
        if (!ParseDword(text.sliced(6), number))
            return false;
        value = RegValue::FromDword(number);
        return true;
    }
    if (text.startsWith("hex:"))
    {
        value.type = REG_BINARY;
        return ParseHex(text.sliced(4), value.data);
    }
    return false;
}

QByteArray FormatValue(const RegValue& value)
{
    if (value.type == REG_SZ && value.data.size() % 2 == 0)
        return "sz:" + Escape(value.WholeText(), "");
    if (value.type == REG_DWORD && value.data.size() == 4)
        return "dword:" + QByteArray::number(qFromLittleEndian<quint32>(value.data.constData()));
    // Anything that does not have the shape of its type is kept as bytes, never lost.
    return "hex:" + value.data.toHex();
}
} // namespace

QString CSettingsFile::NormalizeKey(const QString& subkey)
{
    QString path = subkey;
    path.replace(u'/', u'\\');
    const QStringList parts = path.split(u'\\', Qt::SkipEmptyParts);
    return parts.join(u'\\');
}

bool CSettingsFile::Parse(const QByteArray& text)
{
    m_keys.clear();
    if (text.size() > MaxFileSize)
        return false;
    Key* current = nullptr;
    for (const QByteArray& lineBytes : text.split('\n'))
    {
        QByteArrayView line(lineBytes);
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        if (line.startsWith('['))
        {
            current = nullptr;
            if (!line.endsWith(']'))
                continue;
            const QString path = NormalizeKey(Unescape(line.sliced(1, line.size() - 2)));
            current = FindKey(path);
            if (!current)
            {
                m_keys.append(Key{path, {}});
                current = &m_keys.last();
            }
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        RegValue value;
        if (!current || equals < 0 || !ParseValue(line.sliced(equals + 1), value))
            continue;
        const QString name = Unescape(line.first(equals));
        // A name that appears twice keeps its first value, as a lookup would have found it.
        if (!Find(current->path, name))
            current->values.append(Entry{name, value});
    }
    return true;
}

QByteArray CSettingsFile::Serialize() const
{
    QByteArray out = "# Kelvora settings\n";
    for (const Key& key : m_keys)
    {
        out += '[' + Escape(key.path, "[]") + "]\n";
        for (const Entry& entry : key.values)
            out += Escape(entry.name, "=[#") + '=' + FormatValue(entry.value) + '\n';
    }
    return out;
}

CSettingsFile::Key* CSettingsFile::FindKey(const QString& normalizedPath)
{
    for (Key& key : m_keys)
    {
        if (key.path.compare(normalizedPath, Qt::CaseInsensitive) == 0)
            return &key;
    }
    return nullptr;
}

const CSettingsFile::Key* CSettingsFile::FindKey(const QString& normalizedPath) const
{
    return const_cast<CSettingsFile*>(this)->FindKey(normalizedPath);
}

bool CSettingsFile::HasKey(const QString& subkey) const
{
    return FindKey(NormalizeKey(subkey)) != nullptr;
}

const RegValue* CSettingsFile::Find(const QString& subkey, const QString& name) const
{
    const Key* key = FindKey(NormalizeKey(subkey));
    if (!key)
        return nullptr;
    for (const Entry& entry : key->values)
    {
        if (entry.name.compare(name, Qt::CaseInsensitive) == 0)
            return &entry.value;
    }
    return nullptr;
}

void CSettingsFile::Set(const QString& subkey, const QString& name, const RegValue& value)
{
    const QString path = NormalizeKey(subkey);
    Key* key = FindKey(path);
    if (!key)
    {
        m_keys.append(Key{path, {}});
        key = &m_keys.last();
    }
    for (Entry& entry : key->values)
    {
        if (entry.name.compare(name, Qt::CaseInsensitive) == 0)
        {
            entry.value = value;
            return;
        }
    }
    key->values.append(Entry{name, value});
}

bool CSettingsFile::Remove(const QString& subkey, const QString& name)
{
    Key* key = FindKey(NormalizeKey(subkey));
    if (!key)
        return false;
    for (qsizetype i = 0; i < key->values.size(); ++i)
    {
        if (key->values[i].name.compare(name, Qt::CaseInsensitive) == 0)
        {
            key->values.removeAt(i);
            return true;
        }
    }
    return false;
}
