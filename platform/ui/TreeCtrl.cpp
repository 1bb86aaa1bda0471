#include "platform/ui/TreeCtrl.h"

#include "platform/ui/ImageList.h"
#include "platform/ui/WndHost.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTreeWidget>

namespace
{
constexpr int DataRole = Qt::UserRole;
constexpr int ImageRole = Qt::UserRole + 1;
constexpr int SelectedImageRole = Qt::UserRole + 2;
constexpr int InsertMarkWidth = 2;
// Room left and right of a label's text, inside the label.
constexpr int LabelMargin = 3;

bool IsWithin(const QTreeWidgetItem* item, const QTreeWidgetItem* ancestor)
{
    for (const QTreeWidgetItem* i = item; i; i = i->parent())
    {
        if (i == ancestor)
            return true;
    }
    return false;
}

class TreeWidget : public QTreeWidget
{
public:
    explicit TreeWidget(QWidget* parent);

    CImageList* images = nullptr;
    QPointer<QLineEdit> editor;
    QTreeWidgetItem* edited = nullptr;
    QTreeWidgetItem* insertMark = nullptr;
    bool insertAfter = true;
    QTreeWidgetItem* dropTarget = nullptr;
    COLORREF insertMarkColor = 0;

    void ShowImages(QTreeWidgetItem* item) const;
    void ShowImagesOfAll();
    // Drops every reference to the item and its subtree before it goes; null: to every item.
    void Forget(const QTreeWidgetItem* item);
    // Where the label and the icon of the row are, in viewport coordinates.
    QRect LabelRect(QTreeWidgetItem* item);
    QRect IconRect(QTreeWidgetItem* item) const;
    // Sends TVN_ENDLABELEDITW; true when the parent takes the label.
    bool EndLabelEdit(QTreeWidgetItem* item, const QString* text);
    QTreeWidgetItem* ItemOf(const QModelIndex& index) const { return itemFromIndex(index); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    LRESULT Notify(NMHDR* header);

    QTreeWidgetItem* m_pressed = nullptr;
    QPoint m_pressPoint;
};

class LabelDelegate : public QStyledItemDelegate
{
public:
    explicit LabelDelegate(TreeWidget* tree) : QStyledItemDelegate(tree), m_tree(tree) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override
    {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        m_tree->editor = qobject_cast<QLineEdit*>(editor);
        m_tree->edited = m_tree->ItemOf(index);
        return editor;
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        auto* edit = qobject_cast<QLineEdit*>(editor);
        const QString text = edit ? edit->text() : QString();
        if (m_tree->EndLabelEdit(m_tree->ItemOf(index), &text))
            model->setData(index, text, Qt::EditRole);
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (m_tree->dropTarget && m_tree->ItemOf(index) == m_tree->dropTarget)
            option->state |= QStyle::State_Selected;
    }

private:
    TreeWidget* m_tree;
};

TreeWidget::TreeWidget(QWidget* parent) : QTreeWidget(parent)
{
    setColumnCount(1);
    header()->hide();
    setSelectionMode(QAbstractItemView::SingleSelection);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setDragEnabled(false);
    setItemDelegate(new LabelDelegate(this));
}

void TreeWidget::ShowImages(QTreeWidgetItem* item) const
{
    if (!images)
    {
        item->setIcon(0, QIcon());
        return;
    }
    const QImage normal = images->GetImage(item->data(0, ImageRole).toInt());
    const QImage selected = images->GetImage(item->data(0, SelectedImageRole).toInt());
    QIcon icon;
    if (!normal.isNull())
        icon.addPixmap(QPixmap::fromImage(normal), QIcon::Normal);
    if (!selected.isNull())
        icon.addPixmap(QPixmap::fromImage(selected), QIcon::Selected);
    item->setIcon(0, icon);
}

void TreeWidget::ShowImagesOfAll()
{
    for (QTreeWidgetItemIterator it(this); *it; ++it)
        ShowImages(*it);
}

void TreeWidget::Forget(const QTreeWidgetItem* item)
{
    for (QTreeWidgetItem** held : {&insertMark, &dropTarget, &m_pressed, &edited})
    {
        if (!item || IsWithin(*held, item))
            *held = nullptr;
    }
}

QRect TreeWidget::IconRect(QTreeWidgetItem* item) const
{
    const QRect cell = visualItemRect(item);
    if (item->icon(0).isNull())
        return QRect(cell.left(), cell.top(), 0, cell.height());
    const QSize size = iconSize();
    return QRect(cell.left() + LabelMargin, cell.top() + (cell.height() - size.height()) / 2, size.width(),
                 size.height());
}

QRect TreeWidget::LabelRect(QTreeWidgetItem* item)
{
    const QRect cell = visualItemRect(item);
    const QRect icon = IconRect(item);
    const int left = icon.width() > 0 ? icon.right() + 1 : cell.left();
    const int width = fontMetrics().horizontalAdvance(item->text(0)) + 2 * LabelMargin;
    return QRect(left, cell.top(), width, cell.height());
}

bool TreeWidget::EndLabelEdit(QTreeWidgetItem* item, const QString* text)
{
    NMTVDISPINFO info;
    info.hdr.code = TVN_ENDLABELEDITW;
    info.item.hItem = item;
    info.item.pszText = text ? reinterpret_cast<const char16_t*>(text->utf16()) : nullptr;
    info.item.lParam = item ? LPARAM(item->data(0, DataRole).toULongLong()) : 0;
    return Notify(&info.hdr) != 0;
}

LRESULT TreeWidget::Notify(NMHDR* header)
{
    CWnd* tree = CWnd::FromHandle(this);
    CWnd* parent = tree ? tree->GetParent() : nullptr;
    if (!parent)
        return 0;
    header->hwndFrom = tree;
    header->idFrom = tree->GetDlgCtrlID();
    return parent->SendMessage(WM_NOTIFY, WPARAM(header->idFrom), LPARAM(header));
}

void TreeWidget::paintEvent(QPaintEvent* event)
{
    QTreeWidget::paintEvent(event);
    if (!insertMark)
        return;
    const QRect row = visualItemRect(insertMark);
    if (!row.isValid())
        return;
    const int y = insertAfter ? row.bottom() : row.top();
    QPainter painter(viewport());
    const QColor color(GetRValue(insertMarkColor), GetGValue(insertMarkColor), GetBValue(insertMarkColor));
    const int left = row.left();
    const int right = viewport()->width() - 1;
    painter.fillRect(QRect(left, y - InsertMarkWidth / 2, right - left + 1, InsertMarkWidth), color);
    painter.fillRect(QRect(left, y - 3, InsertMarkWidth, 7), color);
    painter.fillRect(QRect(right - InsertMarkWidth + 1, y - 3, InsertMarkWidth, 7), color);
}

void TreeWidget::mousePressEvent(QMouseEvent* event)
{
    m_pressed = event->button() == Qt::LeftButton ? itemAt(event->position().toPoint()) : nullptr;
    m_pressPoint = event->position().toPoint();
    QTreeWidget::mousePressEvent(event);
}

void TreeWidget::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    if (!m_pressed || !(event->buttons() & Qt::LeftButton) ||
        (point - m_pressPoint).manhattanLength() < QApplication::startDragDistance())
    {
        QTreeWidget::mouseMoveEvent(event);
        return;
    }
    // The parent runs the drag from here; the view forgets the press so that it does not go on
    // selecting rows under the pointer.
    NMTREEVIEW info;
    info.hdr.code = TVN_BEGINDRAGW;
    info.itemNew.hItem = m_pressed;
    info.itemNew.lParam = LPARAM(m_pressed->data(0, DataRole).toULongLong());
    info.ptDrag = CPoint(viewport()->mapTo(this, m_pressPoint));
    m_pressed = nullptr;
    setState(QAbstractItemView::NoState);
    Notify(&info.hdr);
}

void TreeWidget::mouseReleaseEvent(QMouseEvent* event)
{
    m_pressed = nullptr;
    QTreeWidget::mouseReleaseEvent(event);
}

void TreeWidget::closeEditor(QWidget* closing, QAbstractItemDelegate::EndEditHint hint)
{
    if (hint == QAbstractItemDelegate::RevertModelCache)
        EndLabelEdit(edited, nullptr);
    if (editor == closing)
    {
        editor = nullptr;
        edited = nullptr;
    }
    QTreeWidget::closeEditor(closing, hint);
}

TreeWidget* TreeOf(const CWnd* wnd)
{
    return dynamic_cast<TreeWidget*>(wnd->GetSafeHwnd());
}

// Viewport and window coordinates of the tree differ by its frame.
QPoint ViewportOffset(const TreeWidget* tree)
{
    return tree->viewport()->geometry().topLeft();
}
} // namespace

