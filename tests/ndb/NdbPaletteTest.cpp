#include "ndb/NdbPalette.h"

#include "ndb/NdbArchiveHelpers.h"

#include <gtest/gtest.h>

using namespace ndb;
using NdbTest::Int;
using NdbTest::Text;

namespace
{
CNdbPalette TwoColours()
{
    CNdbPalette palette;
    palette.AddColor(QStringLiteral("Brand"), QStringLiteral("{AAAA}"), CNdbRgba(10, 20, 30, 255));
    palette.AddColor(QStringLiteral("Accent"), QStringLiteral("{BBBB}"), CNdbRgba(200, 100, 0, 128));
    return palette;
}
} // namespace

TEST(NdbPaletteColor, IsFixedColourWithKeyAndName)
{
    const CNdbPaletteColor entry(QStringLiteral("Brand"), QStringLiteral("{K}"), CNdbRgba(1, 2, 3, 4));
    EXPECT_EQ(entry.GetKind(), NdbColorFixed);
    EXPECT_EQ(entry.GetKey(), "{K}");
    EXPECT_EQ(entry.GetName(), "Brand");
    EXPECT_EQ(entry.ToText(), "F{#01020304}");
    EXPECT_EQ(entry.GetClassName(), "CNdbPaletteColor");

    const CNdbPaletteColor empty;
    EXPECT_EQ(empty.GetKind(), NdbColorNone);
    EXPECT_EQ(empty.GetRgba().alpha, 255);
    EXPECT_TRUE(empty.GetName().isEmpty());
}

TEST(NdbPaletteColor, ArchivesColourThenName)
{
    CNdbPaletteColor entry(QStringLiteral("Brand"), QStringLiteral("{K}"), CNdbRgba(1, 2, 3, 4));
    const QByteArray bytes = NdbTest::WriteRoot(entry);
    EXPECT_EQ(bytes, Int(1) + Int(0x04030201) + Text("{K}") + Text("Brand"));
    CNdbPaletteColor read;
    ASSERT_TRUE(NdbTest::ReadRoot(bytes, read));
    EXPECT_EQ(read, entry);
    EXPECT_EQ(read.GetName(), "Brand");
}

TEST(NdbPalette, FindsFirstMatchExactly)
{
    CNdbPalette palette = TwoColours();
    palette.AddColor(QStringLiteral("Brand"), QStringLiteral("{AAAA}"), CNdbRgba(0, 0, 0, 255));
    EXPECT_EQ(palette.GetKind(), NdbKindPalette);
    EXPECT_EQ(palette.IndexOfKey(QStringLiteral("{BBBB}")), 1);
    EXPECT_EQ(palette.IndexOfKey(QStringLiteral("{AAAA}")), 0);
    EXPECT_EQ(palette.IndexOfKey(QStringLiteral("{bbbb}")), -1);
    EXPECT_EQ(palette.FindColorByKey(QStringLiteral("{AAAA}")), palette.GetColorAt(0));
    EXPECT_EQ(palette.FindColorByKey(QStringLiteral("{CCCC}")), nullptr);
    EXPECT_EQ(palette.FindColorByName(QStringLiteral("Brand")), palette.GetColorAt(0));
    EXPECT_EQ(palette.FindColorByName(QStringLiteral("brand")), nullptr);
    EXPECT_EQ(palette.GetColorAt(3), nullptr);
    EXPECT_EQ(palette.GetColorAt(-1), nullptr);
}

TEST(NdbPalette, ResolvesReferencesThroughEntries)
{
    const CNdbPalette palette = TwoColours();
    const CNdbColor resolved = palette.ResolveColor(CNdbColor(QStringLiteral("{BBBB}")));
    EXPECT_EQ(resolved.GetKind(), NdbColorFixed);
    EXPECT_EQ(resolved.GetRgba(), CNdbRgba(200, 100, 0, 128));
    EXPECT_EQ(resolved.ToHex(), "#C86400");
    EXPECT_EQ(resolved.GetClassName(), "CNdbColor");

    const CNdbColor fixed(CNdbRgba(1, 1, 1, 1));
    EXPECT_EQ(palette.ResolveColor(fixed), fixed);
}

TEST(NdbPalette, PaletteReferenceToMissingKeyIsNoColour)
{
    CNdbPalette palette = TwoColours();
    const CNdbColor reference(QStringLiteral("{AAAA}"));
    palette.DeleteColorAt(0);
    const CNdbColor resolved = palette.ResolveColor(reference);
    EXPECT_EQ(resolved.GetKind(), NdbColorNone);
    EXPECT_EQ(resolved.ToHex(), "");
    EXPECT_EQ(resolved.ToColorRef(), 0xFFFFFFu);
    EXPECT_EQ(palette.ResolveColor(CNdbColor()).GetKind(), NdbColorNone);
}

