#pragma once

#include "platform/ui/DC.h"
#include "platform/ui/Font.h"

// The desktop's menu font, optionally with another height or bold, for every self-drawn text.
class CKVSystemFont
{
public:
    // height 0 keeps the system's height (negative: character height, positive: cell height);
    // bold 1 asks for weight 700, any other value keeps the system's weight.
    explicit CKVSystemFont(int height = 0, int bold = 0);
    virtual ~CKVSystemFont();
    CKVSystemFont(const CKVSystemFont&) = delete;
    CKVSystemFont& operator=(const CKVSystemFont&) = delete;

    CFont* GetFont() { return &m_font; }
    int GetAscent() const { return m_ascent; }
    int GetDescent() const { return m_descent; }

    // One text, vertically centred by ascent and descent, drawn with the caller's DrawText flags.
    void DrawTextCentered(CDC* dc, const CRect& rect, const QString& text, UINT format);
    CSize GetTextExtent(const QString& text);

private:
    CFont m_font;
    int m_ascent = 0;
    int m_descent = 0;
};