QWidget* CTreeCtrl::CreateHostWidget(QWidget* parent, DWORD style, DWORD)
{
    auto* tree = new CWndHost<TreeWidget>(this, parent);
    tree->setRootIsDecorated((style & (TVS_LINESATROOT | TVS_HASBUTTONS)) != 0);
    tree->setEditTriggers((style & TVS_EDITLABELS) ? QAbstractItemView::SelectedClicked
                                                   : QAbstractItemView::NoEditTriggers);
    tree->setFocusPolicy((style & WS_TABSTOP) ? Qt::StrongFocus : Qt::ClickFocus);
    return tree;
}

LRESULT CTreeCtrl::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    TreeWidget* tree = TreeOf(this);
    if (message == WM_VSCROLL && tree)
    {
        if (wParam == SB_LINEUP)
            tree->verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
        else if (wParam == SB_LINEDOWN)
            tree->verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        return 0;
    }
    return CWnd::DefWindowProc(message, wParam, lParam);
}

HTREEITEM CTreeCtrl::InsertItem(const QString& text, int image, int selectedImage, HTREEITEM parent,
                                HTREEITEM insertAfter)
{
    TreeWidget* tree = TreeOf(this);
    if (!tree)
        return nullptr;
    QTreeWidgetItem* holder = parent == TVI_ROOT || !parent ? tree->invisibleRootItem() : parent;
    auto* item = new QTreeWidgetItem({text});
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
    item->setData(0, ImageRole, image);
    item->setData(0, SelectedImageRole, selectedImage);
    item->setData(0, DataRole, 0ULL);
    const int after =
        insertAfter == TVI_FIRST || insertAfter == TVI_LAST ? -1 : holder->indexOfChild(insertAfter);
    if (insertAfter == TVI_FIRST)
        holder->insertChild(0, item);
    else if (after >= 0)
        holder->insertChild(after + 1, item);
    else
        holder->addChild(item);
    tree->ShowImages(item);
    return item;
}

