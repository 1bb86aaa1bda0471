// Writing and reading an archive of 100,000 small objects with texts, as a large recipient
// list is stored, over a memory stream.

#include "base/ArchiveValues.h"
#include "base/PSFactory.h"
#include "base/PSStreamMemory.h"

#include <benchmark/benchmark.h>

namespace
{
constexpr int ObjectCount = 100000;

class CBenchRecipient : public CPSBase
{
    KV_PERSISTENT_CLASS()
    void Serialize(CPSArchive& archive) override
    {
        if (archive.IsReading())
        {
            ArchiveReadInt(archive, id);
            ArchiveReadString(archive, email);
            ArchiveReadString(archive, name);
            ArchiveReadBool(archive, enabled);
        }
        else
        {
            ArchiveWriteInt(archive, id);
            ArchiveWriteString(archive, email);
            ArchiveWriteString(archive, name);
            ArchiveWriteBool(archive, enabled);
        }
    }

    qint32 id{0};
    QString email;
    QString name;
    bool enabled{true};
};

class CBenchList : public CPSBase
{
    KV_PERSISTENT_CLASS()
    void Serialize(CPSArchive& archive) override
    {
        if (archive.IsReading())
            ArchiveReadObjectVector(archive, recipients);
        else
            ArchiveWriteObjectVector(archive, recipients);
    }

    std::vector<std::unique_ptr<CBenchRecipient>> recipients;
};

KV_REGISTER_PERSISTENT_CLASS(CBenchRecipient, 1, "CBenchRecipient")
KV_REGISTER_PERSISTENT_CLASS(CBenchList, 1, "CBenchList")

CBenchList MakeList()
{
    CBenchList list;
    for (int i = 0; i < ObjectCount; ++i)
    {
        auto recipient = std::make_unique<CBenchRecipient>();
        recipient->id = i;
        recipient->email = QStringLiteral("recipient%1@example.org").arg(i);
        recipient->name = QString::fromUtf16(u"J\u00F6rg M\u00FCller ") + QString::number(i);
        list.recipients.push_back(std::move(recipient));
    }
    return list;
}

QByteArray Save(CBenchList& list)
{
    CPSStreamMemory stream;
    stream.Open(CPSStreamMemory::ModeWrite);
    CPSArchive archive(stream);
    ArchiveWriteHeader(archive, true, "KVM", 2007, 0, "Kelvora", 1, 0);
    ArchiveSerializeRoot(archive, list);
    archive.Flush();
    return stream.GetBuffer();
}

void WriteObjectGraph(benchmark::State& state)
{
    CBenchList list = MakeList();
    qint64 bytes = 0;
    for (auto _ : state)
    {
        const QByteArray written = Save(list);
        bytes += written.size();
        benchmark::DoNotOptimize(written.constData());
    }
    state.SetBytesProcessed(bytes);
    state.SetItemsProcessed(state.iterations() * ObjectCount);
}

void ReadObjectGraph(benchmark::State& state)
{
    CBenchList source = MakeList();
    const QByteArray bytes = Save(source);
    for (auto _ : state)
    {
        CPSStreamMemory stream;
        stream.SetBuffer(bytes);
        stream.Open(CPSStreamMemory::ModeRead);
        CPSArchive archive(stream);
        bool utf8;
        QString tag, creator;
        int major, minor, creatorMajor, creatorMinor;
        CBenchList list;
        if (!ArchiveReadHeader(archive, utf8, tag, major, minor, creator, creatorMajor, creatorMinor) ||
            !ArchiveSerializeRoot(archive, list) || list.recipients.size() != ObjectCount)
            state.SkipWithError("the archive did not read back");
        benchmark::DoNotOptimize(list.recipients.data());
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
    state.SetItemsProcessed(state.iterations() * ObjectCount);
}
} // namespace

BENCHMARK(WriteObjectGraph)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadObjectGraph)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
