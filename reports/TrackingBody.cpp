#include "reports/TrackingBody.h"

#include "base/HtmlEntities.h"
#include "base/TextHelpers.h"
#include "ndb/NdbUser.h"
#include "platform/core/AppStrings.h"
#include "reports/ReportPage.h"
#include "reports/ReportText.h"

#include <algorithm>

namespace
{
constexpr int AllReaders = 999999;

QString Text(quint32 id)
{
    return LoadAppString(id);
}

QString CountText(int count, quint32 one, quint32 many)
{
    return count == 1 ? Text(one) : FormatResourceText(Text(many), {QString::number(count)});
}

QString ContactText(const ndb::CNdbUser& user)
{
    QStringList entries;
    const std::pair<int, quint32> phones[] = {
        {ndb::UserBusinessPhone, 15243}, {ndb::UserHomePhone, 15244}, {ndb::UserMobilePhone, 15245}};
    for (const auto& [field, label] : phones)
    {
        const QString number = user.GetString(field);
        if (!number.isEmpty())
            entries << number + QStringLiteral(" (") + Text(label) + QStringLiteral(")");
    }
    return entries.join(QStringLiteral("\r\n"));
}

QString CellText(const QString& text)
{
    return text.isEmpty() ? QStringLiteral("&nbsp;") : EncodeHtmlEntities(text);
}

QString Cell(const QString& kind, int row, const QString& content)
{
    return QStringLiteral("\t\t\t<td class=\"%1%2\">%3</td>\r\n")
        .arg(kind, row > 0 ? QStringLiteral("_border") : QString(), content);
}
} // namespace

QString CTrackingBody::Render()
{
    m_page.m_linkAddresses.clear();
    QString title;
    QString body =
        QStringLiteral("<table cellpadding=\"0\" cellspacing=\"0\" style=\"width:100%;border:solid 1px "
                       "#445472;padding:0px;margin:0px;\">\r\n\t<tr>\r\n\t\t<td>\r\n");
    body += RenderChooser(title);
    body +=
        QStringLiteral("\t<p class=\"printshow\" style=\"padding:7px 12px 0px 12px;margin:0px;font-size:13px;"
                       "color:#445472;font-weight:bold;\">") +
        EncodeHtmlEntities(title) + QStringLiteral("</p>\r\n");
    body +=
        QStringLiteral("<script type=\"text/javascript\">\r\n//<![CDATA[\r\n\ttry { "
                       "if(document.all.trackingmode_sel.clientWidth > 650) { "
                       "document.all.trackingmode_sel.style.width = \"650px\"; } } catch(e) {}\r\n//]]>\r\n"
                       "</script>\r\n");
    body += RenderView();
    body +=
        QStringLiteral("</td>\r\n\t</tr>\r\n</table>\r\n<div style=\"height:14px;margin:0px;padding:0px;\">"
                       "</div>\r\n");
    return body;
}

QString CTrackingBody::RenderChooser(QString& title)
{
    const ReportSettings& settings = m_page.m_settings;
    const QString selected = QStringLiteral(" selected=\"selected\"");
    QString options =
        QStringLiteral("\t\t\t\t\t<option value=\"trackingmodeHotList\"%1>%2</option>\r\n")
            .arg(settings.trackingView == ReportSettings::HotList ? selected : QString(), Text(15240)) +
        QStringLiteral("\t\t\t\t\t<option value=\"trackingmodeOpened\"%1>%2</option>\r\n")
            .arg(settings.trackingView == ReportSettings::RecentlyOpened ? selected : QString(), Text(15241));
    if (settings.trackingView == ReportSettings::HotList)
        title = Text(15240);
    else if (settings.trackingView == ReportSettings::RecentlyOpened)
        title = Text(15241);
    for (const auto& [address, clicks] : m_page.m_links)
    {
        m_page.m_linkAddresses << address;
        // Only the chosen link itself is marked, not every link its address begins with.
        const bool chosen =
            settings.trackingView == ReportSettings::OneLink && settings.chosenLink == address;
        if (chosen)
            title = address;
        options += QStringLiteral("\t\t\t\t\t<option value=\"trackingmodeLinks_%1\"%2>%3 %4</option>\r\n")
                       .arg(m_page.m_linkAddresses.size() - 1)
                       .arg(chosen ? selected : QString(), Text(15242), EncodeHtmlEntities(address));
    }
    return QStringLiteral("\t<div class=\"printhide\" style=\"padding:7px 12px 12px 12px;margin:0px;"
                          "background-color:#445472;\">\r\n\t\t<p style=\"font-size:12px;font-weight:bold;"
                          "color:#ffffff;\">") +
           Text(15239) +
           QStringLiteral(
               "</p>\r\n\t\t<form action=\"__TRACKINGMODE__.htm\" id=\"trackingmodeform\" method=\"get\" "
               "style=\"margin:0px;padding:0px;\">\r\n\t\t\t<div style=\"margin:0px;padding:0px;\">\r\n"
               "\t\t\t\t<select name=\"trackingmode_sel\" id=\"trackingmode_sel\" onchange=\"try { "
               "document.all['trackingmodeform'].submit(); } catch(e) {}\" style=\"margin:0px;"
               "padding:0px;\">\r\n") +
           options + QStringLiteral("\t\t\t\t</select>\r\n\t\t\t</div>\r\n\t\t</form>\r\n\t</div>\r\n");
}