bool CTreeCtrl::DeleteItem(HTREEITEM item)
{
    TreeWidget* tree = TreeOf(this);
    if (!tree || !item)
        return false;
    tree->Forget(item);
    delete item;
    return true;
}

void CTreeCtrl::DeleteAllItems()
{
    if (TreeWidget* tree = TreeOf(this))
    {
        tree->Forget(nullptr);
        tree->clear();
    }
}

QString CTreeCtrl::GetItemText(HTREEITEM item) const
{
    return item ? item->text(0) : QString();
}

bool CTreeCtrl::SetItemText(HTREEITEM item, const QString& text)
{
    if (!item)
        return false;
    item->setText(0, text);
    return true;
}

bool CTreeCtrl::GetItemImage(HTREEITEM item, int& image, int& selectedImage) const
{
    if (!item)
        return false;
    image = item->data(0, ImageRole).toInt();
    selectedImage = item->data(0, SelectedImageRole).toInt();
    return true;
}

UINT_PTR CTreeCtrl::GetItemData(HTREEITEM item) const
{
    return item ? UINT_PTR(item->data(0, DataRole).toULongLong()) : 0;
}

bool CTreeCtrl::SetItemData(HTREEITEM item, UINT_PTR data)
{
    if (!item)
        return false;
    item->setData(0, DataRole, qulonglong(data));
    return true;
}

HTREEITEM CTreeCtrl::GetRootItem() const
{
    TreeWidget* tree = TreeOf(this);
    return tree ? tree->topLevelItem(0) : nullptr;
}

HTREEITEM CTreeCtrl::GetParentItem(HTREEITEM item) const
{
    return item ? item->parent() : nullptr;
}

HTREEITEM CTreeCtrl::GetChildItem(HTREEITEM item) const
{
    TreeWidget* tree = TreeOf(this);
    QTreeWidgetItem* holder = item == TVI_ROOT || !item ? (tree ? tree->invisibleRootItem() : nullptr) : item;
    return holder ? holder->child(0) : nullptr;
}