TEST(NdbPalette, DeletingKeepsOrderAndIgnoresBadIndex)
{
    CNdbPalette palette = TwoColours();
    palette.DeleteColorAt(5);
    palette.DeleteColorAt(-1);
    EXPECT_EQ(palette.GetColorCount(), 2);
    palette.DeleteColorAt(0);
    ASSERT_EQ(palette.GetColorCount(), 1);
    EXPECT_EQ(palette.GetColorAt(0)->GetName(), "Accent");
    palette.DeleteAllColors();
    EXPECT_EQ(palette.GetColorCount(), 0);
}

TEST(NdbPalette, CopiesAreDeep)
{
    CNdbPalette original = TwoColours();
    original.SetField(1, CNdbFieldValue(u"note"));
    const CNdbPalette copy(original);
    CNdbPalette assigned;
    assigned.AddColor(QStringLiteral("old"), QStringLiteral("{OLD}"), CNdbRgba());
    assigned = original;
    *original.GetColorAt(0) =
        CNdbPaletteColor(QStringLiteral("Changed"), QStringLiteral("{AAAA}"), CNdbRgba());
    original.DeleteAllColors();
    for (const CNdbPalette* palette : {&copy, static_cast<const CNdbPalette*>(&assigned)})
    {
        ASSERT_EQ(palette->GetColorCount(), 2);
        EXPECT_EQ(palette->GetColorAt(0)->GetName(), "Brand");
        EXPECT_EQ(palette->GetColorAt(1)->GetKey(), "{BBBB}");
        EXPECT_EQ(palette->GetString(1), "note");
    }
    const CNdbPalette& alias = assigned;
    assigned = alias;
    EXPECT_EQ(assigned.GetColorCount(), 2);
}

TEST(NdbPalette, TypeCheckTakesTextUnderAnyId)
{
    CNdbPalette palette;
    EXPECT_TRUE(palette.SetField(7, CNdbFieldValue(u"x")));
    EXPECT_FALSE(palette.SetField(7, CNdbFieldValue(NdbValueInt, 1)));
    EXPECT_FALSE(palette.SetField(8, CNdbFieldValue(CNdbColor(1, 2, 3))));
    EXPECT_EQ(palette.GetString(7), "x");
}

TEST(NdbPalette, ArchivesFieldsThenEntryObjects)
{
    CNdbPalette palette = TwoColours();
    const QByteArray bytes = NdbTest::WriteRoot(palette);
    EXPECT_TRUE(bytes.startsWith(Int(8) + Int(0) + Int(2)));
    EXPECT_TRUE(bytes.contains("CNdbPaletteColor"));

    CNdbPalette read;
    read.AddColor(QStringLiteral("stale"), QStringLiteral("{S}"), CNdbRgba());
    ASSERT_TRUE(NdbTest::ReadRoot(bytes, read));
    ASSERT_EQ(read.GetColorCount(), 2);
    for (int i = 0; i < 2; ++i)
    {
        EXPECT_EQ(*read.GetColorAt(i), *palette.GetColorAt(i));
        EXPECT_EQ(read.GetColorAt(i)->GetName(), palette.GetColorAt(i)->GetName());
    }
    EXPECT_EQ(NdbTest::WriteRoot(read), bytes);

    const std::unique_ptr<CNdbPalette> object =
        NdbTest::ReadObject<CNdbPalette>(NdbTest::WriteObject(&palette));
    ASSERT_TRUE(object);
    EXPECT_EQ(object->GetColorCount(), 2);
}

TEST(NdbPalette, NullEntriesAreDroppedOnLoad)
{
    // Field record, then a vector of two pointers: null (index 0) and one entry.
    CNdbPaletteColor entry(QStringLiteral("Only"), QStringLiteral("{O}"), CNdbRgba(1, 2, 3, 4));
    const QByteArray entryObject = NdbTest::WriteObject(&entry);
    const QByteArray nullObject = NdbTest::WriteObject(nullptr);
    CNdbPalette read;
    ASSERT_TRUE(NdbTest::ReadRoot(Int(8) + Int(0) + Int(2) + nullObject + entryObject, read));
    ASSERT_EQ(read.GetColorCount(), 1);
    EXPECT_EQ(read.GetColorAt(0)->GetName(), "Only");
    EXPECT_EQ(read.ResolveColor(CNdbColor(QStringLiteral("{X}"))).GetKind(), NdbColorNone);
}

TEST(NdbPalette, EntryOfWrongClassOrDamagedDataFailsLoad)
{
    CNdbColor plain(1, 2, 3);
    CNdbPalette read;
    EXPECT_FALSE(NdbTest::ReadRoot(Int(8) + Int(0) + Int(1) + NdbTest::WriteObject(&plain), read));

    CNdbPalette palette = TwoColours();
    const QByteArray bytes = NdbTest::WriteRoot(palette);
    for (qsizetype size = 0; size < bytes.size(); ++size)
    {
        CNdbPalette partial;
        EXPECT_FALSE(NdbTest::ReadRoot(bytes.left(size), partial)) << size;
    }
    EXPECT_FALSE(NdbTest::ReadRoot(Int(8) + Int(0) + Int(0x40000000), read));
}
