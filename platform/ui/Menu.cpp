#include "platform/ui/Menu.h"

#include "platform/ui/ResourceModule.h"
#include "platform/ui/Wnd.h"

#include <QAction>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QPointer>

namespace
{
// Menu resources nest a few levels; anything deeper is no menu of ours.
constexpr int MaxMenuDepth = 8;

bool ReadResourceJson(const QString& type, UINT id, QJsonObject* root)
{
    QByteArray bytes;
    if (!ResourceModule::Load(type, id, &bytes))
        return false;
    const QJsonDocument document = QJsonDocument::fromJson(bytes);
    if (!document.isObject())
        return false;
    *root = document.object();
    return true;
}
} // namespace

CMenu::CMenu() = default;
CMenu::~CMenu() = default;

bool CMenu::LoadMenu(UINT id)
{
    QJsonObject root;
    if (!ReadResourceJson(QStringLiteral("MENU"), id, &root))
        return false;
    m_items.clear();
    if (ReadItems(root.value(QStringLiteral("items")).toArray()))
        return true;
    m_items.clear();
    return false;
}

bool CMenu::ReadItems(const QJsonArray& items)
{
    static thread_local int depth = 0;
    if (depth >= MaxMenuDepth)
        return false;
    for (const QJsonValue& value : items)
    {
        const QJsonObject object = value.toObject();
        Item item;
        item.separator = object.value(QStringLiteral("separator")).toBool();
        item.text = object.value(QStringLiteral("text")).toString();
        item.id = static_cast<UINT>(object.value(QStringLiteral("id")).toInteger());
        if (object.value(QStringLiteral("grayed")).toBool())
            item.state |= MF_GRAYED;
        if (object.value(QStringLiteral("checked")).toBool())
            item.state |= MF_CHECKED;
        if (object.contains(QStringLiteral("items")))
        {
            item.popup = std::make_unique<CMenu>();
            ++depth;
            const bool read = item.popup->ReadItems(object.value(QStringLiteral("items")).toArray());
            --depth;
            if (!read)
                return false;
        }
        m_items.push_back(std::move(item));
    }
    return true;
}

bool CMenu::CreatePopupMenu()
{
    m_items.clear();
    return true;
}

int CMenu::GetMenuItemCount() const
{
    return static_cast<int>(m_items.size());
}

UINT CMenu::GetMenuItemID(int position) const
{
    if (position < 0 || position >= GetMenuItemCount() || m_items[position].popup)
        return static_cast<UINT>(-1);
    return m_items[position].separator ? 0 : m_items[position].id;
}

CMenu* CMenu::GetSubMenu(int position) const
{
    if (position < 0 || position >= GetMenuItemCount())
        return nullptr;
    return m_items[position].popup.get();
}

bool CMenu::Locate(UINT idOrPosition, UINT flags, CMenu** menu, int* position) const
{
    auto* self = const_cast<CMenu*>(this);
    if (flags & MF_BYPOSITION)
    {
        if (static_cast<int>(idOrPosition) < 0 || static_cast<int>(idOrPosition) >= GetMenuItemCount())
            return false;
        *menu = self;
        *position = static_cast<int>(idOrPosition);
        return true;
    }
    for (int i = 0; i < GetMenuItemCount(); ++i)
    {
        const Item& item = m_items[i];
        if (item.popup)
        {
            if (item.popup->Locate(idOrPosition, flags, menu, position))
                return true;
        }
        else if (!item.separator && item.id == idOrPosition)
        {
            *menu = self;
            *position = i;
            return true;
        }
    }
    return false;
}

QString CMenu::GetMenuString(UINT idOrPosition, UINT flags) const
{
    CMenu* menu = nullptr;
    int position = 0;
    if (!Locate(idOrPosition, flags, &menu, &position))
        return {};
    return menu->m_items[position].text;
}

