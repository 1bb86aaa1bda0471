#include "platform/ui/BrowserChannel.h"

#include "platform/ui/IEBrowser.h"

// The reports arrive while the engine delivers a message of the page; the parent's handlers call
// back into the page, which the engine cannot answer until that delivery is over. So each report
// reaches the control later, in the order they came.
template <class Report> void CBrowserChannel::Later(Report report)
{
    m_browser->WhenPageSettles(std::move(report));
}

void CBrowserChannel::selectionChanged(const QVariantMap& state)
{
    Later(
        [this, state]
        {
            m_browser->ApplyStatus(state);
            m_browser->SendToParent(UM_BROWSER_SELECTION_CHANGE);
        });
}

void CBrowserChannel::statusChanged(const QVariantMap& state)
{
    Later([this, state] { m_browser->ApplyStatus(state); });
}

void CBrowserChannel::mouseDown(int x, int y, double ref)
{
    Later([this, x, y, ref]
          { m_browser->ReportPointerEvent(UM_BROWSER_MOUSE_DOWN, QPoint(x, y), QVariant(qint64(ref))); });
}

void CBrowserChannel::doubleClick(int x, int y, double ref, bool ctrlKey)
{
    Later(
        [this, x, y, ref, ctrlKey] {
            m_browser->ReportPointerEvent(UM_BROWSER_DBLCLICK, QPoint(x, y), QVariant(qint64(ref)),
                                          {ctrlKey});
        });
}

void CBrowserChannel::contextMenu(int x, int y, double ref, bool ctrlKey, bool shiftKey)
{
    m_browser->m_menuTarget =
        CIEBrowser::MenuTarget{QPoint(x, y), QVariant(qint64(ref)), {ctrlKey, shiftKey}};
}

void CBrowserChannel::snapRect(const QString& id, int positioning, int left, int top, int right, int bottom)
{
    if (id.isEmpty())
        return;
    const SnapRectInfo info{id, positioning == 3 ? 3 : 1, left, top, right, bottom};
    Later([this, info] { m_browser->SendToParent(UM_BROWSER_SNAP_RECT, LPARAM(&info)); });
}

void CBrowserChannel::paste(bool plainText)
{
    Later(
        [this, plainText]
        {
            if (m_browser->GetEditFlag())
                m_browser->SendToParent(UM_BROWSER_PASTE, plainText ? 1 : 0);
        });
}
