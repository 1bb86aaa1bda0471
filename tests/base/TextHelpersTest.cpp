#include "base/TextHelpers.h"
#include "base/AppSettings.h"
#include "platform/core/SettingsStore.h"
#include "platform/core/Shell.h"

#include "ScopedEnvironment.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QThread>

#include <climits>
#include <ctime>

#include <gtest/gtest.h>

TEST(TextHelpers, MakeIdentifierKeepsLettersDigitsAndTheExtraCharacters)
{
    struct Case
    {
        QString text;
        QString extra;
        QString identifier;
    };
    const Case cases[] = {
        {QString::fromUtf16(u"\u00C4rende nr 5!"), "", "Arendenr5"},
        {QString::fromUtf16(u"\u00E5\u00E4\u00F6\u00C5\u00C4\u00D6"), "", "aaoAAO"},
        {"a-b c", "-", "a-bc"},
        {"{0A1B2C3D-0000-1111-2222-333344445555}", "", "0A1B2C3D000011112222333344445555"},
        {"9 lives_left", "", "9lives_left"},
        {QString::fromUtf16(u"\u00E9t\u00E9 \u00FC"), QString::fromUtf16(u"\u00FC"),
         QString::fromUtf16(u"t\u00FC")},
        {"!!!", "", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MakeIdentifier(c.text, c.extra), c.identifier) << c.text.toStdString();
}

TEST(TextHelpers, EmailAddressCheck)
{
    const std::pair<const char*, bool> cases[] = {
        {"john.doe@example.com", true},
        {"j_d-1%x@mail-server.example.org", true},
        {"user+news@example.com", true},
        {"o'brien@example.ie", true},
        {"UPPER@EXAMPLE.COM", true},
        {"a@b.co", true},
        {"john@localhost", false},
        {"john@example.c0m", false},
        {"john@example.com1", false},
        {"john doe@example.com", false},
        {"john@exa mple.com", false},
        {" john@example.com", false},
        {"john@example.com\n", false},
        {"\"john\"@example.com", false},
        {"john@@example.com", false},
        {"@example.com", false},
        {"john@", false},
        {"john@example..com", false},
        {"john@.example.com", false},
        {"john@example.com.", false},
        {"", false},
        {"j\xC3\xB6hn@example.com", false},
    };
    for (const auto& [address, valid] : cases)
        EXPECT_EQ(IsValidEmailAddress(QString::fromUtf8(address)), valid) << address;
    // Letters that only case folding would take for ASCII ones (Kelvin sign, long s).
    EXPECT_FALSE(IsValidEmailAddress(QString::fromUtf16(u"\u212Aelvin@example.com")));
    EXPECT_FALSE(IsValidEmailAddress(QString::fromUtf16(u"john@example.\u017Fe")));
}

TEST(TextHelpers, SplitStringPieces)
{
    struct Case
    {
        QString text;
        QString separator;
        QStringList pieces;
    };
    const Case cases[] = {
        {"", ",", {}},
        {"abc", ",", {"abc"}},
        {"a,b,c", ",", {"a", "b", "c"}},
        {",a", ",", {"", "a"}},
        {"a,,b", ",", {"a", "", "b"}},
        {"a,", ",", {"a", ""}},
        {",", ",", {"", ""}},
        {"1 solid red", " ", {"1", "solid", "red"}},
        {"a::b::", "::", {"a", "b", ""}},
        {",,,", ",,", {"", ","}},
    };
    for (const Case& c : cases)
    {
        QStringList pieces{"kept"};
        SplitString(c.text, pieces, c.separator);
        EXPECT_EQ(pieces, QStringList{"kept"} + c.pieces) << c.text.toStdString();
    }
}

TEST(TextHelpers, UrlEncodeUtf8KeepsOnlyUnreservedLetters)
{
    const std::pair<QString, QString> cases[] = {
        {"ab 12", "ab%20%31%32"},
        {QString::fromUtf16(u"\u00E9"), "%C3%A9"},
        {"AZaz-_.~", "AZaz-_.~"},
        {"0", "%30"},
        {"a&b=c?d/e+f%", "a%26b%3Dc%3Fd%2Fe%2Bf%25"},
        {QString::fromUtf16(u"\u20AC"), "%E2%82%AC"},
        {"", ""},
    };
    for (const auto& [text, encoded] : cases)
        EXPECT_EQ(UrlEncodeUtf8(text), encoded) << text.toStdString();
}

TEST(TextHelpers, FormatResourceTextFillsFieldsInOrder)
{
    struct Case
    {
        QString format;
        QStringList arguments;
        QString text;
    };
    const Case cases[] = {
        {"New Folder %d", {"3"}, "New Folder 3"},
        {"The file is already in use by %s (%s)",
         {"Ann", "desk"},
         "The file is already in use by Ann (desk)"},
        // An argument is text, never a format of its own.
        {"Delete \"%s\"?", {"50%s off %d"}, "Delete \"50%s off %d\"?"},
        {"100%% sure, %s", {"yes"}, "100% sure, yes"},
        {"%s and %s", {"one"}, "one and %s"},
        {"%x %", {"unused"}, "%x %"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatResourceText(c.format, c.arguments), c.text) << c.format.toStdString();
}

TEST(TextHelpers, ParseDateTimeListReadsSixLocalFields)
{
    const ScopedEnvironment zone("TZ", "Europe/Berlin");
    tzset();
    struct Case
    {
        const char* text;
        bool valid;
        const char* utc; // ISO text of the result in UTC
    };
    const Case cases[] = {
        {"2007,2,30,0,0,0", true, "2007-03-01T23:00:00Z"}, // rolls into March
        {" 2007, 7, 1, 12, 30, 15 ", true, "2007-07-01T10:30:15Z"},
        {"2007,07,01,12,30,15xyz", true, "2007-07-01T10:30:15Z"},
        {"1900,1,1,0,0,0", true, nullptr},
        {"3000,12,31,23,59,59", true, nullptr},
        {"2007,2,30,0,0", false, nullptr},
        {"2007,2,3,0,0,0,0", false, nullptr},
        {"1899,12,31,0,0,0", false, nullptr},
        {"3001,1,1,0,0,0", false, nullptr},
        {"2007,13,1,0,0,0", false, nullptr},
        {"2007,x,1,0,0,0", false, nullptr},
        {"2007,1,32,0,0,0", false, nullptr},
        {"2007,1,1,24,0,0", false, nullptr},
        {"2007,1,1,0,60,0", false, nullptr},
        {"2007,1,1,0,0,-1", false, nullptr},
        {"", false, nullptr},
    };
    for (const Case& c : cases)
    {
        QDateTime time;
        EXPECT_EQ(ParseDateTimeList(time, c.text), c.valid) << c.text;
        if (c.utc)
        {
            EXPECT_EQ(time.toUTC().toString(Qt::ISODate), c.utc) << c.text;
        }
    }
    tzset();
}

TEST(TextHelpers, NumbersInEditTextFollowTheLocale)
{
    struct Case
    {
        float value;
        const char* english;
        const char* german;
    };
    const Case cases[] = {
        {1.5f, "1.5", "1,5"},       {2.0f, "2", "2"},
        {0.125f, "0.125", "0,125"}, {0.0004f, "0", "0"},
        {3.1f, "3.1", "3,1"},       {10.0f, "10", "10"},
        {-1.25f, "-1.25", "-1,25"}, {12345.5f, "12345.5", "12345,5"},
    };
    const QLocale saved;
    for (const Case& c : cases)
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        EXPECT_EQ(FormatFloatText(c.value), c.english);
        EXPECT_FLOAT_EQ(ParseFloatText(c.english), QString(c.english).toFloat());
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        EXPECT_EQ(FormatFloatText(c.value), c.german);
        EXPECT_FLOAT_EQ(ParseFloatText(c.german), QString(c.english).toFloat());
    }

    // Like the C library: the leading number counts, anything else gives 0.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const std::pair<const char*, float> floats[] = {
        {" 2.25 cm", 2.25f}, {"-.5", -0.5f}, {"1e3", 1000.0f}, {"1e", 1.0f},
        {"abc", 0.0f},       {"", 0.0f},     {"1,5", 1.0f},
    };
    for (const auto& [text, value] : floats)
        EXPECT_FLOAT_EQ(ParseFloatText(text), value) << text;
    const std::pair<const char*, int> ints[] = {
        {"42", 42},
        {" -7 px", -7},
        {"+3", 3},
        {"abc", 0},
        {"", 0},
        {"99999999999", INT_MAX},
        {"-99999999999", INT_MIN},
    };
    for (const auto& [text, value] : ints)
        EXPECT_EQ(ParseIntText(text), value) << text;
    EXPECT_EQ(FormatIntText(-12), "-12");
    QLocale::setDefault(saved);
}

