#include "base/ArchiveValues.h"

#include "base/AnsiCodePage.h"
#include "base/PSFactoryBase.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace
{
// Texts of at most this many bytes (read) or characters (written) are converted on the stack.
constexpr int ShortText = 256;

qint32 ReadInt32(CPSArchive& archive)
{
    qint32 value = 0;
    ArchiveReadInt(archive, value);
    return value;
}

quint8 ReadByte(CPSArchive& archive)
{
    quint8 value = 0;
    if (!archive.ReadByte(value))
        archive.Fail("the data ends inside a value");
    return value;
}

// Reads count bytes. When the stream cannot tell how much is left, the bytes are taken in
// pieces so that a false count fails at the end of the data, not in one huge allocation.
QByteArray ReadByteBlock(CPSArchive& archive, int count)
{
    QByteArray bytes;
    if (archive.BytesLeft() >= 0)
    {
        bytes.resize(count);
        if (!archive.ReadBytes(bytes.data(), count))
            archive.Fail("the data ends inside a text");
        return bytes;
    }
    constexpr int Piece = 64 * 1024;
    char piece[Piece];
    for (int done = 0; done < count;)
    {
        const int size = std::min(Piece, count - done);
        if (!archive.ReadBytes(piece, size))
            archive.Fail("the data ends inside a text");
        bytes.append(piece, size);
        done += size;
    }
    return bytes;
}

// The UTF-8 of the text at out, as QString::toUtf8 writes it: a lone surrogate becomes '?'. Out
// has room for three bytes per character. Returns the end of what was written.
char* EncodeUtf8(QStringView text, char* out)
{
    const auto put = [&out](char32_t bits) { *out++ = static_cast<char>(bits); };
    for (qsizetype i = 0; i < text.size(); ++i)
    {
        const char32_t c = text[i].unicode();
        if (c < 0x80)
            put(c);
        else if (c < 0x800)
        {
            put(0xC0 | c >> 6);
            put(0x80 | (c & 0x3F));
        }
        else if (!QChar::isSurrogate(c))
        {
            put(0xE0 | c >> 12);
            put(0x80 | (c >> 6 & 0x3F));
            put(0x80 | (c & 0x3F));
        }
        else if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
        {
            const char32_t point = QChar::surrogateToUcs4(char16_t(c), text[++i].unicode());
            put(0xF0 | point >> 18);
            put(0x80 | (point >> 12 & 0x3F));
            put(0x80 | (point >> 6 & 0x3F));
            put(0x80 | (point & 0x3F));
        }
        else
            put(u'?');
    }
    return out;
}

QByteArray EncodeText(const CPSArchive& archive, const QString& text)
{
    return archive.IsUtf8() ? text.toUtf8() : AnsiCodePage::FromText(text);
}

struct DepthGuard
{
    explicit DepthGuard(CPSArchive& archive) : depth(archive.ReadDepth())
    {
        if (++depth > CPSArchive::MaxObjectDepth)
        {
            --depth;
            archive.Fail("objects nest too deeply");
        }
    }
    ~DepthGuard() { --depth; }
    int& depth;
};
} // namespace

CPSArchive& ArchiveWriteChar(CPSArchive& archive, char value)
{
    archive.WriteByte(static_cast<quint8>(value));
    return archive;
}

CPSArchive& ArchiveReadChar(CPSArchive& archive, char& value)
{
    value = static_cast<char>(ReadByte(archive));
    return archive;
}

CPSArchive& ArchiveWriteBool(CPSArchive& archive, bool value)
{
    archive.WriteByte(value ? 1 : 0);
    return archive;
}

CPSArchive& ArchiveReadBool(CPSArchive& archive, bool& value)
{
    value = ReadByte(archive) != 0;
    return archive;
}

CPSArchive& ArchiveWriteInt(CPSArchive& archive, qint32 value)
{
    archive.WriteInt32(value);
    return archive;
}

CPSArchive& ArchiveWriteFloat(CPSArchive& archive, float value)
{
    return ArchiveWriteInt(archive, std::bit_cast<qint32>(value));
}

CPSArchive& ArchiveReadFloat(CPSArchive& archive, float& value)
{
    value = std::bit_cast<float>(ReadInt32(archive));
    return archive;
}

