#include "platform/ui/ListCtrl.h"

#include "platform/ui/ImageList.h"
#include "platform/ui/WndHost.h"

#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPixmap>
#include <QTreeWidget>

namespace
{
constexpr int ItemDataRole = Qt::UserRole;
// The check state last reported, so that changes of text or data report nothing.
constexpr int ReportedCheckRole = Qt::UserRole + 1;

QTreeWidget* Tree(const CWnd* wnd)
{
    return qobject_cast<QTreeWidget*>(wnd->GetSafeHwnd());
}

WORD VirtualKeyOf(int key)
{
    static const std::pair<int, WPARAM> keys[] = {
        {Qt::Key_Up, VK_UP},         {Qt::Key_Down, VK_DOWN},     {Qt::Key_Home, VK_HOME},
        {Qt::Key_End, VK_END},       {Qt::Key_Left, VK_LEFT},     {Qt::Key_Right, VK_RIGHT},
        {Qt::Key_Return, VK_RETURN}, {Qt::Key_Delete, VK_DELETE}, {Qt::Key_Escape, VK_ESCAPE},
        {Qt::Key_Tab, VK_TAB},
    };
    for (const auto& [qtKey, virtualKey] : keys)
    {
        if (qtKey == key)
            return WORD(virtualKey);
    }
    // Letters and digits have the codes of their upper-case characters.
    return key >= 0x20 && key <= 0x7E ? WORD(key) : 0;
}

void SendToParent(QTreeWidget* tree, UINT code, NMHDR* header)
{
    CWnd* list = CWnd::FromHandle(tree);
    CWnd* parent = list ? list->GetParent() : nullptr;
    if (!parent)
        return;
    header->hwndFrom = list;
    header->idFrom = list->GetDlgCtrlID();
    header->code = code;
    parent->SendMessage(WM_NOTIFY, WPARAM(header->idFrom), LPARAM(header));
}

// Tells the list's parent about clicks on the rows and key presses in the list.
class NotifyFilter : public QObject
{
public:
    // The viewport is kept from the start: events still arrive while the tree is being destroyed,
    // when it can no longer be asked for it.
    explicit NotifyFilter(QTreeWidget* tree) : QObject(tree), m_tree(tree), m_viewport(tree->viewport()) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_tree && event->type() == QEvent::KeyPress)
        {
            NMLVKEYDOWN key;
            key.wVKey = VirtualKeyOf(static_cast<QKeyEvent*>(event)->key());
            Send(LVN_KEYDOWN, &key.hdr);
        }
        else if (watched == m_viewport && (event->type() == QEvent::MouseButtonRelease ||
                                           event->type() == QEvent::MouseButtonDblClick))
        {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton)
            {
                NMITEMACTIVATE activate;
                const QPoint p = mouse->position().toPoint();
                const QModelIndex index = m_tree->indexAt(p);
                activate.iItem = index.isValid() ? index.row() : -1;
                activate.iSubItem = index.isValid() ? index.column() : 0;
                activate.ptAction = CPoint(p);
                Send(event->type() == QEvent::MouseButtonDblClick ? NM_DBLCLK : NM_CLICK, &activate.hdr);
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void Send(UINT code, NMHDR* header) { SendToParent(m_tree, code, header); }

    QTreeWidget* m_tree;
    QWidget* m_viewport;
};

int SortedRow(const QTreeWidget* tree, const QString& text)
{
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
    {
        if (QString::compare(text, tree->topLevelItem(i)->text(0), Qt::CaseInsensitive) < 0)
            return i;
    }
    return tree->topLevelItemCount();
}
} // namespace

