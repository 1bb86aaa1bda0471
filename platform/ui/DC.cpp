#include "platform/ui/DC.h"

#include "platform/ui/ClientDC.h"
#include "platform/ui/Font.h"
#include "platform/ui/PaintDC.h"
#include "platform/ui/Wnd.h"

#include <QApplication>
#include <QFontMetrics>
#include <QWidget>

namespace
{
QColor ColorOf(COLORREF c)
{
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

QFont WindowFont(CWnd* wnd)
{
    if (wnd && wnd->GetFont())
        return wnd->GetFont()->ToQFont();
    if (wnd && wnd->GetSafeHwnd())
        return wnd->GetSafeHwnd()->font();
    return QApplication::font();
}

// Windows breaks lines at CR, LF and CR LF alike.
QString NormalizeLineBreaks(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

int QtTextFlags(UINT format)
{
    int flags = 0;
    if (format & DT_CENTER)
        flags |= Qt::AlignHCenter;
    else if (format & DT_RIGHT)
        flags |= Qt::AlignRight;
    else
        flags |= Qt::AlignLeft;
    if ((format & DT_SINGLELINE) && (format & DT_VCENTER))
        flags |= Qt::AlignVCenter;
    else if ((format & DT_SINGLELINE) && (format & DT_BOTTOM))
        flags |= Qt::AlignBottom;
    else
        flags |= Qt::AlignTop;
    if ((format & DT_WORDBREAK) && !(format & DT_SINGLELINE))
        flags |= Qt::TextWordWrap;
    if (format & DT_SINGLELINE)
        flags |= Qt::TextSingleLine;
    if (!(format & DT_NOPREFIX))
        flags |= Qt::TextShowMnemonic;
    return flags;
}
} // namespace

CDC::CDC() = default;

CDC::~CDC()
{
    if (m_painter.isActive())
        m_painter.end();
}

void CDC::Begin(QImage* target, const QSize& scratchSize, const QFont& defaultFont)
{
    if (!target)
    {
        m_scratch = std::make_unique<QImage>(scratchSize.expandedTo(QSize(1, 1)), QImage::Format_ARGB32);
        m_scratch->fill(Qt::transparent);
        target = m_scratch.get();
    }
    m_target = target;
    m_painter.begin(target);
    m_defaultFont = defaultFont;
    m_font = defaultFont;
    m_painter.setFont(m_font);
}

int CDC::SaveDC()
{
    m_painter.save();
    m_saved.push_back({m_textColor, m_bkColor, m_bkMode, m_selectedFont, m_font});
    return int(m_saved.size());
}

bool CDC::RestoreDC(int savedState)
{
    if (m_saved.empty())
        return false;
    const std::size_t keep = savedState < 0 ? m_saved.size() - 1 : std::size_t(savedState - 1);
    if (keep >= m_saved.size())
        return false;
    while (m_saved.size() > keep + 1)
    {
        m_saved.pop_back();
        m_painter.restore();
    }
    const State state = m_saved.back();
    m_saved.pop_back();
    m_painter.restore();
    m_textColor = state.textColor;
    m_bkColor = state.bkColor;
    m_bkMode = state.bkMode;
    m_selectedFont = state.font;
    m_font = state.qfont;
    m_painter.setFont(m_font);
    return true;
}

void CDC::FillSolidRect(const CRect& rect, COLORREF color)
{
    m_painter.fillRect(rect.ToQRect(), ColorOf(color));
}

void CDC::Draw3dRect(const CRect& rect, COLORREF topLeft, COLORREF bottomRight)
{
    FillSolidRect(CRect(rect.left, rect.top, rect.right - 1, rect.top + 1), topLeft);
    FillSolidRect(CRect(rect.left, rect.top, rect.left + 1, rect.bottom - 1), topLeft);
    FillSolidRect(CRect(rect.right - 1, rect.top, rect.right, rect.bottom), bottomRight);
    FillSolidRect(CRect(rect.left, rect.bottom - 1, rect.right, rect.bottom), bottomRight);
}

COLORREF CDC::SetTextColor(COLORREF color)
{
    return std::exchange(m_textColor, color);
}

COLORREF CDC::SetBkColor(COLORREF color)
{
    return std::exchange(m_bkColor, color);
}

int CDC::SetBkMode(int mode)
{
    return std::exchange(m_bkMode, mode);
}

CFont* CDC::SelectObject(CFont* font)
{
    CFont* previous = m_selectedFont;
    m_selectedFont = font;
    m_font = font ? font->ToQFont() : m_defaultFont;
    m_painter.setFont(m_font);
    return previous;
}

int CDC::DrawText(const QString& text, CRect* rect, UINT format)
{
    QString shown = NormalizeLineBreaks(text);
    if (format & DT_SINGLELINE)
        shown.replace(QLatin1Char('\n'), QLatin1Char(' '));
    const int flags = QtTextFlags(format);
    const QFontMetrics metrics(m_font, m_target);
    if ((format & DT_END_ELLIPSIS) && !(format & DT_WORDBREAK))
    {
        // Without word breaks every line that is too wide ends in an ellipsis of its own.
        QStringList lines = shown.split(QLatin1Char('\n'));
        for (QString& line : lines)
        {
            // A line as wide as GetTextExtent says fits; Qt's own test counts fractions of a
            // pixel and would cut a label sized to its text.
            if (metrics.horizontalAdvance(line) > rect->Width())
                line = metrics.elidedText(line, Qt::ElideRight, std::max(rect->Width(), 0), flags);
        }
        shown = lines.join(QLatin1Char('\n'));
    }
    if (format & DT_CALCRECT)
    {
        const int width = (format & DT_WORDBREAK) ? std::max(rect->Width(), 1) : 1 << 20;
        const QRect bounds = metrics.boundingRect(QRect(rect->left, rect->top, width, 1 << 20), flags, shown);
        rect->right = rect->left + bounds.width();
        rect->bottom = rect->top + bounds.height();
        return bounds.height();
    }
    if (shown.isEmpty())
        return 0;
    QRect bounds;
    m_painter.save();
    if (m_bkMode == OPAQUE)
        m_painter.fillRect(metrics.boundingRect(rect->ToQRect(), flags, shown).intersected(rect->ToQRect()),
                           ColorOf(m_bkColor));
    m_painter.setPen(ColorOf(m_textColor));
    m_painter.drawText(rect->ToQRect(), flags, shown, &bounds);
    m_painter.restore();
    return bounds.height();
}

CSize CDC::GetTextExtent(const QString& text) const
{
    const QFontMetrics metrics(m_font, m_target);
    return {metrics.horizontalAdvance(text), metrics.ascent() + metrics.descent()};
}

bool CDC::GetTextMetrics(TEXTMETRIC* tm) const
{
    const QFontMetrics metrics(m_font, m_target);
    tm->tmAscent = metrics.ascent();
    tm->tmDescent = metrics.descent();
    tm->tmHeight = tm->tmAscent + tm->tmDescent;
    tm->tmAveCharWidth = metrics.averageCharWidth();
    return true;
}

CPaintDC::CPaintDC(CWnd* wnd)
{
    const QSize size = wnd && wnd->GetSafeHwnd() ? wnd->GetSafeHwnd()->size() : QSize(1, 1);
    Begin(wnd ? wnd->PaintTarget() : nullptr, size, WindowFont(wnd));
}

CClientDC::CClientDC(CWnd* wnd)
{
    Begin(nullptr, QSize(1, 1), WindowFont(wnd));
}
