#include "app/DlgOrganizeShortcuts.h"

#include "app/DlgMessageBox.h"
#include "base/TextHelpers.h"
#include "controls/CommandIds.h"
#include "controls/KVImage.h"
#include "ndb/NdbFolder.h"
#include "ndb/NdbShortcutLink.h"
#include "platform/core/AppStrings.h"
#include "platform/ui/SystemParameters.h"
#include "res/dialogs/OrganizeShortcuts.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>

namespace
{

constexpr UINT IDB_SHORTCUT_IMAGES = 279;
constexpr UINT IDS_NEW_FOLDER = 11800;
constexpr UINT IDS_NEW_FOLDER_NUMBERED = 11801;
constexpr UINT IDS_DELETE_FOLDER = 11802;
constexpr UINT IDS_DELETE_SHORTCUT = 11803;

constexpr UINT_PTR ScrollTimer = 4711;
constexpr UINT ScrollInterval = 150;

constexpr int ImageWidth = 24;
constexpr int ImageHeight = 20;
constexpr COLORREF ImageMask = RGB(255, 0, 255);
constexpr int ImageNewsletter = 0;
constexpr int ImageFolder = 2;
constexpr int ImageMailingList = 3;
constexpr int NoImage = -1;
constexpr COLORREF InsertMarkBlue = 0xFF0000;
constexpr COLORREF InsertMarkBlack = 0;

constexpr int MailingListKind = 7;

ndb::CNdbFolder* AsFolder(ndb::CNdbBase* record)
{
    return dynamic_cast<ndb::CNdbFolder*>(record);
}

int ImageOf(const ndb::CNdbBase* record)
{
    if (dynamic_cast<const ndb::CNdbFolder*>(record))
        return ImageFolder;
    if (const auto* link = dynamic_cast<const ndb::CNdbShortcutLink*>(record))
        return link->GetInt(ndb::ShortcutLinkType) == MailingListKind ? ImageMailingList : ImageNewsletter;
    return NoImage;
}

// Folder names differ only when they differ beyond the case of the letters A to Z.
QString FoldAsciiCase(const QString& text)
{
    QString folded = text;
    for (QChar& c : folded)
    {
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + (u'a' - u'A'));
    }
    return folded;
}

void CollectFolderNames(const ndb::CNdbFolder& folder, QStringList* names)
{
    names->append(FoldAsciiCase(folder.GetName()));
    for (const auto& item : folder.GetItems())
    {
        if (const auto* sub = dynamic_cast<const ndb::CNdbFolder*>(item.get()))
            CollectFolderNames(*sub, names);
    }
}

bool IsEnterOrEscape(const QKeyEvent* key)
{
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter || key->key() == Qt::Key_Escape;
}
} // namespace

// Hands the dialog the key presses meant for any of its windows before they are delivered.
class CDlgOrganizeShortcuts::KeyFilter : public QObject
{
public:
    KeyFilter(CDlgOrganizeShortcuts* dialog, QObject* owner) : QObject(owner), m_dialog(dialog) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
            return false;
        const QWidget* dialogWindow = m_dialog->GetSafeHwnd();
        if (!dialogWindow || static_cast<QWidget*>(watched)->window() != dialogWindow)
            return false;
        return m_dialog->PreTranslateKeyDown(watched, static_cast<QKeyEvent*>(event));
    }

private:
    CDlgOrganizeShortcuts* m_dialog;
};