UINT CMenu::GetMenuState(UINT idOrPosition, UINT flags) const
{
    CMenu* menu = nullptr;
    int position = 0;
    if (!Locate(idOrPosition, flags, &menu, &position))
        return static_cast<UINT>(-1);
    const Item& item = menu->m_items[position];
    return item.state | (item.separator ? MF_SEPARATOR : 0) | (item.popup ? MF_POPUP : 0);
}

bool CMenu::AppendMenu(UINT flags, UINT_PTR idOrNothing, const QString& text)
{
    return InsertMenu(static_cast<UINT>(-1), flags | MF_BYPOSITION, idOrNothing, text);
}

bool CMenu::InsertMenu(UINT position, UINT flags, UINT_PTR idOrNothing, const QString& text)
{
    if (flags & MF_POPUP)
        return false; // pop-ups are added with AppendPopup, which takes their ownership
    Item item;
    item.separator = (flags & MF_SEPARATOR) != 0;
    item.id = item.separator ? 0 : static_cast<UINT>(idOrNothing);
    item.text = item.separator ? QString() : text;
    item.state = flags & (MF_GRAYED | MF_CHECKED);
    int at = GetMenuItemCount();
    if (!(flags & MF_BYPOSITION))
    {
        CMenu* menu = nullptr;
        int found = 0;
        if (Locate(position, flags, &menu, &found))
        {
            menu->m_items.insert(menu->m_items.begin() + found, std::move(item));
            return true;
        }
    }
    else if (static_cast<int>(position) >= 0 && static_cast<int>(position) < at)
        at = static_cast<int>(position);
    m_items.insert(m_items.begin() + at, std::move(item));
    return true;
}

bool CMenu::AppendPopup(const QString& text, std::unique_ptr<CMenu> popup)
{
    if (!popup)
        return false;
    Item item;
    item.text = text;
    item.popup = std::move(popup);
    m_items.push_back(std::move(item));
    return true;
}

bool CMenu::RemoveMenu(UINT idOrPosition, UINT flags)
{
    CMenu* menu = nullptr;
    int position = 0;
    if (!Locate(idOrPosition, flags, &menu, &position))
        return false;
    menu->m_items.erase(menu->m_items.begin() + position);
    return true;
}

bool CMenu::DeleteMenu(UINT idOrPosition, UINT flags)
{
    return RemoveMenu(idOrPosition, flags);
}

UINT CMenu::EnableMenuItem(UINT idOrPosition, UINT flags)
{
    CMenu* menu = nullptr;
    int position = 0;
    if (!Locate(idOrPosition, flags, &menu, &position))
        return static_cast<UINT>(-1);
    Item& item = menu->m_items[position];
    const UINT previous = item.state & (MF_GRAYED | MF_DISABLED);
    item.state = (item.state & ~(MF_GRAYED | MF_DISABLED)) | (flags & (MF_GRAYED | MF_DISABLED));
    return previous;
}

UINT CMenu::CheckMenuItem(UINT idOrPosition, UINT flags)
{
    CMenu* menu = nullptr;
    int position = 0;
    if (!Locate(idOrPosition, flags, &menu, &position))
        return static_cast<UINT>(-1);
    Item& item = menu->m_items[position];
    const UINT previous = item.state & MF_CHECKED;
    item.state = (item.state & ~MF_CHECKED) | (flags & MF_CHECKED);
    return previous;
}

namespace
{
// Builds the Qt actions of one menu level. Each pop-up is filled only when it is about to show,
// after its owner has had WM_INITMENUPOPUP, so that the owner's changes are what the user sees.
void FillLevel(QMenu* target, CMenu* source, CWnd* owner, UINT* chosen);

void FillPopupOnShow(QMenu* qtPopup, CMenu* popup, int position, CWnd* owner, UINT* chosen)
{
    QObject::connect(qtPopup, &QMenu::aboutToShow, qtPopup,
                     [=]
                     {
                         if (owner && owner->IsWindow())
                             owner->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), position);
                         qtPopup->clear();
                         FillLevel(qtPopup, popup, owner, chosen);
                     });
}

