#include "ShellTestSupport.h"

#include "app/MainWindowPlacement.h"
#include "controls/ControlTestSupport.h"
#include "dialogs/DialogTestSupport.h"

#include <QFile>
#include <QFileInfo>
#include <QScreen>

using namespace ShellTest;

namespace
{
bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The application object with its message boxes written down instead of shown.
class RecordingProgram : public CKelvora
{
public:
    int DoMessageBox(const QString& prompt, UINT type, UINT) override
    {
        messages << prompt;
        types << type;
        return IDOK;
    }
    QStringList messages;
    QList<UINT> types;
};

// Starts with the arguments, as the program would be started with them.
class Startup : public ShellProgram
{
protected:
    RecordingProgram& Program(const QStringList& arguments = {})
    {
        auto app = std::make_unique<RecordingProgram>();
        app->m_programFile = Path("program/kelvora");
        app->m_fileAttempts = 2;
        app->m_filePauseMs = 10;
        app->m_arguments = arguments;
        app->m_lpCmdLine = arguments.join(u' ');
        QDir().mkpath(Path("program"));
        RecordingProgram& program = *app;
        m_app = std::move(app);
        return program;
    }
};
} // namespace

TEST(MainWindowPlacement, SavedPlacementIsTakenUnlessShiftIsHeld)
{
    struct Case
    {
        const char* name;
        QSize screen;
        bool shift;
        std::optional<QString> rect;
        std::optional<quint32> showCommand;
        CRect expected;
        std::optional<int> expectedShow;
    };
    const Case cases[] = {
        {"small screen, nothing saved", {800, 600}, false, {}, {}, {0, 0, 800, 600}, {}},
        {"large screen, nothing saved", {1280, 1024}, false, {}, {}, {128, 128, 1152, 896}, {}},
        {"saved", {1280, 1024}, false, "10,20,810,620", 1, {10, 20, 810, 620}, 1},
        {"three numbers keep the default", {1280, 1024}, false, "10,20,810", 3, {128, 128, 1152, 896}, 3},
        {"leading digits, a sign, none", {1280, 1024}, false, " -5,x7,100px,200", {}, {-5, 0, 100, 200}, {}},
        {"Shift ignores both", {1280, 1024}, true, "10,20,810,620", 3, {128, 128, 1152, 896}, {}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        const MainWindowPlacement placement =
            MainWindowPlacement::Compute(c.screen.width(), c.screen.height(), c.shift, c.rect, c.showCommand);
        EXPECT_EQ(placement.rect, c.expected);
        EXPECT_EQ(placement.showCommand, c.expectedShow);
    }
}

TEST(MainWindowPlacement, AMinimisedWindowComesBackNormal)
{
    const std::pair<quint32, int> cases[] = {{SW_SHOWMINIMIZED, SW_SHOWNORMAL},
                                             {SW_MINIMIZE, SW_SHOWNORMAL},
                                             {SW_SHOWMAXIMIZED, SW_SHOWMAXIMIZED},
                                             {SW_SHOWNORMAL, SW_SHOWNORMAL}};
    for (const auto& [saved, applied] : cases)
        EXPECT_EQ(MainWindowPlacement::Compute(800, 600, false, {}, saved).ShowCommandToApply(), applied)
            << saved;
}

TEST_F(Startup, TheWindowComesBackWhereItWasClosed)
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    WriteAppSettingString(HKEY_CURRENT_USER, "WindowNormalRect", "30,40,630,580");
    WriteAppSettingDword(HKEY_CURRENT_USER, "WindowShowCmd", SW_SHOWMINIMIZED);
    Program();
    CMainWnd& window = StartProgram();
    EXPECT_FALSE(window.GetSafeHwnd()->isMinimized()) << "a minimised window comes back normal";
    EXPECT_EQ(window.GetSafeHwnd()->geometry(), QRect(30, 40, 600, 540)) << "screen " << screen.width();

    window.MoveWindow(50, 60, 700, 560);
    window.SendMessage(WM_COMMAND, ID_APP_EXIT);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_app->GetMainWnd()->IsWindow(); }, 5000))
        << "Exit destroys the window";
    QString rect;
    quint32 show = 0;
    ReadAppSettingString(HKEY_CURRENT_USER, "WindowNormalRect", rect);
    ReadAppSettingDword(HKEY_CURRENT_USER, "WindowShowCmd", show);
    EXPECT_EQ(rect, "50,60,750,620");
    EXPECT_EQ(show, quint32(SW_SHOWNORMAL));
}

