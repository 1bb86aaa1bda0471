#include "platform/ui/ComboBox.h"

#include "platform/ui/WndHost.h"

#include <QAbstractItemDelegate>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPainter>
#include <QStylePainter>

namespace
{
constexpr int ItemDataRole = Qt::UserRole;
// Set while the box takes in the edit field's text; the entry it then selects was not chosen.
constexpr const char* FinishingProperty = "kvFinishing";
// A drop-down's frame around its selection field.
constexpr int FieldFrame = 6;

CComboBox* BoxOf(const QWidget* widget)
{
    return dynamic_cast<CComboBox*>(CWnd::FromHandle(widget));
}

// The box, its edit field and its dropped list (a window of its own, but a child of the box)
// count as one for the focus.
bool IsWithin(const QComboBox* combo, const QWidget* widget)
{
    for (const QWidget* w = widget; w; w = w->parentWidget())
    {
        if (w == combo)
            return true;
    }
    return false;
}

bool IsOwnerDrawn(DWORD style)
{
    return (style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) != 0;
}

// Lets the owner draw into a picture of the area, then shows the picture there.
void DrawByOwner(CComboBox* box, QPainter* painter, const QRect& area, int item, UINT state,
                 const QFont& font)
{
    if (!box)
        return;
    DRAWITEMSTRUCT draw;
    draw.CtlID = box->GetDlgCtrlID();
    draw.itemID = item;
    draw.itemState = state;
    draw.hwndItem = box;
    draw.itemData = item >= 0 ? box->GetItemData(item) : 0;
    DrawItemByOwner(painter, area, font, &draw, [box](DRAWITEMSTRUCT* d) { box->DrawItem(d); });
}

class OwnerDrawDelegate : public QAbstractItemDelegate
{
public:
    explicit OwnerDrawDelegate(QComboBox* combo) : QAbstractItemDelegate(combo), m_combo(combo) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const UINT state = (option.state & QStyle::State_Selected) ? ODS_SELECTED : 0;
        DrawByOwner(BoxOf(m_combo), painter, option.rect, index.row(), state, m_combo->font());
    }
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex& index) const override
    {
        CComboBox* box = BoxOf(m_combo);
        MEASUREITEMSTRUCT measure;
        measure.itemID = index.row();
        measure.itemHeight = UINT(m_combo->fontMetrics().height());
        if (box)
        {
            measure.CtlID = box->GetDlgCtrlID();
            measure.itemData = box->GetItemData(index.row());
            box->MeasureItem(&measure);
        }
        return {int(measure.itemWidth), int(measure.itemHeight)};
    }

private:
    QComboBox* m_combo;
};

class OwnerDrawComboBox : public QComboBox
{
public:
    using QComboBox::QComboBox;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        CComboBox* box = BoxOf(this);
        if (!box || !IsOwnerDrawn(box->GetStyle()))
        {
            QComboBox::paintEvent(event);
            return;
        }
        QStylePainter painter(this);
        QStyleOptionComboBox option;
        initStyleOption(&option);
        option.currentText.clear();
        option.currentIcon = QIcon();
        painter.drawComplexControl(QStyle::CC_ComboBox, option);
        const QRect field =
            style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
        const UINT state = ODS_COMBOBOXEDIT | (hasFocus() ? ODS_SELECTED | ODS_FOCUS : 0);
        DrawByOwner(box, &painter, field, currentIndex(), state, font());
    }
};

// Gives the box an edit field whose typing the owner hears of. Qt selects the entry whose text
// was typed when the field loses the focus or Enter is pressed, and calls that a choice; the
// owner is not told, and the box stays without a chosen entry as the desktop's does.
void AttachEditField(QComboBox* combo)
{
    auto* edit = new QLineEdit(combo);
    const auto finishing = [combo] { combo->setProperty(FinishingProperty, true); };
    QObject::connect(edit, &QLineEdit::returnPressed, combo, finishing);
    QObject::connect(edit, &QLineEdit::editingFinished, combo, finishing);
    combo->setLineEdit(edit);
    QObject::connect(edit, &QLineEdit::editingFinished, combo,
                     [combo] { combo->setProperty(FinishingProperty, false); });
    // The box's own completion would change the typed text behind the owner's back.
    combo->setCompleter(nullptr);
    QObject::connect(edit, &QLineEdit::textEdited, combo,
                     [combo]
                     {
                         if (CWnd* wnd = CWnd::FromHandle(combo))
                             wnd->NotifyParent(CBN_EDITCHANGE);
                     });
}
} // namespace

QWidget* CComboBox::CreateHostWidget(QWidget* parent, DWORD style, DWORD)
{
    auto* combo = new CWndHost<OwnerDrawComboBox>(this, parent);
    if ((style & CBS_DROPDOWNLIST) == CBS_DROPDOWN)
        AttachEditField(combo);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setFocusPolicy((style & WS_TABSTOP) ? Qt::StrongFocus : Qt::ClickFocus);
    if (IsOwnerDrawn(style))
        combo->setItemDelegate(new OwnerDrawDelegate(combo));
    QObject::connect(combo, &QComboBox::activated, combo,
                     [combo]
                     {
                         if (combo->property(FinishingProperty).toBool())
                             return;
                         if (CWnd* wnd = CWnd::FromHandle(combo))
                             wnd->NotifyParent(CBN_SELCHANGE);
                     });
    QObject::connect(qApp, &QApplication::focusChanged, combo,
                     [combo](QWidget* old, QWidget* now)
                     {
                         const bool was = IsWithin(combo, old);
                         const bool is = IsWithin(combo, now);
                         if (was == is)
                             return;
                         if (CWnd* wnd = CWnd::FromHandle(combo))
                             wnd->NotifyParent(is ? CBN_SETFOCUS : CBN_KILLFOCUS);
                     });
    return combo;
}