QWidget* CListCtrl::CreateHostWidget(QWidget* parent, DWORD style, DWORD)
{
    auto* tree = new CWndHost<QTreeWidget>(this, parent);
    tree->setColumnCount(0);
    tree->setRootIsDecorated(false);
    tree->setIndentation(0);
    tree->setUniformRowHeights(true);
    tree->setAllColumnsShowFocus(true);
    tree->setSelectionBehavior(QAbstractItemView::SelectRows);
    tree->setSelectionMode((style & LVS_SINGLESEL) ? QAbstractItemView::SingleSelection
                                                   : QAbstractItemView::ExtendedSelection);
    tree->setFocusPolicy((style & WS_TABSTOP) ? Qt::StrongFocus : Qt::ClickFocus);
    tree->header()->setSectionsMovable(false);
    tree->header()->setSectionsClickable(false);
    tree->header()->setStretchLastSection(false);
    tree->setHeaderHidden((style & LVS_NOCOLUMNHEADER) != 0);
    if (!(style & WS_BORDER))
        tree->setFrameShape(QFrame::NoFrame);
    auto* filter = new NotifyFilter(tree);
    tree->installEventFilter(filter);
    tree->viewport()->installEventFilter(filter);
    const auto changed = [tree]
    {
        NMLISTVIEW change;
        SendToParent(tree, LVN_ITEMCHANGED, &change.hdr);
    };
    QObject::connect(tree, &QTreeWidget::currentItemChanged, tree, changed);
    QObject::connect(tree, &QTreeWidget::itemSelectionChanged, tree, changed);
    QObject::connect(tree, &QTreeWidget::itemChanged, tree,
                     [tree](QTreeWidgetItem* entry, int column)
                     {
                         const QVariant reported = entry->data(0, ReportedCheckRole);
                         if (column != 0 || !reported.isValid() || reported.toInt() == entry->checkState(0))
                             return;
                         entry->setData(0, ReportedCheckRole, int(entry->checkState(0)));
                         const auto image = [](int state)
                         { return UINT(state == Qt::Checked ? 2 : 1) << 12; };
                         NMLISTVIEW change;
                         change.iItem = tree->indexOfTopLevelItem(entry);
                         change.uChanged = LVIF_STATE;
                         change.uOldState = image(reported.toInt());
                         change.uNewState = image(entry->checkState(0));
                         SendToParent(tree, LVN_ITEMCHANGED, &change.hdr);
                     });
    return tree;
}

int CListCtrl::InsertColumn(int column, const QString& heading, int, int width)
{
    QTreeWidget* tree = Tree(this);
    if (!tree)
        return -1;
    const int count = tree->columnCount();
    column = std::clamp(column, 0, count);
    QStringList headings;
    for (int i = 0; i < count; ++i)
        headings << tree->headerItem()->text(i);
    headings.insert(column, heading);
    tree->setColumnCount(count + 1);
    tree->setHeaderLabels(headings);
    if (width >= 0)
        tree->setColumnWidth(column, width);
    return column;
}

bool CListCtrl::SetColumnWidth(int column, int width)
{
    QTreeWidget* tree = Tree(this);
    if (!tree || column < 0 || column >= tree->columnCount())
        return false;
    tree->setColumnWidth(column, width);
    return true;
}

int CListCtrl::GetColumnWidth(int column) const
{
    const QTreeWidget* tree = Tree(this);
    return tree && column >= 0 && column < tree->columnCount() ? tree->columnWidth(column) : 0;
}

int CListCtrl::InsertItem(int item, const QString& text)
{
    QTreeWidget* tree = Tree(this);
    if (!tree || item < 0)
        return -1;
    const int row =
        (GetStyle() & LVS_SORTASCENDING) ? SortedRow(tree, text) : std::min(item, tree->topLevelItemCount());
    auto* entry = new QTreeWidgetItem;
    entry->setText(0, text);
    if (m_extendedStyle & LVS_EX_CHECKBOXES)
    {
        entry->setFlags(entry->flags() | Qt::ItemIsUserCheckable);
        entry->setCheckState(0, Qt::Unchecked);
        entry->setData(0, ReportedCheckRole, int(Qt::Unchecked));
    }
    tree->insertTopLevelItem(row, entry);
    return row;
}

int CListCtrl::InsertItem(int item, const QString& text, int image)
{
    const int row = InsertItem(item, text);
    QTreeWidget* tree = Tree(this);
    if (row >= 0 && m_images && image >= 0 && image < m_images->GetImageCount())
        tree->topLevelItem(row)->setIcon(0, QIcon(QPixmap::fromImage(m_images->GetImage(image))));
    return row;
}

void CListCtrl::SetImageList(CImageList* images, int)
{
    m_images = images;
    if (QTreeWidget* tree = Tree(this); tree && images)
        tree->setIconSize(QSize(images->GetWidth(), images->GetHeight()));
}

bool CListCtrl::DeleteItem(int item)
{
    QTreeWidget* tree = Tree(this);
    if (!tree || item < 0 || item >= tree->topLevelItemCount())
        return false;
    delete tree->takeTopLevelItem(item);
    return true;
}

bool CListCtrl::DeleteAllItems()
{
    QTreeWidget* tree = Tree(this);
    if (!tree)
        return false;
    tree->clear();
    return true;
}

