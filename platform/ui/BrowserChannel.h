#pragma once

#include <QObject>
#include <QVariantMap>

class CIEBrowser;

// What the editing library in a browser control's page tells the control. It is offered to the
// library's script world only, so the page's own scripts can neither reach it nor speak for the
// library.
class CBrowserChannel : public QObject
{
    Q_OBJECT

public:
    explicit CBrowserChannel(CIEBrowser* browser) : m_browser(browser) {}

    // The selection changed; state holds the command states ("serial", "states": id to bits).
    Q_INVOKABLE void selectionChanged(const QVariantMap& state);
    // Fresh command states after an edit, without a change of the selection.
    Q_INVOKABLE void statusChanged(const QVariantMap& state);
    Q_INVOKABLE void mouseDown(int x, int y, double ref);
    Q_INVOKABLE void doubleClick(int x, int y, double ref, bool ctrlKey);
    // The element under the pointer when the page asked for its context menu.
    Q_INVOKABLE void contextMenu(int x, int y, double ref, bool ctrlKey, bool shiftKey);
    Q_INVOKABLE void snapRect(const QString& id, int positioning, int left, int top, int right, int bottom);
    Q_INVOKABLE void paste(bool plainText);

private:
    template <class Report> void Later(Report report);

    CIEBrowser* m_browser;
};
