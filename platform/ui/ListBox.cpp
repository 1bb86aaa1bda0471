#include "platform/ui/ListBox.h"

#include "platform/ui/WndHost.h"

#include <QAbstractItemDelegate>
#include <QListWidget>
#include <QMouseEvent>
#include <QSignalBlocker>

namespace
{
constexpr int ItemDataRole = Qt::UserRole;

CListBox* ListOf(const QWidget* widget)
{
    return dynamic_cast<CListBox*>(CWnd::FromHandle(widget));
}

QListWidget* ListWidget(const CWnd* wnd)
{
    return qobject_cast<QListWidget*>(wnd->GetSafeHwnd());
}

class OwnerDrawDelegate : public QAbstractItemDelegate
{
public:
    explicit OwnerDrawDelegate(QListWidget* list) : QAbstractItemDelegate(list), m_list(list) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        CListBox* box = ListOf(m_list);
        if (!box)
            return;
        DRAWITEMSTRUCT draw;
        draw.CtlType = ODT_LISTBOX;
        draw.CtlID = box->GetDlgCtrlID();
        draw.itemID = index.row();
        draw.itemState = (option.state & QStyle::State_Selected) ? ODS_SELECTED : 0;
        draw.hwndItem = box;
        draw.itemData = box->GetItemData(index.row());
        DrawItemByOwner(painter, option.rect, m_list->font(), &draw,
                        [box](DRAWITEMSTRUCT* d) { box->DrawItem(d); });
    }
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex& index) const override
    {
        MEASUREITEMSTRUCT measure;
        measure.CtlType = ODT_LISTBOX;
        measure.itemID = index.row();
        measure.itemHeight = UINT(m_list->fontMetrics().height());
        if (CListBox* box = ListOf(m_list))
        {
            measure.CtlID = box->GetDlgCtrlID();
            measure.itemData = box->GetItemData(index.row());
            box->MeasureItem(&measure);
        }
        return {int(measure.itemWidth), int(measure.itemHeight)};
    }

private:
    QListWidget* m_list;
};

// Hands the mouse input of the list's rows to the window's procedure before the list sees it.
class ViewportMouseFilter : public QObject
{
public:
    explicit ViewportMouseFilter(QListWidget* list) : QObject(list), m_list(list) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        UINT message = 0;
        if (event->type() == QEvent::MouseMove)
            message = WM_MOUSEMOVE;
        else if (event->type() == QEvent::MouseButtonPress)
        {
            const Qt::MouseButton button = static_cast<QMouseEvent*>(event)->button();
            message = button == Qt::LeftButton    ? WM_LBUTTONDOWN
                      : button == Qt::RightButton ? WM_RBUTTONDOWN
                                                  : 0;
        }
        CWnd* wnd = CWnd::FromHandle(m_list);
        if (message && wnd && m_list->isEnabled())
        {
            auto* mouse = static_cast<QMouseEvent*>(event);
            const QPoint p = mouse->position().toPoint();
            WPARAM keys = 0;
            if (mouse->buttons() & Qt::LeftButton)
                keys |= MK_LBUTTON;
            if (mouse->buttons() & Qt::RightButton)
                keys |= MK_RBUTTON;
            wnd->SendMessage(message, keys, MAKELPARAM(p.x(), p.y()));
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QListWidget* m_list;
};

int SortedIndex(const QListWidget* list, const QString& text)
{
    for (int i = 0; i < list->count(); ++i)
    {
        if (QString::compare(text, list->item(i)->text(), Qt::CaseInsensitive) < 0)
            return i;
    }
    return list->count();
}
} // namespace

