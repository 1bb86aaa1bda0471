// The online updater against a store and a package server on 127.0.0.1: what the store's reply
// may hold, how the list shows packages, and which downloads are installed and recorded.
#include "ServicesUiSupport.h"
#include "support/PhpServer.h"
#include "support/ScriptedHttpServer.h"

#include "base/AppSettings.h"
#include "base/Md5Digest.h"
#include "platform/ui/ListCtrl.h"
#include "services/UpdateReply.h"
#include "servicesui/DlgUpdate.h"
#include "x2/X2TransformXmlFennick.h"
#include "x2/X2Validator.h"

#include <QDirIterator>
#include <QProcess>

#include <gtest/gtest.h>

using namespace DialogTest;
using namespace ServicesUi;

namespace
{
constexpr int IdList = 1344;
const QString StorePath = QStringLiteral("/kv/update.asp");

QString PackageElement(const QString& type, int id, const QString& name, const QString& url, qint64 size,
                       const QString& md5, const QString& date = "2008,5,17,10,30,0")
{
    return QStringLiteral("<package type=\"%1\" id=\"%2\" name=\"%3\" description=\"d\" fileurl=\"%4\" "
                          "filesize=\"%5\" md5=\"%6\" date=\"%7\"/>")
        .arg(type)
        .arg(id)
        .arg(name, url)
        .arg(size)
        .arg(md5, date);
}

QString Reply(const QString& packages, const QString& status = "ok")
{
    return "<?xml version=\"1.0\"?><kvupdates status=\"" + status + "\">" + packages + "</kvupdates>";
}

QString Md5(const QByteArray& bytes)
{
    return CMd5Digest(bytes.constData(), int(bytes.size())).GetDigest();
}

CListCtrl* List(QWidget* dialog)
{
    return dynamic_cast<CListCtrl*>(CWnd::FromHandle(dialog)->GetDlgItem(IdList));
}

// Answers every message box with OK, keeping its text.
class BoxAnswers
{
public:
    explicit BoxAnswers(QStringList& texts)
    {
        QObject::connect(&m_watch, &QTimer::timeout,
                         [&texts]
                         {
                             QWidget* modal = QApplication::activeModalWidget();
                             if (!modal || !modal->inherits("QMessageBox") || !modal->isVisible())
                                 return;
                             texts.append(modal->property("text").toString());
                             ClickButton(modal, "OK");
                         });
        m_watch.start(10);
    }

private:
    QTimer m_watch;
};

// The check run at start-up shows nothing; Check for Updates shows one box that begins with `told`.
void ExpectQuietAtStartUpAndTold(const QString& told)
{
    QStringList boxes;
    const BoxAnswers answers(boxes);
    for (const bool automatic : {true, false})
    {
        boxes.clear();
        CDlgUpdate dialog(automatic);
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
        if (automatic)
            EXPECT_TRUE(boxes.isEmpty()) << boxes.join('|').toStdString();
        else
            EXPECT_TRUE(boxes.size() == 1 && boxes[0].startsWith(told)) << boxes.join('|').toStdString();
    }
}

class Updater : public testing::Test
{
protected:
    Updater()
    {
        qputenv("XDG_CACHE_HOME", QFile::encodeName(m_cache.path()));
        QDir(m_packages.path()).mkpath(".");
        WriteFile(m_packages.filePath("slow.php"),
                  "<?php $bytes = file_get_contents(__DIR__ . '/' . basename($_GET['f']));\n"
                  "header('Content-Type: application/zip');\n"
                  "header('Content-Length: ' . strlen($bytes));\n"
                  "foreach (str_split($bytes, 2048) as $part) { echo $part; flush(); usleep(60000); }\n");
        WriteFile(Data("templates/a.htm"), "old");
        WriteAppSettingString(HKEY_LOCAL_MACHINE, "StoreAddress", m_store.Url(""));
    }
    ~Updater() override { qunsetenv("XDG_CACHE_HOME"); }