namespace
{
class Launchers : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_home.isValid());
        CSettingsStore::SetLocations(m_home.filePath("user"), m_home.filePath("machine"));
        InitAppPaths();
        SetShellOpenHandler(
            [this](const QString& target)
            {
                m_opened.append(target);
                return false;
            });
    }
    void TearDown() override
    {
        SetShellOpenHandler({});
        CSettingsStore::SetLocations({}, {});
        InitAppPaths();
    }

    QTemporaryDir m_home;
    QStringList m_opened;
};
} // namespace

TEST_F(Launchers, OnlinePagesCarryLanguageMessageAndCommand)
{
    // Without a store nothing is opened.
    EXPECT_FALSE(OpenOnlinePage(1));
    WriteRegString(HKEY_LOCAL_MACHINE, GetAppRegistryKey(), "StoreAddress", "https://store.example");
    WriteRegDword(HKEY_LOCAL_MACHINE, GetAppRegistryKey(), "OnlineMessageLastId_en", 17);
    EXPECT_TRUE(OpenOnlinePage(2));
    EXPECT_TRUE(OpenOnlinePage(3));
    WriteRegDword(HKEY_CURRENT_USER, GetAppRegistryKey(), "OnlineMessageLastId_en", 18);
    EXPECT_TRUE(OpenOnlinePage(1));
    EXPECT_FALSE(OpenOnlinePage(0));
    EXPECT_FALSE(OpenOnlinePage(4));

    const QString page = "https://store.example/kv/via.asp";
    EXPECT_EQ(m_opened, QStringList({page + "?lang=en&msgid=17&elapsed=0&cmd=support",
                                     page + "?lang=en&msgid=17&elapsed=0&cmd=smtpserverlist",
                                     page + "?lang=en&msgid=18&elapsed=0&cmd=visit"}));
}

