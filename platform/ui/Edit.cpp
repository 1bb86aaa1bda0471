#include "platform/ui/Edit.h"

#include "platform/ui/WndHost.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpressionValidator>

QWidget* CEdit::CreateHostWidget(QWidget* parent, DWORD style, DWORD exStyle)
{
    if (style & ES_MULTILINE)
        return CreateMultiLine(parent, style, exStyle);
    auto* edit = new CWndHost<QLineEdit>(this, parent);
    edit->setFocusPolicy((style & WS_TABSTOP) ? Qt::StrongFocus : Qt::ClickFocus);
    edit->setReadOnly((style & ES_READONLY) != 0);
    if (style & ES_PASSWORD)
        edit->setEchoMode(QLineEdit::Password);
    if (style & ES_NUMBER)
        edit->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
    QObject::connect(qApp, &QApplication::focusChanged, edit,
                     [edit](QWidget* old, QWidget*)
                     {
                         if (old != edit)
                             return;
                         if (CWnd* wnd = CWnd::FromHandle(edit))
                             wnd->NotifyParent(EN_KILLFOCUS);
                     });
    QObject::connect(edit, &QLineEdit::textChanged, edit,
                     [edit]
                     {
                         if (CWnd* wnd = CWnd::FromHandle(edit))
                             wnd->NotifyParent(EN_UPDATE);
                         if (CWnd* wnd = CWnd::FromHandle(edit))
                             wnd->NotifyParent(EN_CHANGE);
                     });
    return edit;
}

void CEdit::GetSel(int& start, int& end) const
{
    const auto* edit = qobject_cast<QLineEdit*>(GetSafeHwnd());
    if (!edit)
    {
        start = end = 0;
        return;
    }
    if (edit->hasSelectedText())
    {
        start = edit->selectionStart();
        end = edit->selectionEnd();
        return;
    }
    start = end = edit->cursorPosition();
}

void CEdit::SetSel(int start, int end)
{
    auto* edit = qobject_cast<QLineEdit*>(GetSafeHwnd());
    if (!edit)
        return;
    const int length = int(edit->text().size());
    start = std::clamp(start < 0 ? length : start, 0, length);
    end = std::clamp(end < 0 ? length : end, 0, length);
    // The caret goes to the end given last, as it does when the user selects.
    edit->setSelection(start, end - start);
    if (start == end)
        edit->setCursorPosition(start);
}

void CEdit::SetLimitText(int maximum)
{
    if (auto* edit = qobject_cast<QLineEdit*>(GetSafeHwnd()))
        edit->setMaxLength(maximum > 0 ? maximum : 32767);
}

QWidget* CEdit::CreateMultiLine(QWidget* parent, DWORD style, DWORD)
{
    auto* edit = new CWndHost<QPlainTextEdit>(this, parent);
    edit->setFocusPolicy((style & WS_TABSTOP) ? Qt::StrongFocus : Qt::ClickFocus);
    edit->setReadOnly((style & ES_READONLY) != 0);
    edit->setLineWrapMode(QPlainTextEdit::NoWrap);
    edit->setTabChangesFocus(true);
    QObject::connect(edit, &QPlainTextEdit::textChanged, edit,
                     [edit]
                     {
                         if (CWnd* wnd = CWnd::FromHandle(edit))
                             wnd->NotifyParent(EN_CHANGE);
                     });
    return edit;
}