    static void WriteFile(const QString& path, const QByteArray& bytes)
    {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    static QByteArray ReadFile(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    QString Data(const QString& name) const { return m_settings.Folder("data/" + name); }

    // A zip file of the entries (name, text) on the package server; its bytes.
    QByteArray MakeZip(const QString& zipName, const QStringList& entries)
    {
        QStringList arguments{
            "-c",
            "import sys, zipfile\n"
            "with zipfile.ZipFile(sys.argv[1], 'w', zipfile.ZIP_STORED) as z:\n"
            "    for i in range(2, len(sys.argv), 2): z.writestr(sys.argv[i], sys.argv[i + 1])\n",
            m_packages.filePath(zipName)};
        arguments += entries;
        EXPECT_EQ(QProcess::execute("/usr/bin/python3", arguments), 0);
        return ReadFile(m_packages.filePath(zipName));
    }

    quint32 RecordedId() const
    {
        quint32 id = 0;
        ReadRegDword(HKEY_CURRENT_USER, GetAppRegistryKey(), "UpdateId_en", id);
        return id;
    }

    ScopedSettings m_settings{true};
    QTemporaryDir m_cache;
    QTemporaryDir m_packages;
    PhpServer m_files{m_packages.path()};
    ScriptedHttpServer m_store;
};
} // namespace

TEST(UpdateList, SizesAndStatusesAsTheListShowsThem)
{
    EXPECT_EQ(CDlgUpdate::SizeText(1023), "1023");
    EXPECT_EQ(CDlgUpdate::SizeText(1024), "1 KB");
    EXPECT_EQ(CDlgUpdate::SizeText(1048575), "1023 KB");
    EXPECT_EQ(CDlgUpdate::SizeText(1048576), "1 MB");
    EXPECT_EQ(CDlgUpdate::SizeText(5 * 1048576 + 7), "5 MB");
    struct Case
    {
        int downloaded;
        int size;
        const char* status;
    };
    for (const Case& c :
         {Case{0, 100, "-"}, Case{1, 1000, "0%"}, Case{99, 100, "99%"}, Case{999, 1000, "99%"},
          Case{100, 100, "Done!"}, Case{2147483000, 2147483600, "99%"}})
    {
        UpdatePackage package;
        package.size = c.size;
        package.bytesDownloaded = c.downloaded;
        EXPECT_EQ(CDlgUpdate::StatusText(package), c.status) << c.downloaded << "/" << c.size;
    }
}

TEST(UpdateReplyReader, ChecksEveryPackageAndStopsAfterTheFirstPatch)
{
    const QString good = PackageElement("files", 1, "A", "http://x/a.zip", 10, "m");
    struct Case
    {
        QString reply;
        int result;
        std::vector<int> ids;
    };
    const Case cases[] = {
        {Reply(good), UpdateReply::Packages, {1}},
        {Reply(good, "OK"), UpdateReply::Invalid, {}},
        {"<other status=\"ok\"/>", UpdateReply::Invalid, {}},
        {Reply(""), UpdateReply::NoPackages, {}},
        {"<wrap>" +
             Reply(good + PackageElement("files", 2, "B", "u", 1, "") +
                   PackageElement("patch", 3, "C", "u", 1, "") +
                   PackageElement("files", 4, "D", "u", 1, "")) +
             "</wrap>",
         UpdateReply::Packages,
         {1, 2, 3}},
        {Reply(good + PackageElement("Patch", 2, "B", "u", 1, "")), UpdateReply::Invalid, {1}},
        {Reply(PackageElement("files", 0, "A", "u", 1, "")), UpdateReply::Invalid, {}},
        {Reply(PackageElement("files", 1, "", "u", 1, "")), UpdateReply::Invalid, {}},
        {Reply(PackageElement("files", 1, "A", "", 1, "")), UpdateReply::Invalid, {}},
        {Reply(PackageElement("files", 1, "A", "u", 0, "")), UpdateReply::Invalid, {}},
        {Reply(PackageElement("files", 1, "A", "u", 1, "", "2008,5,17")), UpdateReply::Invalid, {}},
        {Reply(PackageElement("files", 1, "A", "u", 1, "").replace("id=\"1\"", "id=\"1x\"")),
         UpdateReply::Invalid,
         {}},
    };
    for (const Case& c : cases)
    {
        CX2Validator reply;
        ASSERT_TRUE(reply.Parse(c.reply, CX2TransformXmlFennick())) << c.reply.toStdString();
        std::vector<UpdatePackage> packages;
        EXPECT_EQ(UpdateReply::Read(reply, packages), c.result) << c.reply.toStdString();
        std::vector<int> ids;
        for (const UpdatePackage& package : packages)
            ids.push_back(package.id);
        EXPECT_EQ(ids, c.ids) << c.reply.toStdString();
    }
}

TEST_F(Updater, AGoodPackageIsInstalledWholeAndRecorded)
{
    // Large enough to arrive in several parts, slowly.
    const QString big(20000, QLatin1Char('x'));
    const QByteArray zip = MakeZip(
        "good.zip", {"templates/a.htm", "new", "templates/b/c.htm", "added", "templates/big.htm", big});
    m_store.SetReply(StorePath,
                     Reply(PackageElement("files", 7, "Templates", m_files.Url("slow.php?f=good.zip"),
                                          zip.size(), Md5(zip).toUpper())));
    CDlgUpdate dialog(false);

    QStringList statuses;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout,
                     [&]
                     {
                         QWidget* window = dialog.GetSafeHwnd();
                         CListCtrl* list = window ? List(window) : nullptr;
                         if (!list || list->GetItemCount() == 0)
                             return;
                         const QString status = list->GetItemText(0, 3);
                         if (statuses.isEmpty() || statuses.last() != status)
                             statuses.append(status);
                         if (status.endsWith('%') &&
                             !QFileInfo::exists(ArtifactPath("dialog_209_downloading.png")))
                             SaveArtifact(dialog, "dialog_209_downloading.png");
                     });
    QFile::remove(ArtifactPath("dialog_209_downloading.png"));
    watch.start(10);

