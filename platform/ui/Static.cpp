#include "platform/ui/Static.h"

#include "platform/ui/WndHost.h"

#include <QLabel>

namespace
{
constexpr DWORD StaticTypeMask = 0x1F;
constexpr int IconSize = 32;
} // namespace

QWidget* CStatic::CreateHostWidget(QWidget* parent, DWORD style, DWORD)
{
    if ((style & StaticTypeMask) == SS_ETCHEDHORZ)
    {
        auto* line = new CWndHost<QFrame>(this, parent);
        line->setFrameShape(QFrame::HLine);
        line->setFrameShadow(QFrame::Sunken);
        return line;
    }
    if ((style & StaticTypeMask) == SS_BLACKFRAME)
    {
        auto* frame = new CWndHost<QFrame>(this, parent);
        frame->setFrameShape(QFrame::Box);
        frame->setStyleSheet(QStringLiteral("QFrame { color: black; }"));
        return frame;
    }
    auto* label = new CWndHost<QLabel>(this, parent);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if ((style & StaticTypeMask) != SS_ICON)
    {
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
    }
    return label;
}

void CStatic::SetIcon(const QIcon& icon)
{
    if (auto* label = qobject_cast<QLabel*>(GetSafeHwnd()))
        label->setPixmap(icon.pixmap(IconSize, IconSize));
}
