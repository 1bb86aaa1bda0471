#pragma once

#include "charts/GraphData.h"
#include "reports/DeliveryCounts.h"
#include "reports/ReportSettings.h"
#include "reports/StatisticsReader.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <map>

namespace ndb
{
class CNdbNewsletter;
class CNdbUser;
} // namespace ndb

// The report page of a newsletter as XHTML: the frame, and the Overview or the Tracking body by
// the settings' view. Every text that comes from the newsletter or the statistics service is
// escaped. The page's links are pseudo-addresses for the report window.
class CReportPage
{
public:
    using ServerUrlMaker = std::function<QString(const QString& path)>;
    using SentRecipientMap = std::map<QString, const ndb::CNdbUser*>;

    // A chart address stays within this many characters; whole rows are dropped to keep it.
    static constexpr int MaxChartAddress = 2083;

    CReportPage(const ndb::CNdbNewsletter& newsletter, const ReportSettings& settings,
                const QString& serviceUrl, const QString& fontFace, ServerUrlMaker makeServerUrl);

    QString Render();

    // The addresses of the recipients the Tracking body listed, in page order.
    const QStringList& GetShownAddresses() const { return m_shownAddresses; }
    // The tracked links in the order of the page's link choices.
    const QStringList& GetLinkAddresses() const { return m_linkAddresses; }

    QString BuildGraphUrl(int chartType, const CGraphData& data, const QString& option) const;
    QString RenderGraphBlock(int chartType, const CGraphData& data, const QString& title,
                             const QString& option, const QString& message, int width, int height) const;
    // The opens of the read log over the days from its first day, by day up to 28 days and by
    // week beyond.
    static CGraphData MakeReadStatistics(const ReadLogMap& readLog, int days);

private:
    void CollectLayoutLinks();
    QString RenderHead(bool& withScript) const;
    QString RenderReadScript(const ReadLogMap& readLog) const;
    QString RenderOverview() const;
    QString RenderSummaryBox() const;
    QString SenderText() const;
    QString DateSentText() const;

    const ndb::CNdbNewsletter& m_newsletter;
    const ReportSettings m_settings;
    const QString m_fontFace;
    const ServerUrlMaker m_makeServerUrl;
    const CStatisticsReader m_reader;
    const bool m_statisticsOn;
    const bool m_trackingOn;
    DeliveryCounts m_counts;
    SentRecipientMap m_sentRecipients;
    LinkCountMap m_links;
    QStringList m_shownAddresses;
    QStringList m_linkAddresses;

    friend class CTrackingBody;
};
