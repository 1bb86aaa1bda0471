#pragma once

class QEvent;
class QWidget;

// Qt hands a mouse press that a child window passed to its default handling on to the parent,
// where the desktop these windows come from never delivers it. A window with child windows asks
// this before it turns a mouse event into a message: true, with the event accepted, when it
// belongs to a child.
bool ConsumeChildMouseEvent(const QWidget* widget, QEvent* event);