const MessageMap* CDlgOrganizeShortcuts::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnCommand(IDC_NEW_FOLDER, &CDlgOrganizeShortcuts::OnNewFolder),
        OnCommand(IDC_RENAME, &CDlgOrganizeShortcuts::OnRename),
        OnCommand(IDC_DELETE, &CDlgOrganizeShortcuts::OnDelete),
        OnCommand(IDC_HELP_BUTTON, &CDlgOrganizeShortcuts::OnHelp),
        OnNotify(TVN_BEGINDRAGW, &CDlgOrganizeShortcuts::OnBeginDrag),
        OnNotify(TVN_ENDLABELEDITW, &CDlgOrganizeShortcuts::OnEndLabelEdit),
        OnMessage(WM_MOUSEMOVE, &CDlgOrganizeShortcuts::OnMouseMove),
        OnMessage(WM_LBUTTONUP, &CDlgOrganizeShortcuts::OnLButtonUp),
        OnMessage(WM_CANCELMODE, &CDlgOrganizeShortcuts::OnCancelMode),
        OnMessage(WM_TIMER, &CDlgOrganizeShortcuts::OnTimer),
    };
    static const MessageMap map{CDialog::GetMessageMap(), entries};
    return &map;
}

CDlgOrganizeShortcuts::CDlgOrganizeShortcuts(ndb::CNdbFolder* root, CWnd* parent)
    : CDialog(IDD, parent), m_root(root)
{
}

CDlgOrganizeShortcuts::~CDlgOrganizeShortcuts()
{
    EndImageDrag();
    DestroyWindow();
}

void CDlgOrganizeShortcuts::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_TREE, m_tree);
}

bool CDlgOrganizeShortcuts::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_imageList.Create(ImageWidth, ImageHeight, ILC_COLOR24 | ILC_MASK, 50, 30);
    CKVImage strip;
    if (strip.LoadFromResource(IDB_SHORTCUT_IMAGES) && strip.HasImage())
        m_imageList.Add(strip.GetBitmap()->Image(), ImageMask);
    m_tree.SetImageList(&m_imageList, TVSIL_NORMAL);
    m_tree.SetInsertMarkColor(InsertMarkBlue);
    m_moveCursor = LoadCursorResource(QStringLiteral("IDC_DRAGMOVE"));
    m_noDropCursor = LoadCursorResource(QStringLiteral("IDC_DRAGNODROP"));
    if (m_root)
        FillTree(*m_root, TVI_ROOT);
    QCoreApplication::instance()->installEventFilter(new KeyFilter(this, GetSafeHwnd()));
    return true;
}

ndb::CNdbBase* CDlgOrganizeShortcuts::RecordOf(HTREEITEM item) const
{
    return item ? reinterpret_cast<ndb::CNdbBase*>(m_tree.GetItemData(item)) : nullptr;
}

void CDlgOrganizeShortcuts::FillTree(const ndb::CNdbFolder& folder, HTREEITEM parent)
{
    for (const auto& record : folder.GetItems())
    {
        const int image = ImageOf(record.get());
        if (image == NoImage)
            continue;
        HTREEITEM item = m_tree.InsertItem(record->GetName(), image, image, parent, TVI_LAST);
        m_tree.SetItemData(item, UINT_PTR(record.get()));
        if (const auto* sub = dynamic_cast<const ndb::CNdbFolder*>(record.get()))
            FillTree(*sub, item);
    }
}

bool CDlgOrganizeShortcuts::PreTranslateKeyDown(const QObject* receiver, const QKeyEvent* key)
{
    if (const QLineEdit* editor = m_tree.GetEditControl())
    {
        // The editor ends the edit itself; what it lets through must not reach the dialog,
        // where Enter and Esc would press a button.
        return IsEnterOrEscape(key) && receiver != editor;
    }
    if (key->key() == Qt::Key_F2 && key->modifiers() == Qt::NoModifier)
    {
        if (HTREEITEM selected = m_tree.GetSelectedItem())
            m_tree.EditLabel(selected);
    }
    return false;
}

QString CDlgOrganizeShortcuts::UniqueFolderName() const
{
    QStringList taken;
    CollectFolderNames(*m_root, &taken);
    QString name = LoadAppString(IDS_NEW_FOLDER);
    // Each folder can block one number only, so a free one comes soon.
    for (int number = 2; taken.contains(FoldAsciiCase(name)) && number <= taken.size() + 2; ++number)
        name = FormatResourceText(LoadAppString(IDS_NEW_FOLDER_NUMBERED), {QString::number(number)});
    return name;
}

