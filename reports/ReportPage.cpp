#include "reports/ReportPage.h"

#include "base/HtmlEntities.h"
#include "base/TextHelpers.h"
#include "ndb/NdbNewsletter.h"
#include "ndb/NdbUser.h"
#include "platform/core/AppStrings.h"
#include "reports/ReportText.h"
#include "reports/TrackingBody.h"
#include "x2/X2Element.h"
#include "x2/X2TextHelpers.h"
#include "x2/X2Validator.h"

#include <QDateTime>
#include <QRegularExpression>

namespace
{
enum ChartType
{
    BarChart = 0,
    LineChart = 1,
    PieChart = 2,
};

constexpr int DeliveredColor = 1093244;
constexpr int PendingColor = 57567;
constexpr int FailedColor = 3952078;
constexpr int OpenedColor = 12949068;
constexpr int UniqueClicksColor = 9013641;
constexpr int ClicksColor = 10315316;
constexpr int ForwardsColor = 10437063;

const QString Spacer = QStringLiteral("<div style=\"height:14px;margin:0px;padding:0px;\"></div>\r\n");
const QString TitleBar = QStringLiteral(
    "<div style=\"width:100%;font-size:12px;color:#ffffff;background-color:#445472;padding:7px 12px "
    "7px 12px;font-weight:bold;margin:0px;\">");
const QString MessageBox =
    QStringLiteral("<div style=\"margin:12px;padding:7px 12px 7px 12px;border:solid 2px "
                   "#902626;background-color:#ffffff;color:#902626;\">");

QString Text(quint32 id)
{
    return LoadAppString(id);
}

QString DateText(qint64 time)
{
    return FormatLocalTime(time, Text(9960));
}

// The layout's own link addresses, used while the service knows none: plain web links that the
// layout does not mark as another kind of action.
void AddLayoutLinks(const QString& html, LinkCountMap& links)
{
    CX2Validator document;
    document.ParseHtml(html);
    QList<CX2Element*> anchors;
    document.FindElementsByName(anchors, QStringLiteral("a"));
    for (const CX2Element* anchor : std::as_const(anchors))
    {
        const QString address = anchor->GetAttributeValue(QStringLiteral("href"));
        if (address.isEmpty() || anchor->GetChildCount() == 0 ||
            (!address.contains(QLatin1String("http://")) && !address.contains(QLatin1String("https://"))))
            continue;
        QString action;
        if (FindDeclarationInText(QStringLiteral("src_action_type"),
                                  anchor->GetAttributeValue(QStringLiteral("name")), action) &&
            !action.isEmpty() && action != QLatin1String("ext"))
            continue;
        links.try_emplace(address, 0);
    }
}

QString SummaryRow(int index, const QString& label, const QString& value)
{
    const QString border = index > 0 ? QStringLiteral("border-top:solid 1px #d6d7da;") : QString();
    return QStringLiteral("\t<tr style=\"background-color:%1;\">\r\n")
               .arg(index % 2 ? "#ffffff" : "#f6f7f7") +
           QStringLiteral("\t\t<td style=\"vertical-align:middle;padding:7px 12px 7px 12px;font-weight:bold;"
                          "white-space:nowrap;%1\">%2</td>\r\n")
               .arg(border, label) +
           QStringLiteral(
               "\t\t<td style=\"vertical-align:middle;padding:7px 12px 7px 0px;width:100%;%1\">%2</td>\r\n")
               .arg(border, value) +
           QStringLiteral("\t</tr>\r\n");
}

// The escaped text, shortened with its full text as a tooltip when longer than the limit.
QString ShortText(const QString& text, int limit, const QString& before = {}, const QString& after = {})
{
    QString shortText = text;
    if (!ShortenWithEllipsis(shortText, limit))
        return before + EncodeHtmlEntities(text) + after;
    return QStringLiteral("<span title=\"") + before + EncodeHtmlEntities(text) + after +
           QStringLiteral("\">") + before + EncodeHtmlEntities(shortText) + after + QStringLiteral("</span>");
}
} // namespace

