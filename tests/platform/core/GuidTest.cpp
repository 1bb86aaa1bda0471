#include "platform/core/Guid.h"
#include "platform/core/ModulePath.h"

#include <QFileInfo>
#include <QSet>

#include <gtest/gtest.h>

TEST(Guid, EachNewGuidIsDifferentAndNotNull)
{
    QSet<QByteArray> seen;
    for (int i = 0; i < 100; ++i)
    {
        GUID guid;
        ASSERT_TRUE(CoCreateGuid(guid));
        EXPECT_FALSE(IsNullGuid(guid));
        seen.insert(QByteArray(reinterpret_cast<const char*>(&guid), sizeof guid));
    }
    EXPECT_EQ(seen.size(), 100);
    EXPECT_TRUE(IsNullGuid(GUID{}));
}

TEST(ModulePath, NamesTheRunningTestProgram)
{
    const QFileInfo program(GetModuleFileName());
    EXPECT_TRUE(program.isAbsolute());
    EXPECT_EQ(program.fileName(), QStringLiteral("kv_tests_platform_core"));
}
