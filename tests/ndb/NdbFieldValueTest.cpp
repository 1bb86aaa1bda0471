#include "ndb/NdbFieldValue.h"

#include "ndb/NdbArchiveHelpers.h"

#include <QLocale>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <bit>
#include <clocale>
#include <cstdio>
#include <locale>
#include <optional>

using namespace ndb;
using NdbTest::Int;
using NdbTest::Text;

namespace
{
CNdbFieldValue ReadValue(const QByteArray& bytes, bool* ok = nullptr)
{
    CNdbFieldValue value(QStringLiteral("before"));
    CPSStreamMemory stream;
    stream.SetBuffer(bytes);
    stream.Open(CPSStreamMemory::ModeRead);
    CPSArchive archive(stream);
    bool read = true;
    try
    {
        value.Serialize(archive);
    }
    catch (const CPSArchiveException&)
    {
        read = false;
    }
    if (ok)
        *ok = read;
    return value;
}

QByteArray WriteValue(CNdbFieldValue value)
{
    return NdbTest::Write([&value](CPSArchive& archive) { value.Serialize(archive); });
}
} // namespace

TEST(NdbFieldValue, DefaultIsIntZeroWithoutText)
{
    const CNdbFieldValue value;
    EXPECT_EQ(value.GetType(), NdbValueInt);
    EXPECT_EQ(value.GetInt(), 0);
    EXPECT_TRUE(value.GetString().isEmpty());
    EXPECT_EQ(value.GetColor(), nullptr);
}

TEST(NdbFieldValue, EveryKnownTypeArchivesItsPayload)
{
    struct Case
    {
        CNdbFieldValue value;
        QByteArray bytes;
    };
    const QDateTime time(QDate(2007, 3, 4), QTime(5, 6, 7));
    std::vector<Case> cases = {
        {CNdbFieldValue(NdbValueBool, 1), Int(0) + Int(1)},
        {CNdbFieldValue(NdbValueBool, 0x100), Int(0) + Int(0)},
        {CNdbFieldValue(NdbValueInt, -5), Int(1) + Int(-5)},
        {CNdbFieldValue(NdbValueFloat, std::bit_cast<qint32>(1.5f)), Int(2) + Int(0x3FC00000)},
        {CNdbFieldValue(QStringLiteral("Grüße")), Int(3) + Text("Grüße")},
        {CNdbFieldValue(time), Int(4) + Int(2007) + Int(3) + Int(4) + Int(5) + Int(6) + Int(7)},
        {CNdbFieldValue(NdbValueIntCode, 42), Int(100) + Int(42)},
        {CNdbFieldValue(12.5f, NdbUnitPx), Int(200) + Int(0x41480000) + Int(1)},
        {CNdbFieldValue(CNdbColor(1, 2, 3)), Int(210) + Int(1) + Int(0xFF030201) + Int(0)},
    };
    for (int type : {300, 310, 320, 330, 340, 350, 370, 380, 390, 500, 510, 600,
                     700, 710, 720, 730, 740, 750, 800, 850, 900, 950, 999})
        cases.push_back({CNdbFieldValue(type, 7), Int(type) + Int(7)});

    for (const Case& c : cases)
    {
        const int type = c.value.GetType();
        EXPECT_TRUE(CNdbFieldValue::IsKnownType(type)) << type;
        EXPECT_EQ(WriteValue(c.value).toHex(), c.bytes.toHex()) << type;
        bool ok = false;
        const CNdbFieldValue read = ReadValue(c.bytes, &ok);
        ASSERT_TRUE(ok) << type;
        EXPECT_EQ(read.GetType(), type);
        EXPECT_EQ(read.GetInt(), c.value.GetInt()) << type;
        EXPECT_EQ(read.GetUnit(), c.value.GetUnit()) << type;
        EXPECT_EQ(read.GetString(), c.value.GetString()) << type;
        EXPECT_EQ(read.GetTime(), c.value.GetTime()) << type;
        EXPECT_EQ(read.GetColor() != nullptr, c.value.GetColor() != nullptr) << type;
        if (read.GetColor())
        {
            EXPECT_EQ(*read.GetColor(), *c.value.GetColor());
        }
    }
}