CReportPage::CReportPage(const ndb::CNdbNewsletter& newsletter, const ReportSettings& settings,
                         const QString& serviceUrl, const QString& fontFace, ServerUrlMaker makeServerUrl)
    : m_newsletter(newsletter), m_settings(settings), m_fontFace(fontFace),
      m_makeServerUrl(std::move(makeServerUrl)),
      m_reader({serviceUrl, newsletter.Sender().GetString(ndb::SenderSiteAccess630),
                newsletter.Sender().GetString(ndb::SenderSiteAccess631),
                newsletter.GetString(ndb::NewsletterId)}),
      m_statisticsOn(newsletter.Sender().GetBool(ndb::SenderTracking, false) &&
                     newsletter.Sender().GetBool(ndb::SenderDynamicServices, false)),
      m_trackingOn(newsletter.Sender().GetBool(ndb::SenderTracking, false))
{
}

QString CReportPage::Render()
{
    m_shownAddresses.clear();
    CountDeliveryStatus(m_newsletter, m_counts);
    m_sentRecipients.clear();
    for (const auto& user : m_newsletter.Users().GetUsers())
    {
        const QString address = user->GetString(ndb::UserEmail);
        if (m_newsletter.Log().FindEntry(address))
            m_sentRecipients[address] = user.get();
    }
    m_links.clear();
    if (m_statisticsOn)
        m_reader.FetchAllTrackers(m_links);
    if (m_links.empty())
        AddLayoutLinks(m_newsletter.Layout().GetString(ndb::LayoutHtml), m_links);

    bool withScript = false;
    QString page = RenderHead(withScript);
    page += QStringLiteral("<body");
    if (withScript)
        page +=
            QStringLiteral(" onload=\"try { RenderGraph(%1); } catch(e) {}\"").arg(m_settings.displayDays);
    page += QStringLiteral(">\r\n");
    if (m_settings.view == ReportSettings::Tracking)
        page += CTrackingBody(*this).Render();
    else
        page += RenderOverview();
    page += QStringLiteral("</body></html>");
    return page;
}

QString CReportPage::RenderHead(bool& withScript) const
{
    QString head =
        QStringLiteral("<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\" "
                       "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">\r\n"
                       "<html xmlns=\"http://www.w3.org/1999/xhtml\">\r\n<head>\r\n"
                       "<meta http-equiv=\"Content-type\" content=\"text/html; charset=utf-8\" />\r\n"
                       "<meta name=\"generator\" content=\"Kelvora (https://www.talvecor.example/)\" />\r\n");
    head += QStringLiteral("<title>") + EncodeHtmlEntities(m_newsletter.GetString(ndb::NewsletterName)) +
            QStringLiteral("</title>\r\n");
    ReadLogMap readLog;
    withScript = m_settings.view == ReportSettings::Overview && m_statisticsOn &&
                 m_reader.FetchReadLog(readLog) && !readLog.empty();
    if (withScript)
        head += RenderReadScript(readLog);
    // The face name goes into quoted style values: a quotation mark or a markup character in it
    // would end them.
    QString face = m_fontFace;
    face.remove(QRegularExpression(QStringLiteral("[\"<>&\\\\;{}]")));
    const QStringList rules{
        QStringLiteral("@media print { .printhide { display:none; } }"),
        QStringLiteral("@media screen { .printshow { display:none; } }"),
        QStringLiteral("body { font-family:\"%1\",arial;margin:12px;}").arg(face),
        QStringLiteral("a { color:#ffffff;text-decoration:none; }"),
        QStringLiteral("a:hover { text-decoration:underline; }"),
        QStringLiteral(
            "form, td, select, div { margin:0;padding:0;font-family:\"%1\",arial;font-size:12px; }")
            .arg(face),
        QStringLiteral("p { margin:0;padding:0pt 0pt 2pt 0pt;font-family:\"%1\",arial;font-size:12px; }")
            .arg(face),
        QStringLiteral(
            "#table_heading_row td { font-size:12px;color:#ffffff;background-color:#445472;padding:7px 12px "
            "7px 12px;font-weight:bold;white-space:nowrap; }"),
        QStringLiteral(
            ".td { vertical-align:top;padding:4px 2px 4px 12px;font-size:11px;white-space:nowrap; }"),
        QStringLiteral(
            ".td_border { vertical-align:top;padding:4px 2px 4px 12px;font-size:11px;white-space:nowrap;"
            "border-top:solid 1px #d6d7da; }"),
        QStringLiteral(
            ".td_last { vertical-align:top;padding:4px 12px 4px 12px;font-size:11px;white-space:nowrap; }"),
        QStringLiteral(
            ".td_last_border { vertical-align:top;padding:4px 12px 4px 12px;font-size:11px;white-space:"
            "nowrap;border-top:solid 1px #d6d7da; }"),
        QStringLiteral(".bgodd { background-color:#f6f7f7; }"),
        QStringLiteral(".bgeven { background-color:#ffffff; }"),
        QStringLiteral(".td_graph_1 { vertical-align:middle;text-align:left;width:110px; }"),
        QStringLiteral(
            ".div_graph_1 { width:100px;height:11px;margin:0px 10px 0px 0px;padding:0px;border:solid 1px "
            "#d6d7da; }"),
        QStringLiteral(
            ".div_graph_2 { width:100px;height:11px;background-color:#34669d;float:left;padding:0px;"
            "margin:0px; }"),
        QStringLiteral(
            ".td_graph_2 { vertical-align:middle;text-align:right;white-space:nowrap;font-size:11px; }"),
    };
    head += QStringLiteral("<style type=\"text/css\">\r\n") + rules.join(QStringLiteral("\r\n")) +
            QStringLiteral("\r\n</style>\r\n</head>\r\n");
    return head;
}