namespace
{
QTreeWidgetItem* Sibling(QTreeWidget* tree, QTreeWidgetItem* item, int step)
{
    if (!tree || !item)
        return nullptr;
    QTreeWidgetItem* holder = item->parent() ? item->parent() : tree->invisibleRootItem();
    return holder->child(holder->indexOfChild(item) + step);
}
} // namespace

HTREEITEM CTreeCtrl::GetNextSiblingItem(HTREEITEM item) const
{
    return Sibling(TreeOf(this), item, 1);
}

HTREEITEM CTreeCtrl::GetPrevSiblingItem(HTREEITEM item) const
{
    return Sibling(TreeOf(this), item, -1);
}

HTREEITEM CTreeCtrl::GetSelectedItem() const
{
    TreeWidget* tree = TreeOf(this);
    return tree ? tree->selectedItems().value(0) : nullptr;
}

bool CTreeCtrl::SelectItem(HTREEITEM item)
{
    TreeWidget* tree = TreeOf(this);
    if (!tree)
        return false;
    if (!item)
    {
        tree->setCurrentItem(nullptr);
        tree->clearSelection();
        return true;
    }
    tree->setCurrentItem(item);
    return true;
}

UINT CTreeCtrl::GetItemState(HTREEITEM item, UINT mask) const
{
    TreeWidget* tree = TreeOf(this);
    if (!tree || !item)
        return 0;
    UINT state = 0;
    if (item->isSelected())
        state |= TVIS_SELECTED;
    if (item == tree->dropTarget)
        state |= TVIS_DROPHILITED;
    if (item->isExpanded())
        state |= TVIS_EXPANDED;
    return state & mask;
}

bool CTreeCtrl::SetItemState(HTREEITEM item, UINT state, UINT mask)
{
    TreeWidget* tree = TreeOf(this);
    if (!tree || !item)
        return false;
    if (mask & TVIS_SELECTED)
        item->setSelected((state & TVIS_SELECTED) != 0);
    if (mask & TVIS_DROPHILITED)
        SelectDropTarget(
            (state & TVIS_DROPHILITED) ? item : (item == tree->dropTarget ? nullptr : tree->dropTarget));
    if (mask & TVIS_EXPANDED)
        item->setExpanded((state & TVIS_EXPANDED) != 0);
    return true;
}

bool CTreeCtrl::Expand(HTREEITEM item, UINT code)
{
    if (!item)
        return false;
    if (code == TVE_EXPAND)
        item->setExpanded(true);
    else if (code == TVE_COLLAPSE)
        item->setExpanded(false);
    else if (code == TVE_TOGGLE)
        item->setExpanded(!item->isExpanded());
    else
        return false;
    return true;
}

bool CTreeCtrl::EnsureVisible(HTREEITEM item)
{
    TreeWidget* tree = TreeOf(this);
    if (!tree || !item)
        return false;
    for (QTreeWidgetItem* parent = item->parent(); parent; parent = parent->parent())
        parent->setExpanded(true);
    tree->scrollToItem(item);
    return true;
}

bool CTreeCtrl::GetItemRect(HTREEITEM item, CRect* rect, bool textOnly) const
{
    TreeWidget* tree = TreeOf(this);
    if (!tree || !item)
        return false;
    QRect area = tree->visualItemRect(item);
    if (!area.isValid())
        return false;
    if (textOnly)
        area = tree->LabelRect(item);
    else
        area = QRect(0, area.top(), tree->viewport()->width(), area.height());
    *rect = CRect::FromQRect(area.translated(ViewportOffset(tree)));
    return true;
}