    ModalScript script;
    script
        .ThenTitled("Update",
                    [&](QWidget* window)
                    {
                        CListCtrl* list = List(window);
                        ASSERT_EQ(list->GetItemCount(), 1);
                        EXPECT_EQ(list->GetItemText(0, 0), "7");
                        EXPECT_EQ(list->GetItemText(0, 1), "Templates");
                        EXPECT_EQ(list->GetItemText(0, 2), QString::number(zip.size() / 1024) + " KB");
                        EXPECT_EQ(list->GetItemText(0, 3), "-");
                        Click(*CWnd::FromHandle(window), IDOK);
                    })
        .ThenShowing("Update complete!", [](QWidget* box) { ClickButton(box, "OK"); });
    script.Start();
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(script.Finished());
    EXPECT_FALSE(dialog.m_restart);

    EXPECT_EQ(ReadFile(Data("templates/a.htm")), "new");
    EXPECT_EQ(ReadFile(Data("templates/b/c.htm")), "added");
    EXPECT_EQ(RecordedId(), 7u);
    EXPECT_EQ(m_store.Requests(), QStringList{StorePath + "?lang=en&updateid=0"});
    EXPECT_TRUE(
        std::any_of(statuses.begin(), statuses.end(), [](const QString& s) { return s.endsWith('%'); }));
    EXPECT_TRUE(QFileInfo::exists(ArtifactPath("dialog_209_downloading.png")));
    // Nothing of the download or the staging is left behind.
    EXPECT_TRUE(QDir(m_cache.path() + "/kv_tests_servicesui/updates").isEmpty());
    EXPECT_EQ(QDir(Data("")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"templates"});

    // The next query asks for what came after.
    m_store.ClearRequests();
    EXPECT_EQ(dialog.QueryUpdates(), CDlgUpdate::UpdatesFound);
    EXPECT_EQ(m_store.Requests(), QStringList{StorePath + "?lang=en&updateid=7"});
}

TEST_F(Updater, APatchWithANewProgramHandsOverToIt)
{
    const QString program = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    const QByteArray zip =
        MakeZip("patch.zip", {program + "_new", "#!/bin/sh\necho \"$@\" > \"$(dirname \"$0\")/started\"\n",
                              "lang/de.rcc", "x"});
    m_store.SetReply(StorePath, Reply(PackageElement("patch", 12, "Kelvora 2.1", m_files.Url("patch.zip"),
                                                     zip.size(), Md5(zip))));
    CDlgUpdate dialog(false);
    QStringList told;
    ModalScript script;
    script.ThenTitled("Update", [](QWidget* window) { Click(*CWnd::FromHandle(window), IDOK); })
        .Then([](QWidget* w) { return w->inherits("QMessageBox"); },
              [&](QWidget* box)
              {
                  told.append(box->property("text").toString());
                  ClickButton(box, "OK");
              });
    script.Start();
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(dialog.m_restart);
    EXPECT_EQ(told, QStringList{"Update complete! Kelvora must be restarted to complete the update."});
    EXPECT_EQ(RecordedId(), 12u);
    EXPECT_EQ(ReadFile(m_settings.Folder("program/lang/de.rcc")), "x");
    const QString started = m_settings.Folder("program/started");
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFileInfo(started).size() > 0; }, 10000));
    EXPECT_EQ(ReadFile(started).trimmed(), "-restart:\"" + program.toUtf8() + "\"");
}

