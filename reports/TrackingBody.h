#pragma once

#include "reports/StatisticsRow.h"

#include <QString>

class CReportPage;

// The Tracking body of the report page: the view chooser and the table of the Hot List, the
// Recently Opened or one link's view. It fills the page's lists of link and shown addresses.
class CTrackingBody
{
public:
    explicit CTrackingBody(CReportPage& page) : m_page(page) {}

    QString Render();

private:
    QString RenderChooser(QString& title);
    QString RenderView();
    QString RenderHotList();
    QString RenderRecentlyOpened();
    QString RenderOneLink();
    // Fills names, company and phones of the rows sent to a recipient; the count of such rows.
    int JoinRecipients(StatisticsRowList& rows) const;
    QString RenderTable(const QString& countText, StatisticsRowList& rows, int sortKey,
                        const QString& sortLink, int timeHeading, bool withClicks, const QString& tableEnd);
    static QString MessageBox(const QString& message);

    CReportPage& m_page;
};
