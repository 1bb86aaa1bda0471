#pragma once

#include "platform/ui/Rect.h"
#include "platform/ui/Size.h"
#include "platform/ui/TextMetric.h"
#include "platform/ui/WinConstants.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <memory>
#include <vector>

class CFont;

// A drawing surface: a QPainter on an ARGB image, with the text state that GDI keeps per context.
class CDC
{
public:
    virtual ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    QPainter* Painter() { return &m_painter; }
    QImage* Target() const { return m_target; }

    int SaveDC();
    // -1 restores the state saved last.
    bool RestoreDC(int savedState);

    void FillSolidRect(const CRect& rect, COLORREF color);
    // A one-pixel frame just inside the rectangle: its top and left edges in one colour, its
    // bottom and right edges in the other.
    void Draw3dRect(const CRect& rect, COLORREF topLeft, COLORREF bottomRight);
    COLORREF SetTextColor(COLORREF color);
    COLORREF SetBkColor(COLORREF color);
    int SetBkMode(int mode);
    // Returns the font selected before; null stands for the default font.
    CFont* SelectObject(CFont* font);
    const QFont& CurrentFont() const { return m_font; }

    // Draws or, with DT_CALCRECT, measures; returns the height of the text.
    int DrawText(const QString& text, CRect* rect, UINT format);
    CSize GetTextExtent(const QString& text) const;
    bool GetTextMetrics(TEXTMETRIC* metrics) const;

protected:
    CDC();
    // Draws into target, or into a scratch image of that size when target is null.
    void Begin(QImage* target, const QSize& scratchSize, const QFont& defaultFont);

private:
    struct State
    {
        COLORREF textColor;
        COLORREF bkColor;
        int bkMode;
        CFont* font;
        QFont qfont;
    };

    std::unique_ptr<QImage> m_scratch;
    QImage* m_target = nullptr;
    QPainter m_painter;
    COLORREF m_textColor = 0x000000;
    COLORREF m_bkColor = 0xFFFFFF;
    int m_bkMode = OPAQUE;
    CFont* m_selectedFont = nullptr;
    QFont m_font;
    QFont m_defaultFont;
    std::vector<State> m_saved;
};