HTREEITEM CTreeCtrl::HitTest(CPoint point, UINT* flags) const
{
    UINT where = 0;
    HTREEITEM found = nullptr;
    if (TreeWidget* tree = TreeOf(this))
    {
        const QPoint p = point.ToQPoint() - ViewportOffset(tree);
        const QSize size = tree->viewport()->size();
        if (p.y() < 0)
            where |= TVHT_ABOVE;
        else if (p.y() >= size.height())
            where |= TVHT_BELOW;
        if (p.x() < 0)
            where |= TVHT_TOLEFT;
        else if (p.x() >= size.width())
            where |= TVHT_TORIGHT;
        if (!where)
            found = tree->itemAt(p);
        if (found)
        {
            const QRect icon = tree->IconRect(found);
            const QRect label = tree->LabelRect(found);
            if (p.x() < icon.left())
                where = TVHT_ONITEMINDENT;
            else if (p.x() <= icon.right())
                where = TVHT_ONITEMICON;
            else if (p.x() <= label.right())
                where = TVHT_ONITEMLABEL;
            else
                where = TVHT_ONITEMRIGHT;
        }
        else if (!where)
        {
            where = TVHT_NOWHERE;
        }
    }
    if (flags)
        *flags = where;
    return found;
}

QLineEdit* CTreeCtrl::EditLabel(HTREEITEM item)
{
    TreeWidget* tree = TreeOf(this);
    if (!tree || !item)
        return nullptr;
    tree->setCurrentItem(item);
    tree->editItem(item, 0);
    return tree->editor;
}

QLineEdit* CTreeCtrl::GetEditControl() const
{
    TreeWidget* tree = TreeOf(this);
    return tree ? tree->editor.data() : nullptr;
}

bool CTreeCtrl::SetInsertMark(HTREEITEM item, bool after)
{
    TreeWidget* tree = TreeOf(this);
    if (!tree)
        return false;
    tree->insertMark = item;
    tree->insertAfter = after;
    tree->viewport()->update();
    return true;
}

COLORREF CTreeCtrl::SetInsertMarkColor(COLORREF color)
{
    TreeWidget* tree = TreeOf(this);
    if (!tree)
        return 0;
    const COLORREF previous = tree->insertMarkColor;
    tree->insertMarkColor = color;
    tree->viewport()->update();
    return previous;
}

COLORREF CTreeCtrl::GetInsertMarkColor() const
{
    TreeWidget* tree = TreeOf(this);
    return tree ? tree->insertMarkColor : 0;
}

bool CTreeCtrl::SelectDropTarget(HTREEITEM item)
{
    TreeWidget* tree = TreeOf(this);
    if (!tree)
        return false;
    tree->dropTarget = item;
    tree->viewport()->update();
    return true;
}

HTREEITEM CTreeCtrl::GetDropHilightItem() const
{
    TreeWidget* tree = TreeOf(this);
    return tree ? tree->dropTarget : nullptr;
}

CImageList* CTreeCtrl::SetImageList(CImageList* imageList, int type)
{
    TreeWidget* tree = TreeOf(this);
    if (!tree || type != TVSIL_NORMAL)
        return nullptr;
    CImageList* previous = tree->images;
    tree->images = imageList;
    if (imageList)
        tree->setIconSize(QSize(imageList->GetWidth(), imageList->GetHeight()));
    tree->ShowImagesOfAll();
    return previous;
}

CImageList* CTreeCtrl::GetImageList(int type) const
{
    TreeWidget* tree = TreeOf(this);
    return tree && type == TVSIL_NORMAL ? tree->images : nullptr;
}

std::unique_ptr<CImageList> CTreeCtrl::CreateDragImage(HTREEITEM item) const
{
    TreeWidget* tree = TreeOf(this);
    if (!tree || !item)
        return nullptr;
    const QSize iconSize = tree->images ? tree->iconSize() : QSize(0, 0);
    const QFontMetrics metrics = tree->fontMetrics();
    const int width = iconSize.width() + metrics.horizontalAdvance(item->text(0)) + 2 * LabelMargin;
    const int height = std::max(iconSize.height(), metrics.height());
    QImage picture(width, height, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    if (tree->images)
        painter.drawImage(0, (height - iconSize.height()) / 2,
                          tree->images->GetImage(item->data(0, ImageRole).toInt()));
    painter.setFont(tree->font());
    painter.setPen(tree->palette().color(QPalette::Text));
    painter.drawText(QRect(iconSize.width() + LabelMargin, 0, width, height),
                     Qt::AlignLeft | Qt::AlignVCenter, item->text(0));
    painter.end();
    auto list = std::make_unique<CImageList>();
    list->Create(width, height, ILC_COLOR32, 1, 0);
    list->Add(picture, 0);
    return list;
}