CPSArchive& ArchiveWritePair(CPSArchive& archive, const QPoint& point)
{
    ArchiveWriteInt(archive, point.x());
    return ArchiveWriteInt(archive, point.y());
}

CPSArchive& ArchiveReadPair(CPSArchive& archive, QPoint& point)
{
    const qint32 x = ReadInt32(archive);
    point = QPoint(x, ReadInt32(archive));
    return archive;
}

CPSArchive& ArchiveWritePair(CPSArchive& archive, const QSize& size)
{
    return ArchiveWritePair(archive, QPoint(size.width(), size.height()));
}

CPSArchive& ArchiveReadPair(CPSArchive& archive, QSize& size)
{
    QPoint pair;
    ArchiveReadPair(archive, pair);
    size = QSize(pair.x(), pair.y());
    return archive;
}

CPSArchive& ArchiveWriteRect(CPSArchive& archive, const QRect& rect)
{
    // Right and bottom are exclusive on disk and inclusive in QRect. The step of one wraps
    // around the int32 range both ways, so every four edges read are written back unchanged.
    ArchiveWriteInt(archive, rect.left());
    ArchiveWriteInt(archive, rect.top());
    ArchiveWriteInt(archive, static_cast<qint32>(qint64(rect.right()) + 1));
    return ArchiveWriteInt(archive, static_cast<qint32>(qint64(rect.bottom()) + 1));
}

CPSArchive& ArchiveReadRect(CPSArchive& archive, QRect& rect)
{
    qint32 edges[4];
    for (qint32& edge : edges)
        edge = ReadInt32(archive);
    rect.setCoords(edges[0], edges[1], static_cast<qint32>(qint64(edges[2]) - 1),
                   static_cast<qint32>(qint64(edges[3]) - 1));
    return archive;
}

CPSArchive& ArchiveWriteStdString(CPSArchive& archive, const std::string& text)
{
    ArchiveWriteInt(archive, static_cast<qint32>(text.size()));
    archive.WriteBytes(text.data(), static_cast<qint64>(text.size()));
    return archive;
}

CPSArchive& ArchiveReadStdString(CPSArchive& archive, std::string& text)
{
    const int count = ArchiveDetail::ReadCount(archive, 1);
    const QByteArray bytes = ReadByteBlock(archive, count);
    text.assign(bytes.constData(), static_cast<size_t>(bytes.size()));
    return archive;
}

CPSArchive& ArchiveWriteString(CPSArchive& archive, const QString& text)
{
    // A large document is mostly short texts: those go to UTF-8 on the stack, not in a new array.
    if (archive.IsUtf8() && text.size() <= ShortText)
    {
        char bytes[3 * ShortText];
        const qint64 count = EncodeUtf8(text, bytes) - bytes;
        ArchiveWriteInt(archive, static_cast<qint32>(count));
        archive.WriteBytes(bytes, count);
        return archive;
    }
    const QByteArray bytes = EncodeText(archive, text);
    ArchiveWriteInt(archive, static_cast<qint32>(bytes.size()));
    archive.WriteBytes(bytes.constData(), bytes.size());
    return archive;
}

CPSArchive& ArchiveReadString(CPSArchive& archive, QString& text)
{
    // Most texts are short: they are decoded where they lie in the archive's buffer, or from the
    // stack when they cross its end. Either way a false count costs nothing before the data
    // runs out, so a short one needs no question to the stream about how much is left.
    const qint32 stored = ReadInt32(archive);
    const int count =
        stored >= 0 && stored <= ShortText ? stored : ArchiveDetail::CheckCount(archive, stored, 1);
    char shortBytes[ShortText];
    QByteArray longBytes;
    const char* bytes = archive.TakeBuffered(count);
    if (!bytes && count <= ShortText)
    {
        if (!archive.ReadBytes(shortBytes, count))
            archive.Fail("the data ends inside a text");
        bytes = shortBytes;
    }
    else if (!bytes)
    {
        longBytes = ReadByteBlock(archive, count);
        bytes = longBytes.constData();
    }
    // The text ends at a NUL. In UTF-8 and in the code page alike only a zero byte decodes to
    // NUL, so the bytes are cut before they are decoded.
    const char* nul = static_cast<const char*>(std::memchr(bytes, 0, static_cast<size_t>(count)));
    const int size = nul ? static_cast<int>(nul - bytes) : count;
    text = archive.IsUtf8() ? QString::fromUtf8(bytes, size) : AnsiCodePage::ToText(bytes, size);
    return archive;
}

