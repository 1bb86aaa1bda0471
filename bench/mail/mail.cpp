// The mail encoders on a 200 KB newsletter body and a 1 MB image, with OpenSSL's Base64 encoder
// on the same bytes for comparison; and messages per second of building and writing a message
// with three inline images to a local socket, against one raw write of the same bytes.

#include "bench/DrainedConnection.h"
#include "mail/Base64Encode.h"
#include "mail/VexaMail.h"
#include "tests/mail/MailMessageSupport.h"

#include <QString>

#include <benchmark/benchmark.h>
#include <openssl/evp.h>

#include <random>
#include <thread>
#include <vector>

namespace
{
QString Body()
{
    static const QString body = []
    {
        const QString line = QString::fromUtf8("Liebe Leserin, lieber Leser – die Grüße des Frühlings kommen "
                                               "mit 20 % Rabatt auf alles (bis 31.03.)!\r\n");
        QString text;
        while (text.size() < 200 * 1024)
            text += line;
        return text;
    }();
    return body;
}

QByteArray Image()
{
    static const QByteArray image = []
    {
        std::mt19937 generator(42);
        QByteArray bytes(1024 * 1024, Qt::Uninitialized);
        for (char& byte : bytes)
            byte = static_cast<char>(generator());
        return bytes;
    }();
    return image;
}

const QString& Input(int which)
{
    static const QString body = Body();
    static const QString image = QString::fromLatin1(Image());
    return which == 0 ? body : image;
}

QByteArray InputBytes(int which)
{
    return which == 0 ? Body().toUtf8() : Image();
}

void SetInputLabel(benchmark::State& state, qsizetype bytes)
{
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * bytes);
    state.SetLabel(state.range(0) == 0 ? "200 KB body" : "1 MB image");
}

void QuotedPrintable(benchmark::State& state)
{
    const QString& input = Input(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(CVexaMail::EncodeQPBody(input, false));
    SetInputLabel(state, input.toUtf8().size());
}
BENCHMARK(QuotedPrintable)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void HeaderWord(benchmark::State& state)
{
    const QString& input = Input(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(CVexaMail::EncodeHeaderWord(input));
    SetInputLabel(state, input.toUtf8().size());
}
BENCHMARK(HeaderWord)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void Base64(benchmark::State& state)
{
    const QByteArray bytes = InputBytes(static_cast<int>(state.range(0)));
    QString text;
    for (auto _ : state)
    {
        EncodeBase64(bytes, text);
        benchmark::DoNotOptimize(text);
    }
    SetInputLabel(state, bytes.size());
}
BENCHMARK(Base64)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void OpenSslBase64(benchmark::State& state)
{
    const QByteArray bytes = InputBytes(static_cast<int>(state.range(0)));
    std::vector<unsigned char> text(static_cast<size_t>((bytes.size() + 2) / 3 * 4 + 1));
    for (auto _ : state)
    {
        EVP_EncodeBlock(text.data(), reinterpret_cast<const unsigned char*>(bytes.constData()),
                        static_cast<int>(bytes.size()));
        benchmark::DoNotOptimize(text.data());
    }
    SetInputLabel(state, bytes.size());
}
BENCHMARK(OpenSslBase64)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

CVexaMail ThreeImageMessage()
{
    CVexaMail mail(QStringLiteral("mail.example.org"), QString(), 25, QString(), QString());
    mail.SetPlainTextBody(Body().left(20 * 1024));
    mail.SetHtmlBody(
        QStringLiteral("<html><body>") + Body().left(40 * 1024) +
        QStringLiteral("<img src=\"cid:a\"><img src=\"cid:b\"><img src=\"cid:c\"></body></html>"));
    for (const char* id : {"a", "b", "c"})
        mail.AddAttachment(QStringLiteral("%1.png").arg(QLatin1String(id)), Image().left(60 * 1024),
                           QStringLiteral("image/png"), QLatin1String(id));
    return mail;
}

void WriteTo(const CVexaMail& mail, CMailOutput& output)
{
    WriteMessage(mail, output, QStringLiteral("news@example.org"), QStringLiteral("News"),
                 QStringLiteral("reader@example.net"), QStringLiteral("Spring"), 0,
                 CVexaMail::MakeBoundarySeed());
}

void BuildAndWriteMessage(benchmark::State& state)
{
    const CVexaMail prepared = ThreeImageMessage();
    DrainedConnection connection;
    SocketOutput output(connection.writer);
    output.keepCopy = false;
    for (auto _ : state)
    {
        // As a send worker does for every recipient: its own copy, then headers and layout.
        const CVexaMail mail(prepared);
        WriteTo(mail, output);
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(output.written);
}
BENCHMARK(BuildAndWriteMessage)->Unit(benchmark::kMillisecond);

void RawWriteOfTheSameBytes(benchmark::State& state)
{
    CapturedOutput collected;
    WriteTo(ThreeImageMessage(), collected);
    DrainedConnection connection;
    for (auto _ : state)
        connection.writer.Write(collected.bytes.constData(), static_cast<int>(collected.bytes.size()), 10);
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * collected.bytes.size());
}
BENCHMARK(RawWriteOfTheSameBytes)->Unit(benchmark::kMillisecond);
} // namespace

BENCHMARK_MAIN();
