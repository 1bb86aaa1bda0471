#include "platform/ui/Static.h"

#include "platform/ui/WndHost.h"

#include <QLabel>
#include <QMouseEvent>

namespace
{
constexpr DWORD StaticTypeMask = 0x1F;
constexpr int IconSize = 32;

class ClickFilter : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        {
            if (CWnd* wnd = CWnd::FromHandle(static_cast<QWidget*>(watched)))
                wnd->NotifyParent(STN_CLICKED);
        }
        return QObject::eventFilter(watched, event);
    }
};
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
    if (style & SS_NOTIFY)
    {
        label->setCursor(Qt::PointingHandCursor);
        label->installEventFilter(new ClickFilter(label));
    }
    return label;
}

void CStatic::SetIcon(const QIcon& icon)
{
    if (auto* label = qobject_cast<QLabel*>(GetSafeHwnd()))
        label->setPixmap(icon.pixmap(IconSize, IconSize));
}

void CStatic::SetTextColor(const QColor& color)
{
    QWidget* label = GetSafeHwnd();
    if (!label)
        return;
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
}