int CListCtrl::GetItemCount() const
{
    const QTreeWidget* tree = Tree(this);
    return tree ? tree->topLevelItemCount() : 0;
}

bool CListCtrl::SetItemText(int item, int subItem, const QString& text)
{
    QTreeWidget* tree = Tree(this);
    QTreeWidgetItem* entry = tree ? tree->topLevelItem(item) : nullptr;
    if (!entry || subItem < 0 || subItem >= std::max(tree->columnCount(), 1))
        return false;
    entry->setText(subItem, text);
    return true;
}

QString CListCtrl::GetItemText(int item, int subItem) const
{
    const QTreeWidget* tree = Tree(this);
    const QTreeWidgetItem* entry = tree ? tree->topLevelItem(item) : nullptr;
    return entry ? entry->text(subItem) : QString();
}

bool CListCtrl::SetItemData(int item, UINT_PTR data)
{
    QTreeWidget* tree = Tree(this);
    QTreeWidgetItem* entry = tree ? tree->topLevelItem(item) : nullptr;
    if (!entry)
        return false;
    entry->setData(0, ItemDataRole, QVariant::fromValue(qulonglong(data)));
    return true;
}

UINT_PTR CListCtrl::GetItemData(int item) const
{
    const QTreeWidget* tree = Tree(this);
    const QTreeWidgetItem* entry = tree ? tree->topLevelItem(item) : nullptr;
    return entry ? UINT_PTR(entry->data(0, ItemDataRole).toULongLong()) : 0;
}

bool CListCtrl::SetItemState(int item, UINT state, UINT mask)
{
    QTreeWidget* tree = Tree(this);
    QTreeWidgetItem* entry = tree ? tree->topLevelItem(item) : nullptr;
    if (!entry)
        return false;
    if (mask & LVIS_SELECTED)
    {
        if ((state & LVIS_SELECTED) && tree->selectionMode() == QAbstractItemView::SingleSelection)
            tree->clearSelection();
        entry->setSelected((state & LVIS_SELECTED) != 0);
        if (state & LVIS_SELECTED)
            tree->scrollToItem(entry);
    }
    if ((mask & LVIS_FOCUSED) && (state & LVIS_FOCUSED))
        tree->setCurrentItem(entry, 0, QItemSelectionModel::NoUpdate);
    return true;
}

UINT CListCtrl::GetItemState(int item, UINT mask) const
{
    const QTreeWidget* tree = Tree(this);
    const QTreeWidgetItem* entry = tree ? tree->topLevelItem(item) : nullptr;
    if (!entry)
        return 0;
    UINT state = 0;
    if (entry->isSelected())
        state |= LVIS_SELECTED;
    if (tree->currentItem() == entry)
        state |= LVIS_FOCUSED;
    return state & mask;
}

int CListCtrl::GetNextItem(int start, UINT flags) const
{
    for (int i = std::max(start + 1, 0); i < GetItemCount(); ++i)
    {
        if (!(flags & LVNI_SELECTED) || GetItemState(i, LVIS_SELECTED))
            return i;
    }
    return -1;
}

int CListCtrl::GetSelectionMark() const
{
    // The view gives its first row the focus when it gets the keyboard focus itself; that row is
    // no mark until it is selected.
    const QTreeWidget* tree = Tree(this);
    QTreeWidgetItem* current = tree ? tree->currentItem() : nullptr;
    return current && current->isSelected() ? tree->indexOfTopLevelItem(current) : -1;
}

int CListCtrl::SetSelectionMark(int item)
{
    const int previous = GetSelectionMark();
    QTreeWidget* tree = Tree(this);
    if (tree && item < 0)
        tree->setCurrentItem(nullptr, 0, QItemSelectionModel::NoUpdate);
    else if (QTreeWidgetItem* entry = tree ? tree->topLevelItem(item) : nullptr)
        tree->setCurrentItem(entry, 0, QItemSelectionModel::NoUpdate);
    return previous;
}

bool CListCtrl::SetCheck(int item, bool checked)
{
    QTreeWidget* tree = Tree(this);
    QTreeWidgetItem* entry = tree ? tree->topLevelItem(item) : nullptr;
    if (!entry || !(m_extendedStyle & LVS_EX_CHECKBOXES))
        return false;
    entry->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
    return true;
}

bool CListCtrl::GetCheck(int item) const
{
    const QTreeWidget* tree = Tree(this);
    const QTreeWidgetItem* entry = tree ? tree->topLevelItem(item) : nullptr;
    return entry && entry->checkState(0) == Qt::Checked;
}
