#include "platform/ui/ToolTipRequest.h"

#include <QHelpEvent>
#include <QToolTip>

void AnswerToolTipRequest(QWidget* widget, QEvent* event,
                          const std::function<QString(const CPoint& point, CRect* rect)>& textAt)
{
    auto* help = static_cast<QHelpEvent*>(event);
    CRect rect;
    const QString text = textAt(CPoint(help->pos()), &rect);
    if (text.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), text, widget, rect.ToQRect());
}