int CComboBox::FieldHeight()
{
    if (IsOwnerDrawn(GetStyle()))
    {
        MEASUREITEMSTRUCT measure;
        measure.CtlID = GetDlgCtrlID();
        measure.itemHeight = GetSafeHwnd() ? UINT(GetSafeHwnd()->fontMetrics().height()) : 0;
        MeasureItem(&measure);
        return int(measure.itemHeight) + FieldFrame;
    }
    return GetSafeHwnd() ? GetSafeHwnd()->sizeHint().height() : 0;
}

int CComboBox::WindowHeightFor(int requested)
{
    const int field = FieldHeight();
    // A height that leaves no room for a list keeps the list's extent as it was.
    if (requested > field)
        m_droppedExtent = requested - field;
    if (auto* combo = qobject_cast<QComboBox*>(GetSafeHwnd()); combo && m_droppedExtent > 0)
    {
        const int itemHeight = std::max(combo->view()->sizeHintForRow(0), 1);
        combo->setMaxVisibleItems(std::max(1, m_droppedExtent / itemHeight));
    }
    return field;
}

int CComboBox::AddString(const QString& text)
{
    auto* combo = qobject_cast<QComboBox*>(GetSafeHwnd());
    if (!combo)
        return CB_ERR;
    int index = combo->count();
    if (GetStyle() & CBS_SORT)
    {
        for (int i = 0; i < combo->count(); ++i)
        {
            if (QString::compare(text, combo->itemText(i), Qt::CaseInsensitive) < 0)
            {
                index = i;
                break;
            }
        }
    }
    // A drop-down list shows no entry until one is chosen, whatever Qt would pick.
    const int selected = combo->count() == 0 ? -1 : combo->currentIndex();
    combo->insertItem(index, text);
    combo->setCurrentIndex(selected < 0 ? -1 : (selected >= index ? selected + 1 : selected));
    return index;
}

int CComboBox::GetCount() const
{
    const auto* combo = qobject_cast<const QComboBox*>(GetSafeHwnd());
    return combo ? combo->count() : 0;
}

int CComboBox::GetCurSel() const
{
    const auto* combo = qobject_cast<const QComboBox*>(GetSafeHwnd());
    return combo ? combo->currentIndex() : CB_ERR;
}

int CComboBox::SetCurSel(int index)
{
    auto* combo = qobject_cast<QComboBox*>(GetSafeHwnd());
    if (!combo || index < -1 || index >= combo->count())
        return CB_ERR;
    combo->setCurrentIndex(index);
    return index < 0 ? CB_ERR : index;
}

QString CComboBox::GetLBText(int index) const
{
    const auto* combo = qobject_cast<const QComboBox*>(GetSafeHwnd());
    return combo && index >= 0 && index < combo->count() ? combo->itemText(index) : QString();
}

UINT_PTR CComboBox::GetItemData(int index) const
{
    const auto* combo = qobject_cast<const QComboBox*>(GetSafeHwnd());
    if (!combo || index < 0 || index >= combo->count())
        return 0;
    return UINT_PTR(combo->itemData(index, ItemDataRole).toULongLong());
}

int CComboBox::SetItemData(int index, UINT_PTR data)
{
    auto* combo = qobject_cast<QComboBox*>(GetSafeHwnd());
    if (!combo || index < 0 || index >= combo->count())
        return CB_ERR;
    combo->setItemData(index, QVariant::fromValue(qulonglong(data)), ItemDataRole);
    return 0;
}

int CComboBox::DeleteString(int index)
{
    auto* combo = qobject_cast<QComboBox*>(GetSafeHwnd());
    if (!combo || index < 0 || index >= combo->count())
        return CB_ERR;
    combo->removeItem(index);
    return combo->count();
}

void CComboBox::ResetContent()
{
    if (auto* combo = qobject_cast<QComboBox*>(GetSafeHwnd()))
        combo->clear();
}

int CComboBox::FindString(int start, const QString& text) const
{
    const int count = GetCount();
    for (int step = 1; step <= count; ++step)
    {
        const int index = (start + step) % count;
        if (GetLBText(index).startsWith(text, Qt::CaseInsensitive))
            return index;
    }
    return CB_ERR;
}

bool CComboBox::SetEditSel(int start, int end)
{
    auto* combo = qobject_cast<QComboBox*>(GetSafeHwnd());
    QLineEdit* edit = combo ? combo->lineEdit() : nullptr;
    if (!edit)
        return false;
    const int length = int(edit->text().size());
    start = start < 0 ? length : std::min(start, length);
    end = end < 0 ? length : std::min(end, length);
    edit->setSelection(start, end - start);
    if (start == end)
        edit->setCursorPosition(end);
    return true;
}

int CComboBox::SetDroppedWidth(int width)
{
    auto* combo = qobject_cast<QComboBox*>(GetSafeHwnd());
    if (!combo)
        return CB_ERR;
    combo->view()->setMinimumWidth(width);
    return width;
}

int CComboBox::GetDroppedWidth() const
{
    const auto* combo = qobject_cast<const QComboBox*>(GetSafeHwnd());
    return combo ? std::max(combo->view()->minimumWidth(), combo->width()) : CB_ERR;
}

void CComboBox::MeasureItem(MEASUREITEMSTRUCT*) {}

void CComboBox::DrawItem(DRAWITEMSTRUCT*) {}