// The tests run with TZ=Europe/Berlin: summer time runs from 2026-03-29 02:00 (clocks jump to
// 03:00) to 2026-10-25 03:00 (clocks go back to 02:00).
TEST(NdbFieldValue, StoredLocalTimesConvertAcrossDaylightSaving)
{
    struct Case
    {
        QDate date;
        QTime stored;
        QDateTime utc;
    };
    const QDate spring(2026, 3, 29);
    const QDate autumn(2026, 10, 25);
    const Case cases[] = {
        {QDate(2026, 1, 15), QTime(12, 0), QDateTime(QDate(2026, 1, 15), QTime(11, 0), QTimeZone::utc())},
        {QDate(2026, 7, 15), QTime(12, 0), QDateTime(QDate(2026, 7, 15), QTime(10, 0), QTimeZone::utc())},
        {spring, QTime(1, 59, 59), QDateTime(spring, QTime(0, 59, 59), QTimeZone::utc())},
        {spring, QTime(2, 30), QDateTime(spring, QTime(1, 30), QTimeZone::utc())}, // in the gap
        {spring, QTime(3, 0), QDateTime(spring, QTime(1, 0), QTimeZone::utc())},
        {autumn, QTime(1, 59), QDateTime(QDate(2026, 10, 24), QTime(23, 59), QTimeZone::utc())},
        {autumn, QTime(3, 0), QDateTime(autumn, QTime(2, 0), QTimeZone::utc())},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.date.toString(Qt::ISODate).toStdString() + " " + c.stored.toString().toStdString());
        const QByteArray bytes = Int(NdbValueTime) + Int(c.date.year()) + Int(c.date.month()) +
                                 Int(c.date.day()) + Int(c.stored.hour()) + Int(c.stored.minute()) +
                                 Int(c.stored.second());
        bool ok = false;
        const CNdbFieldValue read = ReadValue(bytes, &ok);
        ASSERT_TRUE(ok);
        EXPECT_EQ(read.GetTime().toUTC(), c.utc);
        EXPECT_EQ(read.GetTime().timeSpec(), Qt::LocalTime);
        EXPECT_EQ(WriteValue(read), bytes) << "a loaded time is saved as it was stored";
        EXPECT_EQ(read.GetTime(), CNdbFieldValue(read.GetTime()).GetTime());
    }

    // The repeated autumn hour reads as the local clock showed it.
    const CNdbFieldValue repeated =
        ReadValue(Int(NdbValueTime) + Int(2026) + Int(10) + Int(25) + Int(2) + Int(30) + Int(0));
    EXPECT_EQ(repeated.GetTime().date(), autumn);
    EXPECT_EQ(repeated.GetTime().time(), QTime(2, 30));
}

TEST(NdbFieldValue, ArchivedBoolReadsAnyNonZeroAsTrue)
{
    const CNdbFieldValue read = ReadValue(Int(0) + Int(7));
    EXPECT_EQ(read.GetType(), NdbValueBool);
    EXPECT_TRUE(read.GetBool());
    EXPECT_EQ(WriteValue(read), Int(0) + Int(1));
}

TEST(NdbFieldValue, UnknownTypeIsKeptAsBareCode)
{
    for (int type : {360, 5, -1, 1000})
    {
        EXPECT_FALSE(CNdbFieldValue::IsKnownType(type)) << type;
        bool ok = false;
        const CNdbFieldValue read = ReadValue(Int(type) + Int(99), &ok);
        ASSERT_TRUE(ok);
        EXPECT_EQ(read.GetType(), type);
        EXPECT_TRUE(read.GetString().isEmpty());
        EXPECT_EQ(read.GetInt(), 0);
        const CNdbFieldValue copy = read;
        EXPECT_EQ(WriteValue(copy), Int(type)) << type;
    }
}

