#pragma once

#include "platform/ui/WinTypes.h"

// The commands of the layout editor: menu 128, the context menu 174, the keys of table 228 and
// the buttons of the layout toolbar.
constexpr UINT ID_LAYOUT_EDIT = 32775;
constexpr UINT ID_LAYOUT_SAVE = 32776;
constexpr UINT ID_LAYOUT_CANCEL = 32777;
constexpr UINT ID_LAYOUT_HELP = 32783;
constexpr UINT ID_INSERT_TABLE = 32798;
constexpr UINT ID_INSERT_BOX = 32799;
constexpr UINT ID_LAYOUT_STYLES = 32892;
constexpr UINT ID_LAYOUT_FONT_FAMILY = 32893;
constexpr UINT ID_LAYOUT_FONT_SIZE = 32894;
constexpr UINT ID_EDIT_PASTE = 57637;
constexpr UINT ID_PASTE_AS_TEXT = 32872;
constexpr UINT ID_TEXT_COLOR = 32815;
constexpr UINT ID_FILL_COLOR = 32816;
constexpr UINT ID_SELECT_TEXT_COLOR = 32965;
constexpr UINT ID_SELECT_FILL_COLOR = 32967;
constexpr UINT ID_SPAM_CHECK = 32817;
constexpr UINT ID_ALIGN_LEFT = 32805;
constexpr UINT ID_ALIGN_CENTER = 32806;
constexpr UINT ID_ALIGN_RIGHT = 32807;
constexpr UINT ID_ALIGN_FULL = 32808;

// Items of the edit-mode context menu that act on the element under the pointer.
constexpr UINT ID_TABLE_CELL_PROPERTIES = 32857;
constexpr UINT ID_TABLE_PROPERTIES = 32858;
constexpr UINT ID_TABLE_INSERT_COLUMN = 32859;
constexpr UINT ID_TABLE_INSERT_ROW = 32860;
constexpr UINT ID_TABLE_DELETE_COLUMN = 32861;
constexpr UINT ID_TABLE_DELETE_ROW = 32862;
constexpr UINT ID_TABLE_MERGE_DOWN = 32863;
constexpr UINT ID_TABLE_MERGE_RIGHT = 32864;
constexpr UINT ID_RULE_PROPERTIES = 32876;
constexpr UINT ID_IMAGE_PROPERTIES = 32877;
constexpr UINT ID_LINK_PROPERTIES = 32878;
constexpr UINT ID_BOX_PROPERTIES = 32879;
constexpr UINT ID_BOOKMARK_PROPERTIES = 32880;
constexpr UINT ID_LIST_PROPERTIES = 32881;
constexpr UINT ID_LAYOUT_PROPERTIES = 32895;
constexpr UINT ID_IMAGE_CHANGE_EFFECT = 32916;
constexpr UINT ID_IMAGE_EFFECT_PROPERTIES = 32920;
constexpr UINT ID_IMAGE_RESET_EFFECT = 32922;
constexpr UINT ID_IMAGE_CHANGE_TEXT = 32923;
constexpr UINT ID_IMAGE_CHANGE = 32925;