TEST_F(Updater, DamagedPackagesAreRefusedAndNotRecorded)
{
    const QByteArray zip = MakeZip("good.zip", {"templates/a.htm", "new"});
    const QByteArray escaping = MakeZip("escaping.zip", {"templates/a.htm", "new", "../escaped.htm", "x"});
    struct Case
    {
        const char* name;
        QString file;
        qint64 size;
        QString md5;
    };
    const Case cases[] = {
        {"tampered", "good.zip", zip.size(), Md5(zip + "x")},
        {"truncated", "good.zip", zip.size() + 10, Md5(zip)},
        {"oversized", "good.zip", zip.size() - 10, Md5(zip.left(zip.size() - 10))},
        {"escaping", "escaping.zip", escaping.size(), Md5(escaping)},
        {"unreachable", "missing.zip", zip.size(), Md5(zip)},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        m_store.SetReply(StorePath,
                         Reply(PackageElement("files", 8, c.name, m_files.Url(c.file), c.size, c.md5)));
        CDlgUpdate dialog(false);
        ModalScript script;
        script.ThenTitled("Update", [](QWidget* window) { Click(*CWnd::FromHandle(window), IDOK); })
            .ThenShowing(QStringLiteral("The update \"%1\" did not arrive whole and unchanged.").arg(c.name),
                         [](QWidget* box) { ClickButton(box, "OK"); })
            .ThenAgain([&](QWidget* w) { return w == dialog.GetSafeHwnd(); },
                       [&](QWidget* window)
                       {
                           EXPECT_EQ(List(window)->GetItemText(0, 3), "-");
                           ClickButton(window, "Cancel");
                       });
        script.Start();
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
        EXPECT_TRUE(script.Finished());
        EXPECT_EQ(RecordedId(), 0u);
        EXPECT_EQ(ReadFile(Data("templates/a.htm")), "old");
        EXPECT_FALSE(QFileInfo::exists(Data("escaped.htm")));
        EXPECT_FALSE(QFileInfo::exists(m_settings.Folder("escaped.htm")));
        EXPECT_EQ(QDir(Data("")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                  QStringList{"templates"});
    }
}

TEST_F(Updater, AStartUpCheckStaysQuietWhenThereIsNothingToDo)
{
    struct Case
    {
        QString reply;
        QString told;
    };
    for (const Case& c : {Case{Reply(""), "No updates available."},
                          Case{Reply("", "failed"), "Can't connect to update server."},
                          Case{"<kvupdates", "Can't connect to update server."}})
    {
        m_store.SetReply(StorePath, c.reply);
        ExpectQuietAtStartUpAndTold(c.told);
    }
}

TEST_F(Updater, WithoutAStoreNothingIsAskedAndCheckForUpdatesSaysSo)
{
    WriteAppSettingString(HKEY_LOCAL_MACHINE, "StoreAddress", "");
    m_store.SetReply(StorePath, Reply(""));
    ExpectQuietAtStartUpAndTold("No update source is set.");
    EXPECT_TRUE(m_store.Requests().isEmpty());
}

TEST_F(Updater, APackageThatFailsHalfWayLeavesTheInstalledFilesAsTheyWere)
{
    // A folder of the data folder that lives on another file system: a file cannot be renamed
    // into it, so the install fails after the files before it went in.
    QTemporaryDir elsewhere(QStringLiteral("/dev/shm/kv-update-XXXXXX"));
    if (!elsewhere.isValid())
        GTEST_SKIP() << "no second file system at /dev/shm";
    WriteFile(elsewhere.filePath("f.htm"), "old f");
    ASSERT_TRUE(QFile::link(elsewhere.path(), Data("templates/m")));
    WriteFile(Data("templates/z.htm"), "old z");
    const QByteArray zip = MakeZip("half.zip", {"templates/a.htm", "new a", "templates/b.htm", "added b",
                                                "templates/m/f.htm", "new f", "templates/z.htm", "new z"});
    m_store.SetReply(
        StorePath, Reply(PackageElement("files", 9, "Half", m_files.Url("half.zip"), zip.size(), Md5(zip))));
    CDlgUpdate dialog(false);
    ModalScript script;
    script.ThenTitled("Update", [](QWidget* window) { Click(*CWnd::FromHandle(window), IDOK); })
        .ThenShowing(QStringLiteral("The update \"Half\" did not arrive whole and unchanged."),
                     [](QWidget* box) { ClickButton(box, "OK"); })
        .ThenAgain([&](QWidget* w) { return w == dialog.GetSafeHwnd(); },
                   [&](QWidget* window) { ClickButton(window, "Cancel"); });
    script.Start();
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(RecordedId(), 0u);
    EXPECT_EQ(ReadFile(Data("templates/a.htm")), "old");
    EXPECT_EQ(ReadFile(Data("templates/m/f.htm")), "old f");
    EXPECT_EQ(ReadFile(Data("templates/z.htm")), "old z");
    EXPECT_FALSE(QFileInfo::exists(Data("templates/b.htm")));
    EXPECT_EQ(QDir(Data("")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"templates"});
}