TEST_F(Launchers, OpenWithShellReportsSuccessWhateverTheDesktopDoes)
{
    EXPECT_TRUE(OpenWithShell("/tmp/some file.html"));
    EXPECT_EQ(m_opened, QStringList{"/tmp/some file.html"});
}

TEST_F(Launchers, IntroMovieStartsTheLanguagesIntroProgram)
{
    WriteRegString(HKEY_LOCAL_MACHINE, GetAppRegistryKey(), "SystemPath", m_home.filePath("data"));
    InitAppPaths();
    EXPECT_FALSE(RunIntroMovie("en"));

    const QString folder = m_home.filePath("data/help/intro/en");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString marker = m_home.filePath("intro-ran");
    QFile program(folder + "/intro.exe");
    ASSERT_TRUE(program.open(QIODevice::WriteOnly));
    program.write("#!/bin/sh\ntouch '" + marker.toUtf8() + "'\n");
    program.close();
    EXPECT_FALSE(RunIntroMovie("en")); // not executable
    program.setPermissions(program.permissions() | QFileDevice::ExeOwner);

    EXPECT_TRUE(RunIntroMovie("en"));
    QDeadlineTimer deadline(10000);
    while (!QFile::exists(marker) && !deadline.hasExpired())
        QThread::msleep(10);
    EXPECT_TRUE(QFile::exists(marker));
    EXPECT_FALSE(RunIntroMovie("de"));
}