QWidget* CListBox::CreateHostWidget(QWidget* parent, DWORD style, DWORD)
{
    auto* list = new CWndHost<QListWidget>(this, parent);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setFocusPolicy((style & WS_TABSTOP) ? Qt::StrongFocus : Qt::ClickFocus);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    if (!(style & WS_BORDER))
        list->setFrameShape(QFrame::NoFrame);
    if (style & LBS_OWNERDRAWVARIABLE)
    {
        list->setItemDelegate(new OwnerDrawDelegate(list));
        list->setUniformItemSizes(false);
    }
    list->viewport()->setMouseTracking(true);
    list->viewport()->installEventFilter(new ViewportMouseFilter(list));
    if (style & LBS_NOTIFY)
    {
        QObject::connect(list, &QListWidget::itemSelectionChanged, list,
                         [list]
                         {
                             if (CWnd* wnd = CWnd::FromHandle(list))
                                 wnd->NotifyParent(LBN_SELCHANGE);
                         });
        QObject::connect(list, &QListWidget::itemDoubleClicked, list,
                         [list]
                         {
                             if (CWnd* wnd = CWnd::FromHandle(list))
                                 wnd->NotifyParent(LBN_DBLCLK);
                         });
    }
    return list;
}

int CListBox::AddString(const QString& text)
{
    const QListWidget* list = ListWidget(this);
    if (!list)
        return LB_ERR;
    return InsertString((GetStyle() & LBS_SORT) ? SortedIndex(list, text) : -1, text);
}

int CListBox::InsertString(int index, const QString& text)
{
    QListWidget* list = ListWidget(this);
    if (!list || index < -1 || index > list->count())
        return LB_ERR;
    if (index == -1)
        index = list->count();
    const QSignalBlocker block(list);
    list->insertItem(index, text);
    return index;
}

int CListBox::DeleteString(int index)
{
    QListWidget* list = ListWidget(this);
    if (!list || index < 0 || index >= list->count())
        return LB_ERR;
    const QSignalBlocker block(list);
    delete list->takeItem(index);
    return list->count();
}

void CListBox::ResetContent()
{
    if (QListWidget* list = ListWidget(this))
    {
        const QSignalBlocker block(list);
        list->clear();
    }
}

int CListBox::GetCount() const
{
    const QListWidget* list = ListWidget(this);
    return list ? list->count() : 0;
}

int CListBox::GetCurSel() const
{
    const QListWidget* list = ListWidget(this);
    if (!list)
        return LB_ERR;
    const QList<QListWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? LB_ERR : list->row(selected.first());
}

int CListBox::SetCurSel(int index)
{
    QListWidget* list = ListWidget(this);
    if (!list || index < -1 || index >= list->count())
        return LB_ERR;
    const QSignalBlocker block(list);
    list->clearSelection();
    if (index < 0)
        return LB_ERR;
    list->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
    list->scrollToItem(list->item(index));
    return index;
}

QString CListBox::GetText(int index) const
{
    const QListWidget* list = ListWidget(this);
    return list && index >= 0 && index < list->count() ? list->item(index)->text() : QString();
}

UINT_PTR CListBox::GetItemData(int index) const
{
    const QListWidget* list = ListWidget(this);
    if (!list || index < 0 || index >= list->count())
        return 0;
    return UINT_PTR(list->item(index)->data(ItemDataRole).toULongLong());
}

int CListBox::SetItemData(int index, UINT_PTR data)
{
    QListWidget* list = ListWidget(this);
    if (!list || index < 0 || index >= list->count())
        return LB_ERR;
    list->item(index)->setData(ItemDataRole, QVariant::fromValue(qulonglong(data)));
    return 0;
}

int CListBox::ItemFromPoint(CPoint point, bool& outside) const
{
    const QListWidget* list = ListWidget(this);
    outside = true;
    if (!list || list->count() == 0)
        return 0;
    const QModelIndex index = list->indexAt(point.ToQPoint());
    if (index.isValid())
    {
        outside = false;
        return index.row();
    }
    const QRect first = list->visualItemRect(list->item(0));
    return point.y < first.top() ? 0 : list->count() - 1;
}

void CListBox::MeasureItem(MEASUREITEMSTRUCT*) {}

void CListBox::DrawItem(DRAWITEMSTRUCT*) {}
