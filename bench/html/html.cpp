// Parse and write of a 1 MB newsletter page, by our toolkit and by libxml2's HTML parser on the
// same bytes in alternating rounds; the figure is the median of the rounds' ratios.
#include "bench/support/AlternatingRatio.h"
#include "x2/X2Validator.h"

#include <benchmark/benchmark.h>
#include <libxml/HTMLparser.h>
#include <libxml/HTMLtree.h>

namespace
{
// One article block of a table-based newsletter: nested tables, inline styles, entities,
// editor metadata, comments and links with query strings.
QByteArray Article(int n)
{
    return QStringLiteral(
               "<!-- article %1 -->\n"
               "<tr><td class=\"sys_td\" style=\"padding:10px 30px; font-family:Arial, sans-serif; "
               "color:#333333\""
               " name=\"background-color:F{#FFFFFFFF};src_border_top:1px solid F{#DDDDDDFF};\">\n"
               "<table cellspacing=\"0\" cellpadding=\"0\" width=\"100%\" border=\"0\"><tr>\n"
               "<td valign=\"top\" width=\"160\"><a href=\"http://example.org/item?id=%1&amp;src=news\">"
               "<img src=\"img/item%1.jpg\" name=\"src_ResID:{6F1C2A9E-1D2B-4C3D-9E8F-0A1B2C3D4E5F};\" "
               "alt=\"Item %1\""
               " width=\"150\" height=\"100\" border=\"0\" /></a></td>\n"
               "<td valign=\"top\" style=\"padding-left:10px\"><h2 class=\"h2\" "
               "style=\"margin:0;font-size:16px\">"
               "Seasonal offer no.&nbsp;%1</h2>\n"
               "<p style=\"font-size:13px;line-height:19px\">Dear <span name=\"fc_1\">Member</span>, our "
               "<b>autumn</b> selection &mdash; bulbs, <i>perennials</i> &amp; tools &ndash; is in. "
               "Orders over &euro;50 ship free.<br />\n<a href=\"http://example.org/shop?item=%1&amp;ref=nl\""
               " style=\"color:#3A5A40;text-decoration:underline\" name=\"src_action_type:ext;\">Read "
               "more&hellip;</a></p>\n"
               "</td></tr></table>\n</td></tr>\n")
        .arg(n)
        .toUtf8();
}

QByteArray NewsletterPage()
{
    QByteArray page =
        "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\" "
        "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">\n"
        "<html xmlns=\"http://www.w3.org/1999/xhtml\"><head>\n"
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\" />\n<title>Autumn "
        "News</title>\n"
        "<style type=\"text/css\">body{margin:0;background-color:#EFEBE0} .h2{color:#3A5A40}</style>\n"
        "</head><body>\n<table cellspacing=\"0\" cellpadding=\"0\" width=\"600\" align=\"center\">\n";
    for (int n = 1; page.size() < 1024 * 1024; ++n)
        page += Article(n);
    page += "</table>\n</body></html>\n";
    return page;
}

const QByteArray& Page()
{
    static const QByteArray page = NewsletterPage();
    return page;
}

// The bytes our toolkit writes for the page.
QByteArray KelvoraParseAndWrite(const QByteArray& page)
{
    CX2Validator document;
    document.ParseHtml(QString::fromUtf8(page));
    QString html;
    document.WriteHtml(html);
    return html.toUtf8();
}

// The bytes libxml2 writes for the page; empty when it could not parse it.
QByteArray Libxml2ParseAndWrite(const QByteArray& page)
{
    htmlDocPtr document = htmlReadMemory(page.constData(), int(page.size()), nullptr, "UTF-8",
                                         HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET);
    if (!document)
        return {};
    xmlChar* bytes = nullptr;
    int size = 0;
    htmlDocDumpMemory(document, &bytes, &size);
    QByteArray written(reinterpret_cast<const char*>(bytes), bytes ? size : 0);
    xmlFree(bytes);
    xmlFreeDoc(document);
    return written;
}

// Both on the same bytes in alternating rounds; the iteration time is ours.
void KelvoraAgainstLibxml2(benchmark::State& state)
{
    const QByteArray& page = Page();
    QByteArray ours;
    QByteArray theirs;
    Bench::CAlternatingRatio rounds;
    for (auto _ : state)
    {
        state.SetIterationTime(rounds.TimeRound([&] { ours = KelvoraParseAndWrite(page); },
                                                [&] { theirs = Libxml2ParseAndWrite(page); }));
        if (ours.isEmpty() || theirs.isEmpty())
            return Bench::FailMeasurement(state, ours.isEmpty() ? "our toolkit wrote nothing"
                                                                : "libxml2 could not parse the page");
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * page.size());
    state.counters["kelvora_ms"] = rounds.MedianSide() * 1000.0;
    state.counters["libxml2_ms"] = rounds.MedianFloor() * 1000.0;
    state.counters["kelvora_to_libxml2"] = rounds.MedianRatio();
    state.counters["page_bytes"] = double(page.size());
    state.counters["written_bytes"] = double(ours.size());
}
} // namespace

BENCHMARK(KelvoraAgainstLibxml2)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return Bench::ExitCode();
}