CPSArchive& ArchiveWriteTime(CPSArchive& archive, const CLocalTime& time)
{
    if (time.IsNull())
    {
        for (qint32 field : {0, 0, 0, -1, -1, -1})
            ArchiveWriteInt(archive, field);
        return archive;
    }
    const QDate& date = time.GetDate();
    const QTime& clock = time.GetTime();
    for (qint32 field : {date.year(), date.month(), date.day(), clock.hour(), clock.minute(), clock.second()})
        ArchiveWriteInt(archive, field);
    return archive;
}

CPSArchive& ArchiveReadTime(CPSArchive& archive, CLocalTime& time)
{
    qint32 f[6];
    for (qint32& field : f)
        field = ReadInt32(archive);
    if (f[0] == 0 && f[1] == 0 && f[2] == 0 && f[3] == -1 && f[4] == -1 && f[5] == -1)
    {
        time = CLocalTime();
        return archive;
    }
    const QDate date(f[0], f[1], f[2]);
    if (f[1] < 1 || f[1] > 12 || f[2] < 1 || f[2] > 31 || f[3] < 0 || f[3] > 23 || f[4] < 0 || f[4] > 59 ||
        f[5] < 0 || f[5] > 59 || !date.isValid())
        archive.Fail("a time field is out of range");
    time = CLocalTime(date, QTime(f[3], f[4], f[5]));
    return archive;
}

CPSArchive& ArchiveWriteTime(CPSArchive& archive, const QDateTime& time)
{
    return ArchiveWriteTime(archive, CLocalTime::FromDateTime(time));
}

CPSArchive& ArchiveReadTime(CPSArchive& archive, QDateTime& time)
{
    CLocalTime local;
    ArchiveReadTime(archive, local);
    time = local.ToDateTime();
    if (!local.IsNull() && !time.isValid())
        archive.Fail("a time has no local form");
    return archive;
}

CPSArchive& ArchiveWriteBytes(CPSArchive& archive, const QByteArray& bytes)
{
    ArchiveWriteInt(archive, static_cast<qint32>(bytes.size()));
    archive.WriteBytes(bytes.constData(), bytes.size());
    return archive;
}

CPSArchive& ArchiveReadBytes(CPSArchive& archive, QByteArray& bytes)
{
    bytes.clear();
    const int count = ArchiveDetail::ReadCount(archive, 1);
    // A stream that cannot tell its size gets the bytes in pieces, so that a false length fails
    // at the end of the data instead of in one huge allocation.
    const int piece = archive.BytesLeft() >= 0 ? count : 1 << 20;
    for (int done = 0; done < count;)
    {
        const int size = std::min(piece, count - done);
        bytes.resize(done + size);
        if (!archive.ReadBytes(bytes.data() + done, size))
            archive.Fail("the data ends inside an embedded file");
        done += size;
    }
    return archive;
}

CPSArchive& ArchiveWriteTextMap(CPSArchive& archive, const std::map<QString, QString>& texts)
{
    ArchiveWriteInt(archive, static_cast<qint32>(texts.size()));
    for (const auto& [key, value] : texts)
    {
        ArchiveWriteString(archive, key);
        ArchiveWriteString(archive, value);
    }
    return archive;
}

CPSArchive& ArchiveReadTextMap(CPSArchive& archive, std::map<QString, QString>& texts)
{
    // Each entry takes at least the two text lengths.
    const int count = ArchiveDetail::ReadCount(archive, 8);
    for (int i = 0; i < count; ++i)
    {
        QString key;
        QString value;
        ArchiveReadString(archive, key);
        ArchiveReadString(archive, value);
        texts.try_emplace(std::move(key), std::move(value));
    }
    return archive;
}

bool ArchiveWriteHeader(CPSArchive& archive, bool utf8, const QString& typeTag, int major, int minor,
                        const QString& creator, int creatorMajor, int creatorMinor)
{
    ArchiveWriteInt(archive, ArchiveMagic);
    ArchiveWriteBool(archive, utf8);
    archive.SetUtf8(utf8);
    ArchiveWriteString(archive, typeTag);
    ArchiveWriteInt(archive, major);
    ArchiveWriteInt(archive, minor);
    ArchiveWriteString(archive, creator);
    ArchiveWriteInt(archive, creatorMajor);
    ArchiveWriteInt(archive, creatorMinor);
    return !archive.HasWriteFailed();
}