LRESULT CDlgOrganizeShortcuts::OnNewFolder(WPARAM, LPARAM)
{
    if (!m_root)
        return 0;
    HTREEITEM targetItem = m_tree.GetSelectedItem();
    ndb::CNdbFolder* target = m_root;
    if (targetItem && !AsFolder(RecordOf(targetItem)))
    {
        targetItem = m_tree.GetParentItem(targetItem);
        if (targetItem && !AsFolder(RecordOf(targetItem)))
            return 0;
    }
    if (targetItem)
        target = AsFolder(RecordOf(targetItem));
    const QString name = UniqueFolderName();
    auto folder = std::make_unique<ndb::CNdbFolder>(name);
    ndb::CNdbFolder* record = folder.get();
    target->AddItem(std::move(folder));
    HTREEITEM item =
        m_tree.InsertItem(name, ImageFolder, ImageFolder, targetItem ? targetItem : TVI_ROOT, TVI_LAST);
    m_tree.SetItemData(item, UINT_PTR(record));
    m_tree.EnsureVisible(item);
    m_tree.SetFocus();
    m_tree.EditLabel(item);
    return 0;
}

LRESULT CDlgOrganizeShortcuts::OnRename(WPARAM, LPARAM)
{
    HTREEITEM item = m_tree.GetSelectedItem();
    if (!item)
        return 0;
    m_tree.SetFocus();
    m_tree.EnsureVisible(item);
    m_tree.EditLabel(item);
    return 0;
}

LRESULT CDlgOrganizeShortcuts::OnDelete(WPARAM, LPARAM)
{
    HTREEITEM item = m_tree.GetSelectedItem();
    ndb::CNdbBase* record = RecordOf(item);
    ndb::CNdbFolder* parent = record && m_root ? m_root->FindParentOf(record) : nullptr;
    if (!parent)
        return 0;
    const UINT question = AsFolder(record) ? IDS_DELETE_FOLDER : IDS_DELETE_SHORTCUT;
    CDlgMessageBox box(this);
    box.m_text = FormatResourceText(LoadAppString(question), {record->GetName()});
    box.m_type = MB_YESNO | MB_ICONQUESTION;
    if (box.DoModal() != IDYES)
        return 0;
    parent->DeleteItem(record);
    m_tree.DeleteItem(item);
    return 0;
}

LRESULT CDlgOrganizeShortcuts::OnHelp(WPARAM, LPARAM)
{
    if (CWnd* mainWnd = AfxGetMainWnd())
        mainWnd->PostMessage(UM_SHOW_HELP, IDD, 0);
    return 0;
}

LRESULT CDlgOrganizeShortcuts::OnEndLabelEdit(WPARAM, LPARAM lParam)
{
    const auto* info = reinterpret_cast<const NMTVDISPINFO*>(lParam);
    ndb::CNdbBase* record = RecordOf(info->item.hItem);
    if (!record || !info->item.pszText)
        return 0;
    const ndb::CNdbFieldValue name(QString::fromUtf16(info->item.pszText));
    if (ndb::CNdbFolder* folder = AsFolder(record))
        folder->SetNameValue(name);
    else if (auto* link = dynamic_cast<ndb::CNdbShortcutLink*>(record))
        link->SetField(ndb::ShortcutLinkName, name);
    return 1;
}

LRESULT CDlgOrganizeShortcuts::OnBeginDrag(WPARAM, LPARAM lParam)
{
    const auto* info = reinterpret_cast<const NMTREEVIEW*>(lParam);
    HTREEITEM item = info->itemNew.hItem;
    if (!item)
        return 0;
    m_draggedItem = item;
    m_draggedRecord = RecordOf(item);
    m_tree.SelectItem(item);
    m_tree.UpdateWindow();
    m_tree.SetInsertMarkColor(InsertMarkBlack);
    m_dragImage = m_tree.CreateDragImage(item);
    CRect label;
    m_tree.GetItemRect(item, &label, true);
    // The picture starts with the item's icon, left of the label.
    const CPoint hotSpot(info->ptDrag.x - label.left + ImageWidth, info->ptDrag.y - label.top);
    SetTimer(ScrollTimer, ScrollInterval);
    m_tree.SelectItem(nullptr);
    m_tree.SetItemState(item, 0, TVIS_SELECTED);
    SetCapture();
    ShowDragCursor(true);
    m_tree.UpdateWindow();
    if (m_dragImage)
    {
        m_dragImage->BeginDrag(0, hotSpot);
        CImageList::DragEnter(&m_tree, info->ptDrag);
    }
    return 0;
}

