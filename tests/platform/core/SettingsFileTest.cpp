#include "platform/core/SettingsFile.h"

#include <gtest/gtest.h>

namespace
{
RegValue Text(const QString& text)
{
    return RegValue::FromText(text);
}

RegValue Dword(quint32 number)
{
    return RegValue::FromDword(number);
}
} // namespace

TEST(SettingsFile, EveryValueSurvivesAWriteAndReadBack)
{
    const QString awkwardName = QString::fromUtf16(u"[odd]=name #1%\n\u00E9");
    const QString awkwardText =
        QString::fromUtf16(u"line\nnext\r=%41 \u20AC\t") + QChar(0) + QStringLiteral("after nul");
    struct Case
    {
        QString key;
        QString name;
        RegValue value;
    };
    const Case cases[] = {
        {"Software\\A\\B", "Plain", Text("C:/some where/")},
        {"Software\\A\\B", awkwardName, Text(awkwardText)},
        {"Software\\A\\B", "Empty", Text("")},
        {"Software\\A\\B", "", Text("default value")},
        {"Software\\A\\B", "Number", Dword(0xFFFFFFFFu)},
        {"Software\\A\\B", "Zero", Dword(0)},
        {"Software\\A\\B", "Blob", RegValue{REG_BINARY, QByteArray("\x00\xFF\n[x]", 6)}},
        {"Software\\A\\B", "EmptyBlob", RegValue{REG_BINARY, {}}},
        {"Software\\A\\B", "BadDword", RegValue{REG_DWORD, QByteArray("\x01\x02", 2)}},
        {"Other]\n[Key", "X", Text("y")},
    };
    CSettingsFile file;
    for (const Case& c : cases)
        file.Set(c.key, c.name, c.value);

    CSettingsFile reread;
    ASSERT_TRUE(reread.Parse(file.Serialize()));
    for (const Case& c : cases)
    {
        const RegValue* value = reread.Find(c.key, c.name);
        ASSERT_NE(value, nullptr) << c.name.toStdString();
        EXPECT_EQ(value->data, c.value.data) << c.name.toStdString();
    }
}

TEST(SettingsFile, KeysAndNamesMatchWithoutRegardToCaseOrSlashes)
{
    CSettingsFile file;
    file.Set("Software\\Maker\\App", "Lang", Text("de"));
    EXPECT_NE(file.Find("software/maker/APP/", "LANG"), nullptr);
    file.Set("\\SOFTWARE\\maker\\app", "lang", Text("fr"));
    EXPECT_EQ(file.Find("Software\\Maker\\App", "Lang")->data, Text("fr").data);
    EXPECT_TRUE(file.Remove("Software\\Maker\\App", "LANG"));
    EXPECT_EQ(file.Find("Software\\Maker\\App", "Lang"), nullptr);
    EXPECT_TRUE(file.HasKey("Software\\Maker\\App"));
    EXPECT_FALSE(file.Remove("Software\\Maker\\App", "Lang"));
    EXPECT_FALSE(file.Remove("No\\Such\\Key", "Lang"));
}

TEST(SettingsFile, DamagedLinesAreSkippedAndTheRestIsKept)
{
    const QByteArray text = "Orphan=sz:before any key\n"
                            "[Software\\App]\r\n"
                            "Good=sz:yes\r\n"
                            "NoEquals\n"
                            "Unknown=float:1.5\n"
                            "TooBig=dword:4294967296\n"
                            "Signed=dword:-1\n"
                            "OddHex=hex:abc\n"
                            "BadHex=hex:zz\n"
                            "[Unclosed\n"
                            "Lost=sz:under an unclosed key\n"
                            "[Software\\App]\n"
                            "Good=sz:second copy\n"
                            "Count=dword:7\n";
    CSettingsFile file;
    ASSERT_TRUE(file.Parse(text));
    EXPECT_EQ(file.Find("Software\\App", "Good")->data, Text("yes").data);
    EXPECT_EQ(file.Find("Software\\App", "Count")->data, Dword(7).data);
    for (const char* name : {"Orphan", "NoEquals", "Unknown", "TooBig", "Signed", "OddHex", "BadHex", "Lost"})
        EXPECT_EQ(file.Find("Software\\App", name), nullptr) << name;
    EXPECT_FALSE(file.HasKey("Unclosed"));
}

TEST(SettingsFile, OversizedTextIsRefused)
{
    CSettingsFile file;
    EXPECT_FALSE(file.Parse(QByteArray(CSettingsFile::MaxFileSize + 1, '#')));
    EXPECT_TRUE(file.Parse(QByteArray(1000, '\n')));
}
