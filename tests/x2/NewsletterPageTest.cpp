#include "x2/X2TestSupport.h"
#include "x2/X2Validator.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

// Real-world pages (tables, inline styles, comments, scripts, PHP and ASP blocks, entities,
// malformed nesting) are parsed and written back; the written bytes are compared with the
// page as downstream code expects it. A failing case leaves its output in the artifact folder.
namespace
{
QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

QString ArtifactPath(const QString& name)
{
    QDir().mkpath(QStringLiteral(KV_ARTIFACT_DIR "/x2"));
    return QStringLiteral(KV_ARTIFACT_DIR "/x2/") + name;
}

void WriteArtifact(const QString& name, const QByteArray& bytes)
{
    QFile file(ArtifactPath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QByteArray ParseAndWrite(const QByteArray& page)
{
    CX2Validator document;
    EXPECT_TRUE(document.ParseHtml(QString::fromUtf8(page)));
    QString html;
    document.WriteHtml(html);
    return html.toUtf8();
}

// xmllint is not given the XHTML DTD (no network), so it reports HTML's named entities as
// undefined; everything else it reports is a real fault of the written page.
QStringList WellFormednessErrors(const QString& path)
{
    QProcess xmllint;
    xmllint.start(QStringLiteral("xmllint"), {QStringLiteral("--noout"), QStringLiteral("--nonet"), path});
    EXPECT_TRUE(xmllint.waitForFinished(30000));
    QStringList errors;
    const QStringList lines = QString::fromUtf8(xmllint.readAllStandardError()).split(QLatin1Char('\n'));
    for (const QString& line : lines)
    {
        if (line.contains(QLatin1String(" error ")) && !line.contains(QLatin1String("not defined")))
            errors.append(line);
    }
    if (xmllint.exitStatus() != QProcess::NormalExit || xmllint.exitCode() != 0)
        errors.append(QStringLiteral("xmllint exit code %1").arg(xmllint.exitCode()));
    return errors;
}

class NewsletterPage : public testing::TestWithParam<const char*>
{
};
} // namespace

TEST_P(NewsletterPage, IsWrittenBackByteForByteAndStable)
{
    const QString name = QString::fromLatin1(GetParam());
    const QByteArray page = ReadFile(QStringLiteral(KV_TEST_DATA_DIR "/") + name);
    const QByteArray written = ParseAndWrite(page);
    const QByteArray expected = ReadFile(QStringLiteral(KV_TEST_DATA_DIR "/written/") + name);
    if (written != expected)
        WriteArtifact(name, written);
    EXPECT_EQ(written.toStdString(), expected.toStdString());
    // What the writer produced reads back into the same page.
    EXPECT_EQ(ParseAndWrite(written).toStdString(), written.toStdString());
}

INSTANTIATE_TEST_SUITE_P(Fixtures, NewsletterPage,
                         testing::Values("autumn-newsletter.html", "malformed-newsletter.html", "webview.php",
                                         "webview.asp"),
                         [](const testing::TestParamInfo<const char*>& info)
                         {
                             std::string name = info.param;
                             for (char& c : name)
                                 c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
                         });

TEST(NewsletterPageXml, WrittenPagesAreWellFormed)
{
    for (const char* name : {"autumn-newsletter.html", "malformed-newsletter.html"})
    {
        const QByteArray written =
            ParseAndWrite(ReadFile(QStringLiteral(KV_TEST_DATA_DIR "/") + QString::fromLatin1(name)));
        const QString artifact = QString::fromLatin1(name) + QStringLiteral(".xml");
        WriteArtifact(artifact, written);
        EXPECT_EQ(WellFormednessErrors(ArtifactPath(artifact)), QStringList()) << name;
    }
}

TEST(NewsletterPageXml, CheckerRejectsWhatTheWriterMustNotProduce)
{
    // The raw page, before our parser and writer, is not well-formed: the check has teeth.
    const QString raw = QStringLiteral(KV_TEST_DATA_DIR "/malformed-newsletter.html");
    EXPECT_NE(WellFormednessErrors(raw), QStringList());
}