TEST(NdbFieldValue, LoadingReplacesTheOwnedPayload)
{
    const CNdbFieldValue read = ReadValue(Int(1) + Int(3));
    EXPECT_EQ(read.GetType(), NdbValueInt);
    EXPECT_TRUE(read.GetString().isEmpty());
}

TEST(NdbFieldValue, TruncatedValuesFail)
{
    const QByteArray samples[] = {
        WriteValue(CNdbFieldValue(QStringLiteral("abc"))),
        WriteValue(CNdbFieldValue(2.5f, NdbUnitEm)),
        WriteValue(CNdbFieldValue(CNdbColor(QStringLiteral("{K}")))),
        WriteValue(CNdbFieldValue(QDateTime(QDate(2020, 1, 1), QTime(0, 0)))),
    };
    for (const QByteArray& bytes : samples)
    {
        for (qsizetype size = 0; size < bytes.size(); ++size)
        {
            bool ok = true;
            ReadValue(bytes.left(size), &ok);
            EXPECT_FALSE(ok) << bytes.toHex().toStdString() << " cut at " << size;
        }
    }
    bool ok = true;
    ReadValue(Int(3) + Int(0x7FFFFFFF) + "abc", &ok);
    EXPECT_FALSE(ok);
}

TEST(NdbFieldValue, CopiesOwnTheirPayload)
{
    std::optional<CNdbFieldValue> source(CNdbFieldValue(QStringLiteral("text")));
    const CNdbFieldValue copy = *source;
    CNdbFieldValue assigned;
    assigned = *source;
    source.reset();
    EXPECT_EQ(copy.GetString(), "text");
    EXPECT_EQ(assigned.GetString(), "text");

    CNdbFieldValue self(QStringLiteral("self"));
    const CNdbFieldValue& alias = self;
    self = alias;
    EXPECT_EQ(self.GetString(), "self");

    CNdbFieldValue color(CNdbColor(QStringLiteral("{K}")));
    color = CNdbFieldValue(NdbValueInt, 4);
    EXPECT_EQ(color.GetColor(), nullptr);
    EXPECT_EQ(color.GetInt(), 4);
}

TEST(NdbFieldValue, TypedReadsOfOtherTypesAreEmpty)
{
    EXPECT_TRUE(CNdbFieldValue(NdbValueInt, 3).GetString().isEmpty());
    EXPECT_FALSE(CNdbFieldValue(NdbValueInt, 3).GetTime().isValid());
    EXPECT_EQ(CNdbFieldValue(QStringLiteral("x")).GetColor(), nullptr);
    EXPECT_EQ(CNdbFieldValue(QStringLiteral("x")).GetInt(), 0);
    EXPECT_TRUE(CNdbFieldValue(NdbValueTextAlign, 0x101).GetBool());
}

TEST(NdbFieldValue, OwningTypeMadeFromBareCodeWritesEmptyPayload)
{
    const CNdbFieldValue color(NdbValueColor, 5);
    EXPECT_EQ(color.GetColor(), nullptr);
    EXPECT_EQ(WriteValue(color), Int(210) + Int(0) + Int(0xFF000000) + Int(0));
    const CNdbFieldValue text(NdbValueText, 5);
    EXPECT_TRUE(text.GetString().isEmpty());
    EXPECT_EQ(WriteValue(text), Int(3) + Int(0));
}

TEST(NdbFieldValue, UnitSuffixes)
{
    const std::pair<int, const char*> units[] = {{0, ""},   {1, "px"}, {2, "pt"}, {3, "mm"},
                                                 {4, "cm"}, {5, "in"}, {6, "em"}, {7, "ex"},
                                                 {8, ""},   {9, ""},   {10, "%"}, {-1, ""}};
    for (const auto& [unit, suffix] : units)
    {
        EXPECT_EQ(CNdbFieldValue::UnitToText(unit), suffix) << unit;
        EXPECT_EQ(CNdbFieldValue(1.0f, unit).GetUnitText(), suffix) << unit;
    }
}