bool ArchiveReadHeader(CPSArchive& archive, bool& utf8, QString& typeTag, int& major, int& minor,
                       QString& creator, int& creatorMajor, int& creatorMinor)
{
    try
    {
        if (ReadInt32(archive) != ArchiveMagic)
            return false;
        archive.SetUtf8(ReadByte(archive) != 0);
        utf8 = archive.IsUtf8();
        ArchiveReadString(archive, typeTag);
        major = ReadInt32(archive);
        minor = ReadInt32(archive);
        ArchiveReadString(archive, creator);
        creatorMajor = ReadInt32(archive);
        creatorMinor = ReadInt32(archive);
        return true;
    }
    catch (const CPSArchiveException&)
    {
        return false;
    }
}

bool ArchiveSerializeRoot(CPSArchive& archive, CPSBase& root)
{
    try
    {
        root.Serialize(archive);
        return !archive.HasWriteFailed();
    }
    catch (const std::exception&)
    {
        // A damaged archive, or an allocation that the data asked for and the system refused.
        return false;
    }
}

CPSArchive& ArchiveWriteObject(CPSArchive& archive, CPSBase* object)
{
    if (!object)
        return ArchiveWriteInt(archive, 0);
    bool isNew = false;
    const int index = archive.FindOrRegisterObject(object, isNew);
    ArchiveWriteInt(archive, index);
    if (!isNew)
        return archive;
    const int key = object->GetClassKey();
    const std::string& name = object->GetClassName();
    if (const int classIndex = archive.FindClass(key, name))
    {
        ArchiveWriteInt(archive, classIndex);
    }
    else
    {
        ArchiveWriteInt(archive, archive.AddClass(key, name));
        ArchiveWriteInt(archive, key);
        ArchiveWriteStdString(archive, name);
    }
    object->Serialize(archive);
    return archive;
}

namespace ArchiveDetail
{
int ReadCount(CPSArchive& archive, int minimumBytes)
{
    return CheckCount(archive, ReadInt32(archive), minimumBytes);
}

int CheckCount(CPSArchive& archive, qint32 count, int minimumBytes)
{
    if (count < 0)
        archive.Fail("a negative count");
    const qint64 left = archive.BytesLeft();
    if (left >= 0 && qint64(count) * minimumBytes > left)
        archive.Fail("a count larger than the data left");
    return count;
}

std::unique_ptr<CPSBase> ReadOwnedObject(CPSArchive& archive, ClassTest test)
{
    const qint32 reference = ReadInt32(archive);
    if (reference == 0)
        return nullptr;
    if (reference >= 1 && reference <= archive.GetObjectCount())
        archive.Fail("an object is owned twice");

    const DepthGuard guard(archive);
    int classIndex = ReadInt32(archive);
    if (classIndex < 1 || classIndex > archive.GetClassCount())
    {
        const qint32 key = ReadInt32(archive);
        std::string name;
        ArchiveReadStdString(archive, name);
        classIndex = archive.AddClass(key, name);
    }
    const CPSFactoryBase* factory = archive.GetClassFactory(classIndex);
    if (!factory)
        archive.Fail("an object of an unknown class");
    std::unique_ptr<CPSBase> object(factory->Create());
    if (!test(object.get()))
        archive.Fail("an object of an unexpected class");
    const int index = archive.RegisterObject(object.get());
    try
    {
        object->Serialize(archive);
    }
    catch (...)
    {
        archive.ForgetObjectsFrom(index);
        throw;
    }
    return object;
}

CPSBase* ReadObjectReference(CPSArchive& archive, ClassTest test)
{
    const qint32 reference = ReadInt32(archive);
    if (reference == 0)
        return nullptr;
    CPSBase* object = archive.GetObjectAt(reference);
    if (!object)
        archive.Fail("a reference to an object that is not in the archive");
    if (!test(object))
        archive.Fail("a reference to an object of an unexpected class");
    return object;
}
} // namespace ArchiveDetail
