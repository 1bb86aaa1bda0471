// Pages generated per second for a newsletter with a body of about 200 KB, for every page kind.

#include "tests/webserver/PageGeneratorFixture.h"
#include "webserver/NewsletterPage.h"

#include <benchmark/benchmark.h>

namespace
{
void GeneratePage(benchmark::State& state)
{
    CFixtureNewsletter newsletter;
    fixture::FillFixtureNewsletter(newsletter);
    const QString block = fixture::FixtureBody();
    newsletter.body.clear();
    while (newsletter.body.size() < 200 * 1024)
        newsletter.body += block;
    CPageContext context;
    context.SetServerPort(fixture::Port);
    context.SetCurrentNewsletter(&newsletter);
    const LinkTrackerMap trackers = fixture::FixtureTrackers();
    const auto kind = NewsletterPageKind(state.range(0));
    qsizetype bytes = 0;
    for (auto _ : state)
    {
        MergeFieldSet used;
        QString page;
        if (!GenerateNewsletterPage(QStringLiteral("Kelvora"), page, kind, context, newsletter, &used,
                                    &trackers))
            state.SkipWithError("generation failed");
        bytes = page.size();
        benchmark::DoNotOptimize(page);
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["body_kb"] = double(newsletter.body.size()) / 1024;
    state.counters["page_kb"] = double(bytes) / 1024;
}
} // namespace

BENCHMARK(GeneratePage)->ArgName("kind")->DenseRange(Preview, MailLinked)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