void FillLevel(QMenu* target, CMenu* source, CWnd* owner, UINT* chosen)
{
    for (int i = 0; i < source->GetMenuItemCount(); ++i)
    {
        const UINT state = source->GetMenuState(i, MF_BYPOSITION);
        // Qt shows the text after a tab as the shortcut column, as the menus expect.
        const QString text = source->GetMenuString(i, MF_BYPOSITION);
        if (state & MF_SEPARATOR)
        {
            target->addSeparator();
            continue;
        }
        if (CMenu* popup = source->GetSubMenu(i))
        {
            QMenu* qtPopup = target->addMenu(text);
            qtPopup->setEnabled(!(state & (MF_GRAYED | MF_DISABLED)));
            FillPopupOnShow(qtPopup, popup, i, owner, chosen);
            continue;
        }
        const UINT id = source->GetMenuItemID(i);
        QAction* action = target->addAction(text);
        action->setEnabled(!(state & (MF_GRAYED | MF_DISABLED)));
        if (state & MF_CHECKED)
        {
            action->setCheckable(true);
            action->setChecked(true);
        }
        QPointer<QWidget> ownerWidget = owner ? owner->GetSafeHwnd() : nullptr;
        QObject::connect(action, &QAction::triggered, target,
                         [=]
                         {
                             if (chosen)
                                 *chosen = id;
                             else if (ownerWidget)
                                 CWnd::FromHandle(ownerWidget)->SendMessage(WM_COMMAND, id, 0);
                         });
    }
}
} // namespace

void CMenu::FillQtMenu(QMenu* menu, CWnd* owner)
{
    menu->clear();
    FillLevel(menu, this, owner, nullptr);
}

UINT CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* owner)
{
    if (owner && owner->IsWindow())
        owner->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(this), 0);
    QMenu menu(owner ? owner->GetSafeHwnd() : nullptr);
    UINT chosen = 0;
    FillLevel(&menu, this, owner, &chosen);
    menu.exec(QPoint(x, y));
    if (flags & TPM_RETURNCMD)
        return chosen;
    if (chosen && owner && owner->IsWindow())
        owner->PostMessage(WM_COMMAND, chosen, 0);
    return chosen != 0;
}

bool CAcceleratorTable::Load(UINT id)
{
    QJsonObject root;
    if (!ReadResourceJson(QStringLiteral("ACCELERATOR"), id, &root))
        return false;
    std::vector<Entry> entries;
    for (const QJsonValue& value : root.value(QStringLiteral("entries")).toArray())
    {
        const QJsonObject object = value.toObject();
        const QKeySequence sequence(object.value(QStringLiteral("key")).toString(),
                                    QKeySequence::PortableText);
        if (sequence.isEmpty())
            return false;
        const QKeyCombination combination = sequence[0];
        entries.push_back({combination.key(), combination.keyboardModifiers() & ~Qt::KeypadModifier,
                           static_cast<UINT>(object.value(QStringLiteral("id")).toInteger())});
    }
    m_entries = std::move(entries);
    return true;
}

UINT CAcceleratorTable::Find(int qtKey, Qt::KeyboardModifiers modifiers) const
{
    modifiers &= ~Qt::KeypadModifier;
    for (const Entry& entry : m_entries)
        if (entry.key == qtKey && entry.modifiers == modifiers)
            return entry.id;
    return 0;
}

bool CAcceleratorTable::TranslateAccelerator(CWnd* window, const QKeyEvent* event) const
{
    if (!window || event->type() != QEvent::KeyPress)
        return false;
    const UINT id = Find(event->key(), event->modifiers());
    if (!id)
        return false;
    // The high word 1 marks a command that came from an accelerator.
    window->SendMessage(WM_COMMAND, MAKEWPARAM(id, 1), 0);
    return true;
}
