// Reads a header and an object graph from the input, over fuzz-only classes that use every
// value encoding, owned vectors and maps (smart and raw), single owned objects, references to
// any earlier object and references up to an ancestor (cycles). A graph that loads is written
// again: it must load once more and write the same bytes, and nothing may leak either way.

#include "base/ArchiveValues.h"
#include "base/PSFactory.h"
#include "base/PSStreamMemory.h"

#include <cstdint>
#include <cstdlib>

namespace
{
class CFuzzValues : public CPSBase
{
    KV_PERSISTENT_CLASS()
    void Serialize(CPSArchive& archive) override
    {
        if (archive.IsReading())
        {
            ArchiveReadChar(archive, letter);
            ArchiveReadBool(archive, flag);
            ArchiveReadInt(archive, number);
            ArchiveReadFloat(archive, real);
            ArchiveReadPair(archive, point);
            ArchiveReadPair(archive, size);
            ArchiveReadRect(archive, rect);
            ArchiveReadStdString(archive, narrow);
            ArchiveReadString(archive, text);
            ArchiveReadTime(archive, time);
        }
        else
        {
            ArchiveWriteChar(archive, letter);
            ArchiveWriteBool(archive, flag);
            ArchiveWriteInt(archive, number);
            ArchiveWriteFloat(archive, real);
            ArchiveWritePair(archive, point);
            ArchiveWritePair(archive, size);
            ArchiveWriteRect(archive, rect);
            ArchiveWriteStdString(archive, narrow);
            ArchiveWriteString(archive, text);
            ArchiveWriteTime(archive, time);
        }
    }

    char letter{0};
    bool flag{false};
    qint32 number{0};
    float real{0};
    QPoint point;
    QSize size;
    QRect rect;
    std::string narrow;
    QString text;
    QDateTime time;
};

class CFuzzNode;
// The nodes whose Serialize is running while reading: the only legal targets of `up`.
std::vector<const CFuzzNode*> g_readingNodes;

class CFuzzNode : public CPSBase
{
    KV_PERSISTENT_CLASS()
    ~CFuzzNode() override
    {
        for (CFuzzNode* child : rawChildren)
            delete child;
        for (auto& [key, values] : rawValues)
            delete values;
    }

    void Serialize(CPSArchive& archive) override
    {
        if (!archive.IsReading())
        {
            ArchiveWriteInt(archive, id);
            ArchiveWriteObjectVector(archive, children);
            ArchiveWriteObjectVector(archive, rawChildren);
            ArchiveWriteObjectMap(archive, values);
            ArchiveWriteObjectMap(archive, rawValues);
            ArchiveWriteObject(archive, single.get());
            ArchiveWriteObject(archive, up);
            ArchiveWriteObject(archive, any);
            if (archive.GetVersion() >= CPSArchive::MakeVersion(1, 1))
                ArchiveWriteString(archive, note);
            return;
        }
        g_readingNodes.push_back(this);
        struct Pop
        {
            ~Pop() { g_readingNodes.pop_back(); }
        } pop;
        ArchiveReadInt(archive, id);
        ArchiveReadObjectVector(archive, children);
        ArchiveReadObjectVector(archive, rawChildren);
        ArchiveReadObjectMap(archive, values);
        ArchiveReadObjectMap(archive, rawValues);
        ArchiveReadObject(archive, single);
        ArchiveReadObjectReference(archive, up);
        if (up && std::find(g_readingNodes.begin(), g_readingNodes.end(), up) == g_readingNodes.end())
            archive.Fail("up names no ancestor");
        ArchiveReadObjectReference(archive, any);
        if (archive.GetVersion() >= CPSArchive::MakeVersion(1, 1))
            ArchiveReadString(archive, note);
    }

    qint32 id{0};
    std::vector<std::unique_ptr<CPSBase>> children;
    std::vector<CFuzzNode*> rawChildren;
    std::map<QString, std::unique_ptr<CFuzzValues>> values;
    std::map<QString, CFuzzValues*> rawValues;
    std::unique_ptr<CFuzzValues> single;
    CFuzzNode* up{nullptr};
    CPSBase* any{nullptr};
    QString note;
};

KV_REGISTER_PERSISTENT_CLASS(CFuzzValues, 1, "CFuzzValues")
KV_REGISTER_PERSISTENT_CLASS(CFuzzNode, 1, "CFuzzNode")

struct Header
{
    bool utf8{true};
    QString tag;
    int major{0};
    int minor{0};
    QString creator;
    int creatorMajor{0};
    int creatorMinor{0};
};

std::unique_ptr<CFuzzNode> Load(const QByteArray& bytes, Header& header)
{
    CPSStreamMemory stream;
    stream.SetBuffer(bytes);
    stream.Open(CPSStreamMemory::ModeRead);
    CPSArchive archive(stream);
    if (!ArchiveReadHeader(archive, header.utf8, header.tag, header.major, header.minor, header.creator,
                           header.creatorMajor, header.creatorMinor))
        return nullptr;
    archive.SetVersion(CPSArchive::MakeVersion(header.major, header.minor));
    auto root = std::make_unique<CFuzzNode>();
    if (!ArchiveSerializeRoot(archive, *root))
        return nullptr;
    return root;
}

QByteArray Save(CFuzzNode& root, const Header& header)
{
    CPSStreamMemory stream;
    stream.Open(CPSStreamMemory::ModeWrite);
    CPSArchive archive(stream);
    if (!ArchiveWriteHeader(archive, header.utf8, header.tag, header.major, header.minor, header.creator,
                            header.creatorMajor, header.creatorMinor))
        std::abort();
    archive.SetVersion(CPSArchive::MakeVersion(header.major, header.minor));
    if (!ArchiveSerializeRoot(archive, root) || !archive.Flush())
        std::abort();
    return stream.GetBuffer();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Header header;
    const std::unique_ptr<CFuzzNode> root =
        Load(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)), header);
    if (!root)
        return 0;
    const QByteArray written = Save(*root, header);
    Header again;
    const std::unique_ptr<CFuzzNode> reread = Load(written, again);
    if (!reread || Save(*reread, again) != written)
        std::abort();
    return 0;
}