QString CTrackingBody::RenderView()
{
    switch (m_page.m_settings.trackingView)
    {
    case ReportSettings::RecentlyOpened:
        return RenderRecentlyOpened();
    case ReportSettings::OneLink:
        return RenderOneLink();
    default:
        return RenderHotList();
    }
}

QString CTrackingBody::MessageBox(const QString& message)
{
    return QStringLiteral(
               "\t<div style=\"padding:12px;\"><p style=\"margin:0px;padding:7px 12px 7px 12px;border:"
               "solid 2px #902626;background-color:#ffffff;color:#902626;\">") +
           message + QStringLiteral("</p></div>");
}

int CTrackingBody::JoinRecipients(StatisticsRowList& rows) const
{
    int joined = 0;
    for (StatisticsRow& row : rows)
    {
        const auto found = m_page.m_sentRecipients.find(row.address);
        if (found == m_page.m_sentRecipients.end())
            continue;
        const ndb::CNdbUser& user = *found->second;
        row.phones = ContactText(user);
        row.company = user.GetString(ndb::UserCompany);
        row.firstName = user.GetString(ndb::UserFirstName);
        row.lastName = user.GetString(ndb::UserLastName);
        ++joined;
    }
    return joined;
}

QString CTrackingBody::RenderHotList()
{
    StatisticsRowList rows;
    if (m_page.m_statisticsOn)
        m_page.m_reader.FetchUserTrackers(rows);
    if (JoinRecipients(rows) == 0)
        return MessageBox(m_page.m_statisticsOn ? Text(15225) : Text(15236));
    const QString count = CountText(int(rows.size()), 15246, 15247);
    return RenderTable(count, rows, m_page.m_settings.hotListSortKey,
                       QStringLiteral("__SORT__.htm?sorthotlist="), 15223, true,
                       QStringLiteral("\t</table>\r\n"));
}

QString CTrackingBody::RenderRecentlyOpened()
{
    StatisticsRowList rows;
    int readCount = 0;
    if (m_page.m_statisticsOn)
    {
        LinkCountMap counts;
        LinkUsersMap users;
        m_page.m_reader.FetchSummary(readCount, rows, counts, users, AllReaders, 0);
    }
    if (JoinRecipients(rows) == 0)
        return MessageBox(m_page.m_statisticsOn ? Text(15222) : Text(15236));
    return RenderTable(CountText(readCount, 15248, 15249), rows, m_page.m_settings.readLogSortKey,
                       QStringLiteral("__SORT__.htm?sortreadloglist="), 15258, false,
                       QStringLiteral("\t</table>\r\n"));
}

QString CTrackingBody::RenderOneLink()
{
    const QString& chosen = m_page.m_settings.chosenLink;
    LinkUsersMap users;
    if (m_page.m_statisticsOn)
    {
        int readCount = 0;
        StatisticsRowList readers;
        LinkCountMap counts;
        m_page.m_reader.FetchSummary(readCount, readers, counts, users, 10, AllReaders);
    }
    if (!m_page.m_links.contains(chosen))
        return MessageBox(Text(15260));
    const auto found = users.find(chosen);
    if (found == users.end())
        return MessageBox(Text(15259));
    StatisticsRowList& rows = found->second;
    JoinRecipients(rows);
    return RenderTable(CountText(int(rows.size()), 15250, 15251), rows, m_page.m_settings.linkListSortKey,
                       QStringLiteral("__SORT__.htm?sortlinklist="), 15223, false,
                       QStringLiteral("\t\t</table>\r\n"));
}

