#include "MailDecoding.h"
#include "mail/Base64Encode.h"
#include "mail/MailMessageSupport.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

#include <random>

namespace
{
const QString Seed = QStringLiteral("_Part_1234ABC5678");
const QString From = QStringLiteral("news@example.org");
const QString To = QStringLiteral("reader@example.net");

CVexaMail MakeMail()
{
    return CVexaMail(QStringLiteral("mail.example.org"), QString(), 25, QString(), QString());
}

QByteArrayList HeaderNames(const QByteArray& message)
{
    QByteArrayList names;
    for (const HeaderLine& header : ReadHeaderBlock(message))
        names.append(header.name);
    return names;
}

QByteArray HeaderValue(const QByteArray& message, const QByteArray& name)
{
    for (const HeaderLine& header : ReadHeaderBlock(message))
    {
        if (header.name == name)
            return header.value;
    }
    return {};
}

TEST(MailMessage, MessageWithoutPartsHasTheFixedLayout)
{
    CVexaMail mail = MakeMail();
    mail.SetPlainTextBody(QStringLiteral("Hello\r\n\r\nWorld."));
    mail.SetHtmlBody(QStringLiteral("<p>Hello</p>"));
    const QByteArray message = BuildMessage(mail, From, QString(), To, QStringLiteral("Spring"), 0);

    EXPECT_EQ(HeaderNames(message),
              (QByteArrayList{"To", "From", "Subject", "Date", "Message-Id", "X-Mailer", "Content-Type",
                              "Mime-Version", "Content-Transfer-Encoding"}));
    EXPECT_EQ(HeaderValue(message, "To"), "reader@example.net");
    EXPECT_EQ(HeaderValue(message, "From"), "<news@example.org>");
    EXPECT_EQ(HeaderValue(message, "X-Mailer"), "Talvecor VaziRuzuro 1.0 (www.talvecor.com)");
    const QByteArray b1 = "_----------=_001_" + Seed.toLatin1();
    const QByteArray b2 = "_----------=_002_" + Seed.toLatin1();
    // Parameters that would pass 76 characters go on a continuation line.
    EXPECT_EQ(HeaderValue(message, "Content-Type"),
              "multipart/related; type=\"multipart/alternative\";\r\n\tboundary=\"" + b1 + "\"");
    const QByteArray afterHeaders = message.mid(message.indexOf("Content-Transfer-Encoding: 7bit\r\n"));
    EXPECT_EQ(afterHeaders, "Content-Transfer-Encoding: 7bit\r\n\r\n"
                            "This is a multi-part message in MIME format.\r\n"
                            "\r\n\r\n--" +
                                b1 +
                                "\r\n"
                                "Content-Type: multipart/alternative;\r\n\tboundary=\"" +
                                b2 +
                                "\"\r\n"
                                "Content-Transfer-Encoding: 7bit\r\n\r\n\r\n"
                                "\r\n--" +
                                b2 +
                                "\r\n"
                                "Content-Type: text/plain; charset=\"iso-8859-1\"\r\n"
                                "Content-Transfer-Encoding: Quoted-Printable\r\n\r\n"
                                "Hello\r\n\r\nWorld=2E\r\n"
                                "\r\n--" +
                                b2 +
                                "\r\n"
                                "Content-Type: text/html; charset=\"iso-8859-1\"\r\n"
                                "Content-Transfer-Encoding: Quoted-Printable\r\n\r\n"
                                "=3Cp=3EHello=3C/p=3E\r\n"
                                "\r\n--" +
                                b2 +
                                "--\r\n"
                                "\r\n--" +
                                b1 + "--\r\n");
}

TEST(MailMessage, CharsetsFollowTheTexts)
{
    CVexaMail mail = MakeMail();
    mail.SetPlainTextBody(QString::fromUtf8("Preis: 5 € oder Ⓐ"));
    mail.SetHtmlBody(QString::fromUtf8("<p>café</p>"));
    const QByteArray message = BuildMessage(mail, From, QString(), To, QString(), 0);
    EXPECT_TRUE(message.contains("Content-Type: text/plain; charset=\"utf-8\"\r\n"
                                 "Content-Transfer-Encoding: Quoted-Printable\r\n\r\n"
                                 "Preis: =35 =E2=82=AC oder =E2=92=B6\r\n"));
    EXPECT_TRUE(message.contains("Content-Type: text/html; charset=\"iso-8859-1\"\r\n"
                                 "Content-Transfer-Encoding: Quoted-Printable\r\n\r\n"
                                 "=3Cp=3Ecaf=26=23=32=33=33=3B=3C/p=3E\r\n"));
}

TEST(MailMessage, ImportanceHeader)
{
    const CVexaMail mail = MakeMail();
    EXPECT_FALSE(HeaderNames(BuildMessage(mail, From, QString(), To, QString(), 0)).contains("Importance"));
    EXPECT_EQ(HeaderValue(BuildMessage(mail, From, QString(), To, QString(), 1), "Importance"), "High");
    EXPECT_EQ(HeaderValue(BuildMessage(mail, From, QString(), To, QString(), 2), "Importance"), "Low");
}

TEST(MailMessage, DateIsUtcWithEnglishNames)
{
    // 2027-03-07 09:05:03 UTC, while the tests run in Berlin's zone.
    EXPECT_EQ(CVexaMail::FormatDate(1804410303), "Sun, 7 Mar 2027 09:05:03 +0000");
    EXPECT_EQ(CVexaMail::FormatDate(951782400), "Tue, 29 Feb 2000 00:00:00 +0000");
    EXPECT_EQ(CVexaMail::FormatDate(1798761599), "Thu, 31 Dec 2026 23:59:59 +0000");
}

TEST(MailMessage, DisplayNamesAreQuotedOrEncodedAndAddressesNeverAre)
{
    struct Case
    {
        QString name;
        QByteArray from;
    };
    const Case cases[] = {
        {"Spring News", "Spring News <news@example.org>"},
        {"Smith, John", "\"Smith, John\" <news@example.org>"},
        {"Say \"hi\" \\ (team)", "\"Say \\\"hi\\\" \\\\ (team)\" <news@example.org>"},
        {"=?utf-8?Q?x?=", "\"=?utf-8?Q?x?=\" <news@example.org>"},
        {QString::fromUtf8("Jörg, Büro"), "=?iso-8859-1?Q?J=F6rg=2C=20B=FCro?= <news@example.org>"},
    };
    const CVexaMail mail = MakeMail();
    for (const Case& c : cases)
        EXPECT_EQ(HeaderValue(BuildMessage(mail, From, c.name, To, QString(), 0), "From"), c.from);
    // The address follows a long encoded name on a line of its own rather than pass 76 characters.
    const QByteArray folded = HeaderValue(
        BuildMessage(mail, From, QString::fromUtf8("Gärtnerei Müller").repeated(5), To, QString(), 0),
        "From");
    EXPECT_TRUE(folded.endsWith("?=\r\n <news@example.org>")) << folded.toStdString();
    for (const QByteArray& line : ("From: " + folded).split('\n'))
        EXPECT_LE(line.chopped(line.endsWith('\r') ? 1 : 0).size(), 76) << line.toStdString();
    // A long address stays one plain address.
    const QString longAddress = QString(80, QLatin1Char('x')) + QStringLiteral("@example.org");
    EXPECT_EQ(HeaderValue(BuildMessage(mail, longAddress, QString(), longAddress, QString(), 0), "To"),
              longAddress.toLatin1());
}

TEST(MailMessage, OrganizationIsEncodedAndReplyToOnlyAPlainAddress)
{
    CVexaMail mail = MakeMail();
    mail.m_organization = QString::fromUtf8("Bäckerei Müller");
    mail.m_replyTo = QStringLiteral("  office@example.org ");
    QByteArray message = BuildMessage(mail, From, QString(), To, QString(), 0);
    EXPECT_EQ(HeaderValue(message, "Organization"), "=?iso-8859-1?Q?B=E4ckerei=20M=FCller?=");
    EXPECT_EQ(HeaderValue(message, "Reply-To"), "office@example.org");
    mail.m_replyTo = QStringLiteral("Office <office@example.org>");
    message = BuildMessage(mail, From, QString(), To, QString(), 0);
    EXPECT_FALSE(HeaderNames(message).contains("Reply-To"));
}

TEST(MailMessage, EveryMessageGetsItsOwnIdOnTheEhloDomain)
{
    CVexaMail mail = MakeMail();
    mail.MessageId = QStringLiteral("news___reader@mail.example.org");
    const QByteArray first = BuildMessage(mail, From, QString(), To, QString(), 0);
    const QByteArray second = BuildMessage(mail, From, QString(), To, QString(), 0);
    const QRegularExpression form(QStringLiteral("^<[0-9a-f-]{36}@mail\\.example\\.org>$"));
    EXPECT_TRUE(form.match(QString::fromLatin1(HeaderValue(first, "Message-Id"))).hasMatch());
    EXPECT_NE(HeaderValue(first, "Message-Id"), HeaderValue(second, "Message-Id"));
    EXPECT_EQ(HeaderValue(first, "X-KV-Message-Id"), "<news___reader@mail.example.org>");

    mail.m_ehloDomain.clear();
    EXPECT_TRUE(HeaderValue(BuildMessage(mail, From, QString(), To, QString(), 0), "Message-Id")
                    .endsWith("@example.org>"));
    EXPECT_TRUE(
        HeaderValue(BuildMessage(mail, QStringLiteral("nodomain"), QString(), To, QString(), 0), "Message-Id")
            .endsWith("@localhost>"));
}

// Control characters and the end-of-data line in any value may neither start a header of their
// own nor end the message.
TEST(MailMessage, NoValueStartsAHeaderOrEndsTheData)
{
    const QStringList hostile = {QStringLiteral("a\rBcc: x@evil.test"), QStringLiteral("a\nBcc: x@evil.test"),
                                 QStringLiteral("a") + QChar(0) + QStringLiteral("Bcc: x@evil.test"),
                                 QStringLiteral("a\r\n.\r\nMAIL FROM:<x@evil.test>"),
                                 QStringLiteral("a\r\nBcc: x@evil.test")};
    enum Field
    {
        ToAddress,
        FromAddress,
        FromName,
        Subject,
        Organization,
        ReplyTo,
        Mailer,
        TrackingId,
        EhloDomain,
        FileName,
        ContentId,
        FieldCount
    };
    for (int field = 0; field < FieldCount; ++field)
    {
        for (const QString& value : hostile)
        {
            CVexaMail mail = MakeMail();
            QString from = From;
            QString fromName = QStringLiteral("News");
            QString to = To;
            QString subject = QStringLiteral("Spring");
            QString fileName = QStringLiteral("a.txt");
            QString contentId = QStringLiteral("cid1");
            mail.m_organization = QStringLiteral("Org");
            mail.m_replyTo = QStringLiteral("office@example.org");
            mail.MessageId = QStringLiteral("track@example.org");
            switch (field)
            {
            case ToAddress:
                to = value;
                break;
            case FromAddress:
                from = value;
                break;
            case FromName:
                fromName = value;
                break;
            case Subject:
                subject = value;
                break;
            case Organization:
                mail.m_organization = value;
                break;
            case ReplyTo:
                mail.m_replyTo = value;
                break;
            case Mailer:
                mail.m_mailerText = value;
                break;
            case TrackingId:
                mail.MessageId = value;
                break;
            case EhloDomain:
                mail.m_ehloDomain = value;
                break;
            case FileName:
                fileName = value;
                break;
            case ContentId:
                contentId = value;
                break;
            }
            mail.AddAttachment(fileName, "text", QStringLiteral("text/plain"), contentId);
            const QByteArray message = BuildMessage(mail, from, fromName, to, subject, 1);
            const QByteArrayList expected = {"To",          "From",       "Subject",  "Date",
                                             "Message-Id",  "Importance", "X-Mailer", "X-KV-Message-Id",
                                             "Organization"};
            QByteArrayList names = HeaderNames(message);
            names.removeAll("Reply-To");
            EXPECT_EQ(names.mid(0, expected.size()), expected) << field << " " << value.toStdString();
            EXPECT_EQ(names.size(), expected.size() + 3) << field << " " << value.toStdString();
            const qsizetype attachment = message.indexOf("Content-Type: text/plain; name=");
            ASSERT_GE(attachment, 0);
            EXPECT_EQ(HeaderNames(message.mid(attachment)),
                      (QByteArrayList{"Content-Type", "Content-Description", "Content-Location", "Content-ID",
                                      "Content-Disposition", "Content-Transfer-Encoding"}))
                << field << " " << value.toStdString();
            EXPECT_FALSE(message.contains("\r\n.\r\n")) << field;
            EXPECT_FALSE(message.contains('\0')) << field;
            const QRegularExpression bare(QStringLiteral("\r(?!\n)|(?<!\r)\n"));
            EXPECT_FALSE(bare.match(QString::fromLatin1(message)).hasMatch()) << field;
            EXPECT_FALSE(message.contains("\nBcc:")) << field;
        }
    }
}

// Control characters of a name, subject or organization arrive as blanks: encoded, they would
// decode to line breaks inside the text.
TEST(MailMessage, ControlCharactersInTextsArriveAsBlanks)
{
    CVexaMail mail = MakeMail();
    mail.m_organization = QString::fromUtf8("Bäckerei\r\nMüller");
    const QByteArray message = BuildMessage(mail, From, QString::fromUtf8("Jörg\rX"), To,
                                            QString::fromUtf8("Grüße\nBcc: x@evil.test") + QChar(0), 0);
    const auto decoded = [&](const QByteArray& name)
    {
        const QString value = QString::fromLatin1(HeaderValue(message, name));
        return MailDecoding::DecodeHeaderValue(value.section(QStringLiteral(" <"), 0, 0));
    };
    EXPECT_EQ(decoded("Subject"), QString::fromUtf8("Grüße Bcc: x@evil.test "));
    EXPECT_EQ(decoded("From"), QString::fromUtf8("Jörg X"));
    EXPECT_EQ(decoded("Organization"), QString::fromUtf8("Bäckerei  Müller"));
}

TEST(MailMessage, SameHeaderIdKeepsItsPlaceAndTakesTheNewValue)
{
    CMailPart part(CMailPart::SevenBit);
    part.SetHeader(CMailHeader::Subject, QStringLiteral("first"));
    part.SetHeader(CMailHeader::To, QStringLiteral("a@b"));
    part.SetHeader(CMailHeader::Subject, QStringLiteral("second"));
    ASSERT_EQ(part.GetHeaderCount(), 2);
    EXPECT_EQ(part.GetHeaderAt(0).GetName(), "Subject");
    EXPECT_EQ(part.GetHeaderAt(0).GetValue(), "second");
    EXPECT_EQ(part.FindHeader(CMailHeader::To)->GetValue(), "a@b");
    EXPECT_EQ(part.FindHeader(CMailHeader::Date), nullptr);
    EXPECT_EQ(CMailHeader(999, QString()).GetName(), "");
}

TEST(MailMessage, AttachmentLinesAndHeaders)
{
    CVexaMail mail = MakeMail();
    QByteArray bytes(150, 'x');
    mail.AddAttachment(QString::fromUtf8("Übersicht \"2027\".pdf"), bytes, QStringLiteral("application/pdf"),
                       QString());
    mail.AddAttachment(QStringLiteral("say \"hi\".txt"), "hi", QStringLiteral("text/plain"),
                       QStringLiteral("cid-2@example.org"));
    CapturedOutput output;
    CVexaMail::WritePart(output, *mail.GetParts().at(0));
    QString base64;
    EncodeBase64(bytes, base64);
    ASSERT_EQ(base64.size(), 200);
    // Names in parameters are RFC 2231 values; encoded words belong to unstructured text only.
    EXPECT_EQ(output.bytes, "Content-Type: application/pdf; name*=utf-8''%C3%9Cbersicht%20%222027%22.pdf\r\n"
                            "Content-Description: =?iso-8859-1?Q?=DCbersicht=20=22=32=30=32=37=22=2Epdf?=\r\n"
                            "Content-Location: %C3%9Cbersicht%20%222027%22.pdf\r\n"
                            "Content-Disposition: attachment;\r\n"
                            "\tfilename*=utf-8''%C3%9Cbersicht%20%222027%22.pdf\r\n"
                            "Content-Transfer-Encoding: Base64\r\n\r\n" +
                                base64.left(76).toLatin1() + "\r\n" + base64.mid(76, 76).toLatin1() + "\r\n" +
                                base64.mid(152).toLatin1() + "\r\n");
    CapturedOutput second;
    CVexaMail::WritePart(second, *mail.GetParts().at(1));
    EXPECT_TRUE(
        second.bytes.startsWith("Content-Type: text/plain; name=\"say \\\"hi\\\".txt\"\r\n"
                                "Content-Description: say \"hi\".txt\r\n"
                                "Content-Location: say%20%22hi%22.txt\r\n"
                                "Content-ID: <cid-2@example.org>\r\n"
                                "Content-Disposition: attachment; filename=\"say \\\"hi\\\".txt\"\r\n"))
        << second.bytes.toStdString();
}

// A text file names the charset of its 8-bit bytes and travels with CR LF line breaks; other
// files travel as they are.
TEST(MailMessage, TextAttachmentsNameTheirCharsetAndBreakLinesWithCrLf)
{
    struct Case
    {
        const char* type;
        QByteArray bytes;
        const char* contentType;
        QByteArray sent;
    };
    const Case cases[] = {
        {"text/plain",
         "Gr\xC3\xBC\xC3\x9F"
         "e\nZeile\r\n",
         "text/plain; charset=\"utf-8\"; name=\"a.txt\"",
         "Gr\xC3\xBC\xC3\x9F"
         "e\r\nZeile\r\n"},
        {"text/plain",
         "Gr\xFC\xDF"
         "e\rZeile",
         "text/plain; charset=\"windows-1252\"; name=\"a.txt\"",
         "Gr\xFC\xDF"
         "e\r\nZeile"},
        {"text/html", "<p>a</p>\n", "text/html; name=\"a.txt\"", "<p>a</p>\r\n"},
        {"text/plain; charset=koi8-r", "\xF0\n", "text/plain; charset=koi8-r; name=\"a.txt\"", "\xF0\r\n"},
        {"application/octet-stream", "\xFF\n\r", "application/octet-stream; name=\"a.txt\"", "\xFF\n\r"},
    };
    for (const Case& c : cases)
    {
        CVexaMail mail = MakeMail();
        mail.AddAttachment(QStringLiteral("a.txt"), c.bytes, QString::fromLatin1(c.type), QString());
        const CMailPart& part = *mail.GetParts().at(0);
        EXPECT_EQ(part.FindHeader(CMailHeader::ContentType)->GetValue(), QString::fromLatin1(c.contentType));
        EXPECT_EQ(QByteArray::fromBase64(part.GetBody().toLatin1()), c.sent) << c.contentType;
    }
}

// Long names keep every header line within 76 characters, in RFC 2231 pieces that never split
// a character, and arrive whole.
TEST(MailMessage, LongNamesFoldWithinTheLineLimit)
{
    const QString name = QString::fromUtf8("Jahresübersicht der Gärtnerei Müller 𝄞 ").repeated(4) + ".pdf";
    CVexaMail mail = MakeMail();
    mail.AddAttachment(name, "pdf", QStringLiteral("application/pdf"), QString());
    CapturedOutput output;
    CVexaMail::WritePart(output, *mail.GetParts().at(0));
    const QByteArray headers = output.bytes.left(output.bytes.indexOf("\r\n\r\n"));
    QByteArray pieces;
    for (const QByteArray& line : headers.split('\n'))
    {
        const QByteArray text = line.chopped(line.endsWith('\r') ? 1 : 0);
        if (!text.startsWith("Content-Location"))
        {
            EXPECT_LE(text.size(), 76) << text.toStdString();
        }
        const qsizetype value = text.indexOf("filename*");
        if (value >= 0)
            pieces += text.mid(text.indexOf('=', value) + 1).replace(';', "").replace("utf-8''", "");
    }
    EXPECT_TRUE(headers.contains("\tfilename*1*=")) << headers.toStdString();
    EXPECT_EQ(QString::fromUtf8(QByteArray::fromPercentEncoding(pieces)), name);
}

TEST(MailMessage, CopiesOwnTheirParts)
{
    CVexaMail original = MakeMail();
    original.AddAttachment(QStringLiteral("a.txt"), "a", QStringLiteral("text/plain"), QString());
    original.m_replyTo = QStringLiteral("r@example.org");
    CVexaMail copy(original);
    CVexaMail assigned = MakeMail();
    assigned.AddAttachment(QStringLiteral("b.txt"), "b", QStringLiteral("text/plain"), QString());
    assigned.AddAttachment(QStringLiteral("c.txt"), "c", QStringLiteral("text/plain"), QString());
    assigned = original;
    original.AddAttachment(QStringLiteral("d.txt"), "d", QStringLiteral("text/plain"), QString());
    original.ClearParts();
    for (const CVexaMail* mail : {&copy, &assigned})
    {
        ASSERT_EQ(mail->GetParts().size(), 1u);
        EXPECT_EQ(mail->GetParts()[0]->FindHeader(CMailHeader::ContentDescription)->GetValue(), "a.txt");
        EXPECT_EQ(mail->m_replyTo, "r@example.org");
        const QByteArray message = BuildMessage(*mail, From, QString(), To, QStringLiteral("Spring"), 0);
        EXPECT_EQ(message.count("Content-Description:"), 1);
        EXPECT_TRUE(message.contains("Content-Description: a.txt"));
    }
}

TEST(MailMessage, PlainTextPartFollowsTheTextHoweverItIsSet)
{
    const auto plainPart = [](const CVexaMail& mail)
    {
        const QByteArray message = BuildMessage(mail, From, QString(), To, QStringLiteral("Spring"), 0);
        const qsizetype start = message.indexOf("Content-Type: text/plain");
        return message.mid(start, message.indexOf("\r\n--", start) - start);
    };
    CVexaMail mail = MakeMail();
    mail.SetPlainTextBody(QStringLiteral("First"));
    const CVexaMail copy(mail);
    mail.SetPlainTextBody(QString::fromUtf8("Second \u2713"));
    EXPECT_TRUE(plainPart(copy).endsWith("\r\n\r\nFirst\r\n"));
    EXPECT_TRUE(plainPart(mail).contains("charset=\"utf-8\""));
    EXPECT_TRUE(plainPart(mail).endsWith("\r\n\r\nSecond =E2=9C=93\r\n"));
    mail.m_plainTextBody = QStringLiteral("Third");
    EXPECT_TRUE(plainPart(mail).contains("charset=\"iso-8859-1\""));
    EXPECT_TRUE(plainPart(mail).endsWith("\r\n\r\nThird\r\n"));
}

TEST(MailMessage, BoundaryTexts)
{
    const QString seed = CVexaMail::MakeBoundarySeed();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^_Part_\\d+[0-9A-F]{3,}\\d+$")).match(seed).hasMatch())
        << seed.toStdString();
    EXPECT_EQ(CVexaMail::MakeBoundary(1, seed), QStringLiteral("_----------=_001_") + seed);
    EXPECT_EQ(CVexaMail::MakeBoundaryLine(12, QStringLiteral("S")), "--_----------=_012_S");
    EXPECT_EQ(CVexaMail::MakeBoundaryEndLine(2, QStringLiteral("S")), "--_----------=_002_S--");
}

TEST(Base64Encoding, FillAndAgreementWithAnotherEncoder)
{
    QString text = QStringLiteral("stale");
    EXPECT_TRUE(EncodeBase64(QByteArray(), text));
    EXPECT_EQ(text, "");
    EncodeBase64("a", text);
    EXPECT_EQ(text, "YQ==");
    EncodeBase64("ab", text);
    EXPECT_EQ(text, "YWI=");
    EncodeBase64("abc", text);
    EXPECT_EQ(text, "YWJj");
    std::mt19937 generator(7);
    for (int size = 0; size < 300; ++size)
    {
        QByteArray bytes(size, Qt::Uninitialized);
        for (char& byte : bytes)
            byte = static_cast<char>(generator());
        EncodeBase64(bytes, text);
        EXPECT_EQ(text.toLatin1(), bytes.toBase64()) << size;
    }
}
} // namespace