LRESULT CDlgOrganizeShortcuts::OnMouseMove(WPARAM, LPARAM lParam)
{
    if (GetCapture() != this)
        return Default();
    CPoint point(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    ClientToScreen(&point);
    m_tree.ScreenToClient(&point);
    if (m_dragImage)
    {
        CImageList::DragMove(point);
        CImageList::DragShowNolock(false);
    }
    m_dropMode = DropNone;
    m_dropTarget = nullptr;
    const ndb::CNdbFolder* destination = nullptr;
    HTREEITEM hit = m_tree.HitTest(point);
    if (hit)
    {
        ndb::CNdbBase* record = RecordOf(hit);
        CRect row;
        m_tree.GetItemRect(hit, &row, false);
        const int quarter = row.Height() / 4;
        if (point.y < row.top + quarter || point.y >= row.bottom - quarter)
        {
            const bool after = point.y >= row.bottom - quarter;
            m_dropMode = after ? DropAfter : DropBefore;
            m_dropTarget = hit;
            m_tree.SetInsertMark(hit, after);
            m_tree.SelectDropTarget(nullptr);
            destination = m_root->FindParentOf(record);
        }
        else
        {
            m_tree.SetInsertMark(nullptr);
            m_tree.SelectDropTarget(hit);
            destination = AsFolder(record);
            if (destination)
            {
                m_dropMode = DropInto;
                m_dropTarget = hit;
            }
        }
    }
    else
    {
        m_tree.SetInsertMark(nullptr);
        m_tree.SelectDropTarget(nullptr);
    }
    const bool allowed = IsDropAllowed(hit, destination);
    if (!allowed)
        m_tree.SetInsertMark(nullptr);
    ShowDragCursor(allowed);
    m_tree.UpdateWindow();
    if (m_dragImage)
        CImageList::DragShowNolock(true);
    return 0;
}

bool CDlgOrganizeShortcuts::IsDropAllowed(HTREEITEM target, const ndb::CNdbFolder* destination) const
{
    if (!destination || destination == m_draggedRecord)
        return false;
    // Dropping an item on itself would leave it where it is at best, and for the upper quarter
    // move it to the top of its folder, as it is missing from the folder while it is placed.
    if (target == m_draggedItem)
        return false;
    auto* draggedFolder = AsFolder(m_draggedRecord);
    return !draggedFolder || !draggedFolder->FindParentOf(destination);
}

LRESULT CDlgOrganizeShortcuts::OnLButtonUp(WPARAM, LPARAM)
{
    if (GetCapture() != this)
        return Default();
    EndImageDrag();
    if (!MoveDragged() && m_draggedItem)
    {
        m_tree.SelectItem(m_draggedItem);
        m_tree.SetItemState(m_draggedItem, TVIS_SELECTED, TVIS_SELECTED);
        m_tree.EnsureVisible(m_draggedItem);
    }
    EndDragMode();
    return 0;
}

bool CDlgOrganizeShortcuts::MoveDragged()
{
    if (m_dropMode == DropNone || !m_dropTarget || !m_draggedItem)
        return false;
    ndb::CNdbBase* target = RecordOf(m_dropTarget);
    ndb::CNdbFolder* holder = m_root->FindParentOf(target);
    ndb::CNdbFolder* destination = m_dropMode == DropInto ? AsFolder(target) : holder;
    ndb::CNdbFolder* source = m_root->FindParentOf(m_draggedRecord);
    if (!source || !IsDropAllowed(m_dropTarget, destination))
        return false;
    std::unique_ptr<ndb::CNdbBase> moving = source->DetachItem(m_draggedRecord);
    if (m_dropMode == DropInto)
    {
        destination->AddItem(std::move(moving));
    }
    else
    {
        const int index = destination->IndexOf(target);
        destination->InsertItem(std::move(moving), index < 0 ? 0 : index + (m_dropMode == DropAfter ? 1 : 0));
    }

    HTREEITEM parent = m_dropMode == DropInto ? m_dropTarget : m_tree.GetParentItem(m_dropTarget);
    HTREEITEM after = TVI_LAST;
    if (m_dropMode == DropAfter)
        after = m_dropTarget;
    else if (m_dropMode == DropBefore)
        after = m_tree.GetPrevSiblingItem(m_dropTarget) ? m_tree.GetPrevSiblingItem(m_dropTarget) : TVI_FIRST;
    HTREEITEM copy = CopyItem(m_draggedItem, parent ? parent : TVI_ROOT, after);
    m_tree.DeleteItem(m_draggedItem);
    m_draggedItem = nullptr;
    m_tree.EnsureVisible(copy);
    m_tree.SelectItem(copy);
    m_tree.SetItemState(copy, TVIS_SELECTED, TVIS_SELECTED);
    return true;
}

HTREEITEM CDlgOrganizeShortcuts::CopyItem(HTREEITEM source, HTREEITEM parent, HTREEITEM insertAfter)
{
    int image = 0;
    int selectedImage = 0;
    m_tree.GetItemImage(source, image, selectedImage);
    HTREEITEM copy = m_tree.InsertItem(m_tree.GetItemText(source), image, selectedImage, parent, insertAfter);
    m_tree.SetItemData(copy, m_tree.GetItemData(source));
    for (HTREEITEM child = m_tree.GetChildItem(source); child; child = m_tree.GetNextSiblingItem(child))
        CopyItem(child, copy, TVI_LAST);
    if (m_tree.GetItemState(source, TVIS_EXPANDED))
        m_tree.Expand(copy, TVE_EXPAND);
    return copy;
}

LRESULT CDlgOrganizeShortcuts::OnCancelMode(WPARAM, LPARAM)
{
    Default();
    EndImageDrag();
    EndDragMode();
    return 0;
}

LRESULT CDlgOrganizeShortcuts::OnTimer(WPARAM id, LPARAM)
{
    if (id == ScrollTimer)
    {
        CPoint point;
        GetCursorPos(&point);
        m_tree.ScreenToClient(&point);
        UINT where = 0;
        m_tree.HitTest(point, &where);
        const bool above = (where & TVHT_ABOVE) != 0;
        if (above || (where & TVHT_BELOW))
        {
            CImageList::DragShowNolock(false);
            m_tree.SendMessage(WM_VSCROLL, above ? SB_LINEUP : SB_LINEDOWN, 0);
            CImageList::DragShowNolock(true);
        }
    }
    return Default();
}

void CDlgOrganizeShortcuts::EndImageDrag()
{
    if (!m_dragImage)
        return;
    CImageList::DragLeave(&m_tree);
    CImageList::EndDrag();
    m_dragImage.reset();
}

void CDlgOrganizeShortcuts::ShowDragCursor(bool allowed)
{
    if (QWidget* widget = GetSafeHwnd())
        widget->setCursor(allowed ? m_moveCursor : m_noDropCursor);
}

// What every end of a drag undoes, whether something moved or not.
void CDlgOrganizeShortcuts::EndDragMode()
{
    ReleaseCapture();
    m_tree.SelectDropTarget(nullptr);
    m_tree.SetInsertMark(nullptr);
    KillTimer(ScrollTimer);
    if (QWidget* widget = GetSafeHwnd())
        widget->unsetCursor();
    m_dropMode = DropNone;
    m_dropTarget = nullptr;
}