QString CTrackingBody::RenderTable(const QString& countText, StatisticsRowList& rows, int sortKey,
                                   const QString& sortLink, int timeHeading, bool withClicks,
                                   const QString& tableEnd)
{
    SortStatisticsRows(rows, sortKey);
    QString table =
        QStringLiteral("\t<div style=\"padding:12px;margin:0px;background-color:#ffffff;\">\r\n\t\t<p>") +
        countText +
        QStringLiteral("</p>\r\n\t\t<p class=\"printhide\" style=\"margin-top:4px;\"><a style=\"color:"
                       "#619200;font-weight:bold;\" href=\"__COPYUSERS__.htm\">") +
        Text(15252) +
        QStringLiteral("</a></p>\r\n\t\t<p class=\"printhide\" style=\"margin-top:4px;font-size:10px;\">") +
        Text(15253) + QStringLiteral("</p>\r\n\t</div>\r\n");
    table +=
        QStringLiteral("\t<table border=\"0\" cellpadding=\"0\" cellspacing=\"0\" style=\"width:100%;\">\r\n"
                       "\t\t<tr id=\"table_heading_row\">\r\n");
    const quint32 headings[] = {15227, 15254, 15255, 15256, 15257, quint32(timeHeading), 15214};
    const int columns = withClicks ? 7 : 6;
    for (int key = 0; key < columns; ++key)
    {
        table += key == columns - 1 ? QStringLiteral("\t\t\t<td style=\"width:100%;\"><a href=\"")
                                    : QStringLiteral("\t\t\t<td><a href=\"");
        table += sortLink + QString::number(key) + QStringLiteral("\"");
        if (key == sortKey)
            table += QStringLiteral(" style=\"text-decoration:underline;\"");
        table += QStringLiteral(">") + Text(headings[key]) + QStringLiteral("</a></td>\r\n");
    }
    table += QStringLiteral("\t\t</tr>\r\n");

    int maximum = 1;
    for (const StatisticsRow& row : rows)
    {
        if (m_page.m_sentRecipients.contains(row.address))
            maximum = std::max(maximum, row.clicks);
    }
    int printed = 0;
    for (const StatisticsRow& row : rows)
    {
        if (!m_page.m_sentRecipients.contains(row.address))
            continue;
        m_page.m_shownAddresses << row.address;
        const QString time = FormatLocalTime(row.time, Text(15228));
        table += QStringLiteral("\t\t<tr class=\"%1\">\r\n").arg(printed % 2 ? "bgeven" : "bgodd");
        table += Cell(QStringLiteral("td"), printed, CellText(row.address));
        table += Cell(QStringLiteral("td"), printed, CellText(row.firstName));
        table += Cell(QStringLiteral("td"), printed, CellText(row.lastName));
        table += Cell(QStringLiteral("td"), printed, CellText(row.company));
        table += Cell(QStringLiteral("td"), printed,
                      row.phones.isEmpty() ? QStringLiteral("&nbsp;")
                                           : LineBreaksToHtml(EncodeHtmlEntities(row.phones)));
        if (withClicks)
        {
            // A negative count from the service draws no bar rather than one running backwards.
            const int width = std::clamp(int(double(row.clicks) / maximum * 100), 0, 100);
            table += Cell(QStringLiteral("td"), printed, time);
            table += Cell(
                QStringLiteral("td_last"), printed,
                QStringLiteral("<table border=\"0\" cellpadding=\"0\" cellspacing=\"0\"><tr><td "
                               "class=\"td_graph_1\"><div class=\"div_graph_1\"><div class=\"div_graph_2\" "
                               "style=\"width:%1px;\"></div></div></td><td class=\"td_graph_2\" "
                               "style=\"\">")
                        .arg(width) +
                    FormatResourceText(Text(15224), {QString::number(row.clicks)}) +
                    QStringLiteral("</td></tr></table>"));
        }
        else
        {
            table += Cell(QStringLiteral("td_last"), printed, time);
        }
        table += QStringLiteral("\t\t</tr>\r\n");
        ++printed;
    }
    return table + tableEnd;
}