TEST(NdbFieldValue, ParseUnitFindsFirstSuffixInFixedOrder)
{
    const std::pair<const char*, int> cases[] = {
        {"12px", 1}, {"2pt", 2},  {"3mm", 3},     {"4cm", 4},     {"1.5em", 6}, {"2ex", 7}, {"100%", 10},
        {"2 in", 5}, {"12PX", 0}, {"3em 2px", 1}, {"inherit", 5}, {"", 0},      {"12", 0},  {"5ex%", 7},
    };
    for (const auto& [text, unit] : cases)
        EXPECT_EQ(CNdbFieldValue::ParseUnit(QString::fromUtf8(text)), unit) << text;
}

struct LengthCase
{
    float number;
    int unit;
    const char* css;
};

constexpr LengthCase LengthCases[] = {
    {0, 1, "0"},
    {12.5f, 1, "12.5px"},
    {2, 2, "2pt"},
    {3.14159f, 6, "3.142em"},
    {100, 10, "100%"},
    {-0.25f, 5, "-0.25in"},
    {5, 0, "5"},
    {5, 8, "5"},
    {0.0004f, 1, "0px"},
    {1.5f, 3, "1.5mm"},
    {10, 1, "10px"},
    {0.5f, 4, "0.5cm"},
    {1234567, 1, "1234567px"},
};

TEST(NdbFieldValue, FormatLengthWritesCssNumbers)
{
    for (const LengthCase& c : LengthCases)
        EXPECT_EQ(CNdbFieldValue(c.number, c.unit).FormatLength(), c.css) << c.css;
}

TEST(NdbFieldValue, FormatLengthOfNonFiniteNumberIsZero)
{
    for (quint32 bits : {0x7FC00000u, 0x7F800000u, 0xFF800000u})
    {
        const CNdbFieldValue value = ReadValue(Int(200) + Int(qint32(bits)) + Int(1));
        EXPECT_EQ(value.FormatLength(), "0");
    }
}

// A decimal-comma locale set every way a program can set one: C library, C++ and Qt.
class NdbLengthUnderGermanLocale : public testing::Test
{
protected:
    void SetUp() override
    {
        m_cLocale = std::setlocale(LC_ALL, nullptr);
        m_haveCLocale = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
        m_cppLocale = std::locale::global(std::locale(std::locale::classic(), new CommaPoint));
        m_qtLocale = QLocale();
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    }
    void TearDown() override
    {
        std::setlocale(LC_ALL, m_cLocale.c_str());
        std::locale::global(m_cppLocale);
        QLocale::setDefault(m_qtLocale);
    }

    struct CommaPoint : std::numpunct<char>
    {
        char do_decimal_point() const override { return ','; }
    };

    bool m_haveCLocale{false};

private:
    std::string m_cLocale;
    std::locale m_cppLocale;
    QLocale m_qtLocale;
};

TEST_F(NdbLengthUnderGermanLocale, FormatLengthKeepsDecimalPoint)
{
    if (m_haveCLocale)
    {
        char printed[16];
        std::snprintf(printed, sizeof printed, "%.1f", 1.5);
        EXPECT_STREQ(printed, "1,5") << "the C locale did not switch";
    }
    EXPECT_EQ(QLocale().toString(1.5), "1,5");
    for (const LengthCase& c : LengthCases)
        EXPECT_EQ(CNdbFieldValue(c.number, c.unit).FormatLength(), c.css) << c.css;
    if (!m_haveCLocale)
        GTEST_SKIP() << "de_DE.UTF-8 is not installed; checked under Qt and C++ locales only";
}
