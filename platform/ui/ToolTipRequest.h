#pragma once

#include "platform/ui/Rect.h"

#include <QString>
#include <functional>

class QEvent;
class QWidget;

// Answers Qt's tooltip request (QEvent::ToolTip) of a window that names its tools itself:
// textAt gives the text and rectangle of the tool under a client point, an empty text for none.
void AnswerToolTipRequest(QWidget* widget, QEvent* event,
                          const std::function<QString(const CPoint& point, CRect* rect)>& textAt);
