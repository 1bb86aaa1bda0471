#pragma once

#include "base/ArchiveValues.h"
#include "base/PSFactory.h"

#include <memory>
#include <vector>

// Small persistable classes for the archive tests. They count their live instances and their
// Serialize calls, so tests can see that a failed load leaves nothing behind and calls nothing
// on an object it refused.
namespace ArchiveTest
{
inline int LiveObjects = 0;
inline int SerializeCalls = 0;

class CTestLeaf : public CPSBase
{
    KV_PERSISTENT_CLASS()
    CTestLeaf() { ++LiveObjects; }
    explicit CTestLeaf(QString text) : text(std::move(text)) { ++LiveObjects; }
    ~CTestLeaf() override { --LiveObjects; }

    void Serialize(CPSArchive& archive) override
    {
        ++SerializeCalls;
        if (archive.IsReading())
            ArchiveReadString(archive, text);
        else
            ArchiveWriteString(archive, text);
    }

    QString text;
};

// A node owns its children (of any class) and may point at a leaf it does not own.
class CTestNode : public CPSBase
{
    KV_PERSISTENT_CLASS()
    CTestNode() { ++LiveObjects; }
    ~CTestNode() override { --LiveObjects; }

    void Serialize(CPSArchive& archive) override
    {
        ++SerializeCalls;
        if (archive.IsReading())
        {
            ArchiveReadInt(archive, value);
            ArchiveReadObjectVector(archive, children);
            ArchiveReadObjectReference(archive, link);
        }
        else
        {
            ArchiveWriteInt(archive, value);
            ArchiveWriteObjectVector(archive, children);
            ArchiveWriteObject(archive, link);
        }
    }

    qint32 value{0};
    std::vector<std::unique_ptr<CPSBase>> children;
    CTestLeaf* link{nullptr};
};

// Holds leaves by name.
class CTestDirectory : public CPSBase
{
    KV_PERSISTENT_CLASS()
    CTestDirectory() { ++LiveObjects; }
    ~CTestDirectory() override { --LiveObjects; }

    void Serialize(CPSArchive& archive) override
    {
        ++SerializeCalls;
        if (archive.IsReading())
        {
            ArchiveReadObjectMap(archive, leaves);
            ArchiveReadObjectReference(archive, link);
        }
        else
        {
            ArchiveWriteObjectMap(archive, leaves);
            ArchiveWriteObject(archive, link);
        }
    }

    std::map<QString, std::unique_ptr<CTestLeaf>> leaves;
    CTestLeaf* link{nullptr};
};
} // namespace ArchiveTest