QString CReportPage::RenderReadScript(const ReadLogMap& readLog) const
{
    QString script = QStringLiteral("<script type=\"text/javascript\">\r\n//<![CDATA[\r\n"
                                    "function RenderGraph(nDisplayDays)\r\n{\r\n\ttry {\r\n");
    for (int days : DisplayDayChoices)
    {
        const QString option = days > 28 ? QStringLiteral("&numbetweendivisor=4") : QString();
        script += QStringLiteral("\t\tif(nDisplayDays == %1) {\r\n").arg(days);
        script += QStringLiteral("\t\t\tdocument.all[\"linegraphimage\"].src = \"") +
                  BuildGraphUrl(LineChart, MakeReadStatistics(readLog, days), option) +
                  QStringLiteral("\";\r\n");
        script += QStringLiteral("\t\t\treturn;\r\n\t\t}\r\n");
    }
    script +=
        QStringLiteral("\t} catch(e) {\r\n\t\ttry { document.all['linegraphform'].submit(); } catch(e) {}\r\n"
                       "\t}\r\n}\r\n//]]>\r\n</script>\r\n");
    return script;
}

CGraphData CReportPage::MakeReadStatistics(const ReadLogMap& readLog, int days)
{
    const bool weekly = days > 28;
    CGraphData data(1, weekly ? days / 7 : days);
    if (readLog.empty())
        return data;
    // Days step by the calendar, so a day after a clock change still finds its midnight.
    const QDate start = QDateTime::fromSecsSinceEpoch(readLog.begin()->first).date();
    QString label;
    int sum = 0;
    for (int day = 0; day < days; ++day)
    {
        const qint64 time = QDateTime(start.addDays(day), QTime(0, 0)).toSecsSinceEpoch();
        const auto found = readLog.find(time);
        const int count = found == readLog.end() ? 0 : found->second;
        if (day % 7 == 0)
            label = DateText(time);
        if (!weekly)
        {
            data.SetRowLabel(day, day % 7 == 0 ? label : QString(), OpenedColor);
            data.SetValue(day, 0, float(count));
            continue;
        }
        sum += count;
        if (day % 7 == 6)
        {
            data.SetRowLabel(day / 7, label, OpenedColor);
            data.SetValue(day / 7, 0, float(sum));
            sum = 0;
        }
    }
    return data;
}

QString CReportPage::BuildGraphUrl(int chartType, const CGraphData& data, const QString& option) const
{
    auto head = [&](int rows)
    {
        return m_makeServerUrl(
            QStringLiteral("kvgraph?type=%1&cols=1&rows=%2%3").arg(chartType).arg(rows).arg(option));
    };
    // The row count is written as the number of rows that fit, so a cut chart shows no empty
    // bars; its text never grows by the cut.
    QString rows;
    int kept = 0;
    const int headLength = int(head(data.GetRowCount()).size());
    for (; kept < data.GetRowCount(); ++kept)
    {
        // Built by joining: an encoded label is full of "%" that a placeholder would take.
        const QString row = QString::number(kept);
        const QString piece = QStringLiteral("&i_") + row + u'=' + UrlEncodeUtf8(data.GetRowLabel(kept)) +
                              QStringLiteral("&y_") + row + u'=' + QString::number(data.GetRowColor(kept)) +
                              QStringLiteral("&d_0_") + row + u'=' +
                              QString::number(int(data.GetValue(kept, 0)));
        if (headLength + rows.size() + piece.size() > MaxChartAddress)
            break;
        rows += piece;
    }
    return head(kept) + rows;
}