TEST_F(Startup, LanguageModuleIsLoadedForAnyCodeButExactlyEn)
{
    WriteAppSettingString(HKEY_LOCAL_MACHINE, "SystemPath", Path("data"));
    struct Case
    {
        const char* name;
        std::optional<QString> lang;
        QStringList messages;
    };
    const Case cases[] = {
        {"absent", {}, {}},
        {"empty", "", {}},
        {"exactly en", "en", {}},
        {"EN is another code",
         "EN",
         {"Can't load resource library for language (langcode = EN)\nReverting to English"}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        if (c.lang)
            WriteAppSettingString(HKEY_CURRENT_USER, "Lang", *c.lang);
        RecordingProgram& program = Program();
        InitAppPaths();
        program.LoadLanguageModule();
        EXPECT_EQ(GetLanguageCode(), "en");
        EXPECT_EQ(program.messages, c.messages);
        if (!c.messages.isEmpty())
        {
            EXPECT_EQ(program.types.value(0), UINT(MB_ICONERROR));
        }
    }
}

TEST_F(Startup, APendingLanguageModuleReplacesTheOldOneBeforeItIsLoaded)
{
    WriteAppSettingString(HKEY_LOCAL_MACHINE, "SystemPath", Path("data"));
    WriteAppSettingString(HKEY_CURRENT_USER, "Lang", "de");
    ASSERT_TRUE(WriteFile(Path("data/KelvoraResde.rcc"), "an old module the update replaces"));
    ScopedResourceModule module;
    module.AddFile("strings/de.txt", "3002\tde\n12900\tKelvora - Deutsch\n");
    ASSERT_TRUE(module.Compile(Path("data/KelvoraResde_new.rcc")));
    RecordingProgram& program = Program();
    InitAppPaths();
    program.FinishPendingUpdates();
    EXPECT_FALSE(QFileInfo::exists(Path("data/KelvoraResde_new.rcc")));
    program.LoadLanguageModule();
    EXPECT_TRUE(program.messages.isEmpty()) << program.messages.join(' ').toStdString();
    EXPECT_EQ(GetLanguageCode(), "de");
    EXPECT_EQ(LoadAppString(12900), "Kelvora - Deutsch");
}

TEST_F(Startup, PendingUpdaterIsFinishedInTheProgramFolderNotTheCurrentOne)
{
    ASSERT_TRUE(WriteFile(Path("program/kelvora_va"), "old updater"));
    ASSERT_TRUE(WriteFile(Path("program/kelvora_va_new"), "new updater"));
    ASSERT_TRUE(WriteFile(Path("elsewhere/kelvora_va_new"), "not ours"));
    const QString previous = QDir::currentPath();
    QDir::setCurrent(Path("elsewhere"));
    Program().FinishPendingUpdates();
    QDir::setCurrent(previous);
    EXPECT_EQ(ReadFile(Path("program/kelvora_va")), "new updater");
    EXPECT_FALSE(QFileInfo::exists(Path("program/kelvora_va_new")));
    EXPECT_EQ(ReadFile(Path("elsewhere/kelvora_va_new")), "not ours");
    EXPECT_FALSE(QFileInfo::exists(Path("elsewhere/kelvora_va")));
}

TEST_F(Startup, RestartSwitchesActOnlyOnFilesOfTheProgramFolder)
{
    ASSERT_TRUE(WriteFile(Path("victim"), "outside the program folder"));
    ASSERT_TRUE(WriteFile(Path("program/sub/victim"), "in a sub-folder"));
    ASSERT_TRUE(WriteFile(Path("program/kelvora_old"), "the copy that started us"));
    struct Case
    {
        QString commandLine;
        bool goesOn;
        bool restart;
        QString removed;
        QString kept;
    };
    const Case cases[] = {
        {"-restart_cleanup:\"../victim\"", true, false, {}, Path("victim")},
        {"-restart_cleanup:\"sub/victim\"", true, false, {}, Path("program/sub/victim")},
        {"-restart_cleanup:\"\"", true, false, {}, {}},
        {"-restart:\"../victim\"", true, false, {}, Path("victim")},
        {"-restart_cleanup:\"kelvora_old", true, false, {}, Path("program/kelvora_old")},
        {"-restart_cleanup:\"kelvora_old\" June.kvnl", true, true, Path("program/kelvora_old"), {}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.commandLine.toStdString());
        RecordingProgram& program = Program(c.commandLine.split(u' '));
        EXPECT_EQ(program.HandleSwitches(), c.goesOn);
        EXPECT_EQ(ReadFile(Path("victim")), "outside the program folder");
        if (!c.kept.isEmpty())
        {
            EXPECT_TRUE(QFileInfo::exists(c.kept));
        }
        if (!c.removed.isEmpty())
        {
            EXPECT_FALSE(QFileInfo::exists(c.removed));
        }
    }
}

TEST_F(Startup, RestartCopiesTheProgramAndStartsTheCopyWhichCleansUp)
{
    // The "program" is a script that notes how it was started; the note appears whole, so that the
    // test never reads it half written.
    const QString marker = Path("started-with");
    ASSERT_TRUE(WriteFile(Path("program/kelvora"), "#!/bin/sh\nprintf '%s' \"$*\" > '" + marker.toUtf8() +
                                                       ".part' && mv '" + marker.toUtf8() + ".part' '" +
                                                       marker.toUtf8() + "'\n"));
    QFile::setPermissions(Path("program/kelvora"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    RecordingProgram& program = Program({"-restart:\"kelvora_next\""});
    EXPECT_TRUE(program.InitInstance()) << "the start ends without a window";
    EXPECT_EQ(program.GetMainWnd(), nullptr);
    EXPECT_EQ(ReadFile(Path("program/kelvora_next")), ReadFile(Path("program/kelvora")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(marker); }, 10000));
    EXPECT_EQ(ReadFile(marker), "-restart_cleanup:\"kelvora\"");
}

TEST_F(Startup, TheUpdateCheckRunsWhenAskedForAndMayEndTheStart)
{
    struct Case
    {
        const char* name;
        std::optional<quint32> updateOnStart;
        QStringList arguments;
        bool endsProgram;
        bool checked;
        bool started;
    };
    const Case cases[] = {
        {"absent counts as on", {}, {}, false, true, true},
        {"off", 0, {}, false, false, true},
        {"off, but an update file named", 0, {"-updateforvista:\"update.kvu\""}, false, true, true},
        {"the check ends the program", 1, {}, true, true, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        ShellHooks::Get() = ShellHooks();
        if (c.updateOnStart)
            WriteAppSettingDword(HKEY_CURRENT_USER, "UpdateOnStart", *c.updateOnStart);
        bool checked = false;
        ShellHooks::Get().runUpdate = [&](CWnd* parent, bool automatic)
        {
            checked = true;
            EXPECT_EQ(parent, nullptr);
            EXPECT_TRUE(automatic);
            return c.endsProgram;
        };
        RecordingProgram& program = Program(c.arguments);
        EXPECT_EQ(program.InitInstance(), c.started);
        EXPECT_EQ(checked, c.checked);
        EXPECT_EQ(program.GetMainWnd() != nullptr, c.started);
        if (!c.arguments.isEmpty())
        {
            EXPECT_EQ(ShellHooks::Get().updateFile, Path("program/update.kvu"));
        }
        if (c.started)
        {
            EXPECT_EQ(program.GetContext()->GetUnsubscribeText(),
                      "You have now been removed from this Mailing List.");
        }
        StopProgram();
    }
}

TEST_F(Startup, TheDocumentOnTheCommandLineOpensWhenTheSplashEnds)
{
    const QString path = Document("June.kvnl");
    ASSERT_TRUE(WriteNewsletter(path, "June"));
    struct Case
    {
        QStringList arguments;
        bool opened;
    };
    const Case cases[] = {
        {{path}, true},
        {{"-restart_cleanup:\"gone\"", path}, false},
        {{Document("Missing.kvnl")}, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        RecordingProgram& program = Program(c.arguments);
        // Without a document to open, the end of the splash leads to the Intro Menu.
        bool introMenu = false;
        ShellHooks::Get().runIntroMenu = [&introMenu](CKVContext*, CWnd*)
        {
            introMenu = true;
            return 2u;
        };
        StartProgram();
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return introMenu || program.GetContext()->GetCurrentNewsletter() != nullptr; }, 10000));
        EXPECT_EQ(program.GetContext()->GetCurrentNewsletter() != nullptr, c.opened);
        EXPECT_EQ(introMenu, !c.opened);
        EXPECT_EQ(program.messages.size(), c.opened || c.arguments.size() > 1 ? 0 : 1)
            << "a missing file says so";
        StopProgram();
    }
}

TEST_F(Startup, ToolsOpensTheSiteAccountManager)
{
    Program();
    CMainWnd& window = StartProgram();
    DialogTest::ModalScript script;
    script.ThenTitled(QStringLiteral("Manage Quorvane"),
                      [](QWidget* dialog) { DialogTest::ClickButton(dialog, QStringLiteral("Close")); });
    script.Start();
    window.SendMessage(WM_COMMAND, ID_TOOLS_SITE_ACCOUNTS);
    EXPECT_TRUE(script.Finished());
    StopProgram();
}
