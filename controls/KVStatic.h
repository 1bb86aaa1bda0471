#pragma once

#include "controls/KVSystemFont.h"
#include "platform/ui/Wnd.h"

// A self-drawn label: background, a one-pixel border and left-aligned text in the system font,
// normal or bold, vertically centred. Owners change the members directly and invalidate it.
class CKVStatic : public CWnd
{
public:
    static constexpr DWORD FlagNoBorder = 0x1;
    static constexpr DWORD FlagBold = 0x2;

    CKVStatic();
    ~CKVStatic() override;

    bool Create(const QString& text, CWnd* parent, UINT id, COLORREF textColor, COLORREF backgroundColor,
                COLORREF borderColor);
    CKVSystemFont& GetNormalFont() { return m_normalFont; }

    QString m_text;
    COLORREF m_textColor = 0x000000;
    COLORREF m_backgroundColor = 0xFFFFFF;
    COLORREF m_borderColor = 0x000000;
    DWORD m_flags = 0;
    int m_padding = 0; // kept free left and right of the text

protected:
    const MessageMap* GetMessageMap() const override;
    LRESULT OnPaint(WPARAM, LPARAM);

private:
    CKVSystemFont m_normalFont{0, 0};
    CKVSystemFont m_boldFont{0, 1};
};