QString CReportPage::RenderGraphBlock(int chartType, const CGraphData& data, const QString& title,
                                      const QString& option, const QString& message, int width,
                                      int height) const
{
    QString block = QStringLiteral("<div style=\"overflow:hidden;");
    block += height > 0 ? QStringLiteral("width:%1px;height:%2px;").arg(width - 2).arg(height - 2)
                        : QStringLiteral("width:%1px;").arg(width - 2);
    block += QStringLiteral("border:solid 1px #445472;background-color:#eaebec;\">\r\n");
    if (chartType == LineChart && m_statisticsOn)
    {
        block += QStringLiteral("<div "
                                "style=\"width:100%;height:25px;font-size:12px;color:#ffffff;background-"
                                "color:#445472;padding:4px "
                                "12px 0px 12px;font-weight:bold;margin:0px;\">\r\n<form "
                                "action=\"__FORMPOST__.htm\" id=\"linegraphform\" "
                                "method=\"get\" style=\"float:right;margin:0px;padding:0px;\">\r\n<div "
                                "style=\"margin:0px;padding:0px;\">\r\n\t<select name=\"displaydays\" "
                                "id=\"displaydays\" onchange=\"try { "
                                "RenderGraph(document.all['displaydays'].options[document.all["
                                "'displaydays'].selectedIndex].value); } catch(e) {}\" "
                                "style=\"margin-right:18px;margin-bottom:0px;"
                                "padding:0px;\">\r\n");
        for (size_t i = 0; i < DisplayDayChoices.size(); ++i)
        {
            const int days = DisplayDayChoices[i];
            block += QStringLiteral("\t\t<option value=\"%1\"%2>%3</option>\r\n")
                         .arg(QString::number(days),
                              days == m_settings.displayDays ? QStringLiteral(" selected =\"selected\"")
                                                             : QString(),
                              Text(FirstDisplayDayLabel + quint32(i)));
        }
        block += QStringLiteral("\t</select>\r\n</div>\r\n</form>\r\n<span "
                                "style=\"float:left;margin-top:4px;margin-bottom:0px;"
                                "padding:0px;\">") +
                 title + QStringLiteral("</span>\r\n</div>\r\n");
    }
    else
    {
        block += TitleBar + title + QStringLiteral("</div>\r\n");
    }
    if (!message.isEmpty())
        block += MessageBox + message + QStringLiteral("</div>");
    block += QStringLiteral("<img src=\"") + EncodeHtmlEntities(BuildGraphUrl(chartType, data, option)) +
             QStringLiteral("\" style=\"border:none;display:block;\" alt=\"") + EncodeHtmlEntities(title) +
             QStringLiteral("\" title=\"") + EncodeHtmlEntities(title) + QStringLiteral("\"");
    if (chartType == LineChart)
        block += QStringLiteral(" id=\"linegraphimage\"");
    block += QStringLiteral(" />");
    block += QStringLiteral("</div>\r\n");
    return block;
}

QString CReportPage::SenderText() const
{
    const QString name = m_newsletter.Sender().GetString(ndb::SenderFromName);
    const QString address = m_newsletter.Sender().GetString(ndb::SenderFromAddress);
    const QString namePart = name.isEmpty() ? QString() : ShortText(name, 40);
    const QString addressPart = address.isEmpty()
                                    ? QString()
                                    : ShortText(address, 38, QStringLiteral("&lt;"), QStringLiteral("&gt;"));
    if (!namePart.isEmpty() && !addressPart.isEmpty())
        return namePart + QStringLiteral("<br />") + addressPart;
    if (namePart.isEmpty() && addressPart.isEmpty())
        return QStringLiteral("&nbsp;");
    return namePart + addressPart;
}

QString CReportPage::DateSentText() const
{
    QDateTime first;
    QDateTime last;
    if (!m_newsletter.Log().GetDateRange(first, last))
        return QStringLiteral("&nbsp;");
    const qint64 firstDay = LocalMidnight(first.toSecsSinceEpoch());
    const qint64 lastDay = LocalMidnight(last.toSecsSinceEpoch());
    if (lastDay - firstDay >= 86400)
        return DateText(firstDay) + QStringLiteral(" - ") + DateText(lastDay);
    return DateText(firstDay);
}

