#include "platform/ui/DialogTemplate.h"

#include "platform/ui/Button.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/Edit.h"
#include "platform/ui/ListBox.h"
#include "platform/ui/ListCtrl.h"
#include "platform/ui/ResourceModule.h"
#include "platform/ui/TreeCtrl.h"
#include "platform/ui/WinConstants.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <optional>

namespace
{
constexpr int MaxDialogUnits = 4000;
constexpr qsizetype MaxControls = 500;

struct StyleWord
{
    const char* word;
    DWORD bits;
    const char* className; // null: the word means the same for every class and the dialog
};

// Words whose bits differ between control classes name their class.
constexpr StyleWord StyleWords[] = {
    {"popup", WS_POPUP, nullptr},
    {"child", WS_CHILD, nullptr},
    {"visible", WS_VISIBLE, nullptr},
    {"disabled", WS_DISABLED, nullptr},
    {"caption", WS_CAPTION, nullptr},
    {"border", WS_BORDER, nullptr},
    {"sysmenu", WS_SYSMENU, nullptr},
    {"tabstop", WS_TABSTOP, nullptr},
    {"group", WS_GROUP, nullptr},
    {"vscroll", WS_VSCROLL, nullptr},
    {"modalframe", DS_MODALFRAME, nullptr},
    {"default", BS_DEFPUSHBUTTON, "button"},
    {"checkbox", BS_AUTOCHECKBOX, "button"},
    {"radio", BS_AUTORADIOBUTTON, "button"},
    {"groupbox", BS_GROUPBOX, "button"},
    {"icon", SS_ICON, "static"},
    {"etchedhorz", SS_ETCHEDHORZ, "static"},
    {"blackframe", SS_BLACKFRAME, "static"},
    {"notify", SS_NOTIFY, "static"},
    {"readonly", ES_READONLY, "edit"},
    {"password", ES_PASSWORD, "edit"},
    {"number", ES_NUMBER, "edit"},
    {"multiline", ES_MULTILINE, "edit"},
    {"setbuddyint", UDS_SETBUDDYINT, "msctls_updown32"},
    {"alignright", UDS_ALIGNRIGHT, "msctls_updown32"},
    {"arrowkeys", UDS_ARROWKEYS, "msctls_updown32"},
    {"hasbuttons", TVS_HASBUTTONS, "SysTreeView32"},
    {"haslines", TVS_HASLINES, "SysTreeView32"},
    {"linesatroot", TVS_LINESATROOT, "SysTreeView32"},
    {"editlabels", TVS_EDITLABELS, "SysTreeView32"},
    {"showselalways", TVS_SHOWSELALWAYS, "SysTreeView32"},
    {"dropdown", CBS_DROPDOWN, "combobox"},
    {"dropdownlist", CBS_DROPDOWNLIST, "combobox"},
    {"sort", CBS_SORT, "combobox"},
    {"hasstrings", CBS_HASSTRINGS, "combobox"},
    {"nointegralheight", CBS_NOINTEGRALHEIGHT, "combobox"},
    {"notify", LBS_NOTIFY, "listbox"},
    {"sort", LBS_SORT, "listbox"},
    {"ownerdrawvariable", LBS_OWNERDRAWVARIABLE, "listbox"},
    {"hasstrings", LBS_HASSTRINGS, "listbox"},
    {"nointegralheight", LBS_NOINTEGRALHEIGHT, "listbox"},
    {"report", LVS_REPORT, "SysListView32"},
    {"singlesel", LVS_SINGLESEL, "SysListView32"},
    {"showselalways", LVS_SHOWSELALWAYS, "SysListView32"},
    {"sort", LVS_SORTASCENDING, "SysListView32"},
    {"noheader", LVS_NOCOLUMNHEADER, "SysListView32"},
    {"hidden", 0, nullptr},
};

const char* const ClassNames[] = {"button",          "static",        "edit",     "msctls_progress32",
                                  "msctls_updown32", "SysTreeView32", "combobox", "listbox",
                                  "SysListView32"};

std::optional<DWORD> ParseStyle(const QJsonValue& value, const QString& className)
{
    DWORD style = 0;
    if (value.isUndefined())
        return style;
    if (!value.isArray())
        return std::nullopt;
    for (const QJsonValue& word : value.toArray())
    {
        const QString text = word.toString();
        const auto* found = std::find_if(std::begin(StyleWords), std::end(StyleWords),
                                         [&](const StyleWord& s) {
                                             return text == QLatin1String(s.word) &&
                                                    (!s.className || className == QLatin1String(s.className));
                                         });
        if (found == std::end(StyleWords))
            return std::nullopt;
        style |= found->bits;
    }
    return style;
}

bool IsUnitValue(const QJsonValue& v)
{
    return v.isDouble() && v.toDouble() == double(v.toInt()) && v.toInt() >= 0 && v.toInt() <= MaxDialogUnits;
}

std::optional<CRect> ParseRect(const QJsonValue& value)
{
    const QJsonArray a = value.toArray();
    if (a.size() != 4 || !std::all_of(a.begin(), a.end(), IsUnitValue))
        return std::nullopt;
    const int x = a[0].toInt();
    const int y = a[1].toInt();
    return CRect(x, y, x + a[2].toInt(), y + a[3].toInt());
}

std::optional<DialogItemTemplate> ParseItem(const QJsonValue& value)
{
    const QJsonObject o = value.toObject();
    const QJsonValue id = o.value(QLatin1String("id"));
    if (!id.isDouble() || id.toInt() < 0 || id.toInt() > 0xFFFF)
        return std::nullopt;
    DialogItemTemplate item;
    item.id = UINT(id.toInt());
    item.className = o.value(QLatin1String("class")).toString();
    if (std::none_of(std::begin(ClassNames), std::end(ClassNames),
                     [&](const char* name) { return item.className == QLatin1String(name); }))
        return std::nullopt;
    item.text = o.value(QLatin1String("text")).toString();
    const auto rect = ParseRect(o.value(QLatin1String("rect")));
    const auto style = ParseStyle(o.value(QLatin1String("style")), item.className);
    if (!rect || !style)
        return std::nullopt;
    item.rect = *rect;
    const bool hidden = o.value(QLatin1String("style")).toArray().contains(QLatin1String("hidden"));
    item.style = *style | WS_CHILD | (hidden ? 0 : WS_VISIBLE);
    return item;
}
} // namespace

