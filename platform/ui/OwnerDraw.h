#pragma once

#include "platform/ui/DC.h"
#include "platform/ui/Rect.h"
#include "platform/ui/WinConstants.h"

#include <functional>

class CWnd;
class QPainter;

constexpr UINT ODT_LISTBOX = 2;
constexpr UINT ODT_COMBOBOX = 3;
constexpr UINT ODS_SELECTED = 0x0001;
constexpr UINT ODS_FOCUS = 0x0010;
constexpr UINT ODS_COMBOBOXEDIT = 0x1000;

struct MEASUREITEMSTRUCT
{
    UINT CtlType = ODT_COMBOBOX;
    UINT CtlID = 0;
    int itemID = -1; // -1: the selection field
    UINT itemWidth = 0;
    UINT itemHeight = 0;
    UINT_PTR itemData = 0;
};

struct DRAWITEMSTRUCT
{
    UINT CtlType = ODT_COMBOBOX;
    UINT CtlID = 0;
    int itemID = -1; // -1: no selection
    UINT itemState = 0;
    CWnd* hwndItem = nullptr;
    CDC* pDC = nullptr;
    CRect rcItem;
    UINT_PTR itemData = 0;
};

// Lets an owner draw one item of its list: the owner paints a picture of the area through the
// context in draw->pDC, with draw->rcItem the whole picture, and the picture is then shown there.
void DrawItemByOwner(QPainter* painter, const QRect& area, const QFont& font, DRAWITEMSTRUCT* draw,
                     const std::function<void(DRAWITEMSTRUCT*)>& drawItem);
