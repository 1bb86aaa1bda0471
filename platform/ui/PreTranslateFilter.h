#pragma once

#include <QObject>

class CWnd;
struct MSG;

// Offers every key press, mouse button press and release of an extra mouse button to the PreTranslateMessage
// of the windows it is meant for before Qt delivers it: the window under it first, then each window around it
// up to its top-level window, and last the main window when the press is in another top-level window and no
// modal window is up. One filter for the application, installed with the first window.
class CPreTranslateFilter : public QObject
{
public:
    static void Install();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static bool Offer(MSG& msg);
};