bool ParseDialogTemplate(const QByteArray& json, DialogTemplate* dialog)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return false;
    const QJsonObject o = document.object();
    DialogTemplate result;
    result.caption = o.value(QLatin1String("caption")).toString();
    const QJsonArray size = o.value(QLatin1String("size")).toArray();
    if (size.size() != 2 || !IsUnitValue(size[0]) || !IsUnitValue(size[1]))
        return false;
    result.width = size[0].toInt();
    result.height = size[1].toInt();
    const auto style = ParseStyle(o.value(QLatin1String("style")), QString());
    if (!style)
        return false;
    result.style = *style;
    const QJsonArray font = o.value(QLatin1String("font")).toArray();
    if (font.size() != 2 || !font[0].isString() || !font[1].isDouble() || font[1].toInt() <= 0 ||
        font[1].toInt() > 72)
        return false;
    result.fontFace = font[0].toString();
    result.fontPointSize = font[1].toInt();
    const QJsonArray controls = o.value(QLatin1String("controls")).toArray();
    if (controls.size() > MaxControls)
        return false;
    for (const QJsonValue& control : controls)
    {
        const auto item = ParseItem(control);
        if (!item)
            return false;
        result.items.push_back(*item);
    }
    *dialog = std::move(result);
    return true;
}

bool LoadDialogTemplate(UINT id, DialogTemplate* dialog)
{
    QByteArray json;
    return ResourceModule::Load(QStringLiteral("DIALOG"), id, &json) && ParseDialogTemplate(json, dialog);
}
