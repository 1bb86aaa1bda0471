#pragma once

#include <QPointer>
#include <QWidget>

class CWnd;

// The part of a top-level window below its menu bar: it holds the window's child windows and
// reports its size to the window as WM_SIZE. Its own input goes to the window it belongs to.
class CWndClientArea : public QWidget
{
public:
    CWndClientArea(CWnd* wnd, QWidget* window);

    CWnd* Wnd() const { return m_wnd; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    CWnd* m_wnd;
};