QString CReportPage::RenderSummaryBox() const
{
    const QString sent = m_counts.logged >= 1
                             ? QStringLiteral("%1 &nbsp; (%2)").arg(m_counts.logged).arg(Text(15235))
                             : QString::number(m_counts.logged);
    const std::pair<QString, QString> pairs[] = {
        {Text(15229), ShortText(m_newsletter.GetString(ndb::NewsletterName), 40)},
        {Text(15230), SenderText()},
        {Text(15231), DateSentText()},
        {Text(15232), QString::number(m_counts.total)},
        {Text(15233), QString::number(m_counts.notSent)},
        {Text(15234), sent},
    };
    QString box =
        QStringLiteral("<div style=\"overflow:hidden;width:376px;height:216px;border:solid 1px #445472;"
                       "background-color:#eaebec;\">\r\n") +
        TitleBar + Text(15210) + QStringLiteral("</div>\r\n");
    box +=
        QStringLiteral("<table border=\"0\" cellpadding=\"0\" cellspacing=\"0\" style=\"width:100%;\">\r\n");
    int index = 0;
    for (const auto& [label, value] : pairs)
        box += SummaryRow(index++, label, value);
    box += QStringLiteral("</table>\r\n</div>\r\n");
    return box;
}

QString CReportPage::RenderOverview() const
{
    CGraphData delivery(1, 3);
    delivery.SetRowLabel(0, Text(15207), DeliveredColor);
    delivery.SetValue(0, 0, float(m_counts.delivered));
    delivery.SetRowLabel(1, Text(15208), PendingColor);
    delivery.SetValue(1, 0, float(m_counts.pending));
    delivery.SetRowLabel(2, Text(15209), FailedColor);
    delivery.SetValue(2, 0, float(m_counts.failed + m_counts.failedPermanently));

    QString body =
        QStringLiteral("<table border=\"0\" cellpadding=\"0\" cellspacing=\"0\">\r\n\t<tr>\r\n\t\t<td>");
    body += RenderSummaryBox();
    body += QStringLiteral(
        "</td>\r\n\t\t<td><div style=\"width:14px;margin:0px;padding:0px;\"></div></td>\r\n\t\t<td>");
    body += RenderGraphBlock(PieChart, delivery, Text(15211), {}, {}, 310, 218);
    body += QStringLiteral("</td>\r\n\t</tr>\r\n</table>\r\n") + Spacer;

    const QString message = m_trackingOn ? QString() : Text(15236);
    int opened = 0, uniqueClicks = 0, clicks = 0, forwards = 0;
    if (m_statisticsOn && m_counts.delivered > 0)
        m_reader.FetchOverview(opened, uniqueClicks, clicks, forwards);
    const int values[] = {m_statisticsOn ? m_counts.delivered : 0, opened, uniqueClicks, clicks, forwards};
    const int labels[] = {15207, 15212, 15213, 15214, 15215};
    const int colors[] = {DeliveredColor, OpenedColor, UniqueClicksColor, ClicksColor, ForwardsColor};
    CGraphData overview(1, 5);
    for (int row = 0; row < 5; ++row)
    {
        overview.SetRowLabel(row, Text(quint32(labels[row])), colors[row]);
        overview.SetValue(row, 0, float(values[row]));
    }
    body +=
        RenderGraphBlock(BarChart, overview, Text(15216), QStringLiteral("&widthbar=520"), message, 702, 0) +
        Spacer;

    CGraphData placeholder(1, 7);
    const QString today = DateText(QDateTime::currentSecsSinceEpoch());
    for (int row = 0; row < 7; ++row)
        placeholder.SetRowLabel(row, today, OpenedColor);
    body += RenderGraphBlock(LineChart, placeholder, Text(15217), {}, message, 702, 0) + Spacer;

    if (m_links.empty())
    {
        body += QStringLiteral(
                    "<div style=\"overflow:hidden;width:700px;border:solid 1px #445472;background-color:"
                    "#eaebec;padding:0px;\">\r\n\t") +
                TitleBar + Text(15218) + QStringLiteral("</div>\r\n") + MessageBox +
                (message.isEmpty() ? Text(15237) : message) + QStringLiteral("</div></div>\r\n") + Spacer;
        return body;
    }
    CGraphData links(1, int(m_links.size()));
    int row = 0;
    for (const auto& [address, count] : m_links)
    {
        links.SetRowLabel(row, address, ClicksColor);
        links.SetValue(row++, 0, float(count));
    }
    body += RenderGraphBlock(BarChart, links, Text(15218), QStringLiteral("&widthbar=350"), message, 702, 0) +
            Spacer;
    return body;
}
