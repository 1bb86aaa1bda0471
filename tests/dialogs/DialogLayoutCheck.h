#pragma once

#include "DialogTestSupport.h"
#include "controls/NumberEditCtrl.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>

namespace DialogTest
{
// The text of a label or button as shown, without its mnemonic marks.
inline QString ShownText(QWidget* widget)
{
    QString text;
    if (auto* label = qobject_cast<QLabel*>(widget))
        text = label->text();
    else if (auto* button = qobject_cast<QAbstractButton*>(widget))
        text = button->text();
    return text.replace(QLatin1String("&&"), QLatin1String("\x01")).remove(u'&').replace(u'\x01', u'&');
}

// The faults of a dialog's layout as the user sees it: a control outside the window or across the
// frame of a group box, two controls on top of each other (group boxes frame others, a spin
// button sits on its edit), and a caption cut off. Empty when there is none.
inline QStringList LayoutFaults(QWidget* window)
{
    QStringList faults;
    std::vector<QWidget*> controls;
    std::vector<QWidget*> frames;
    for (QWidget* child : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    {
        if (!child->isVisibleTo(window))
            continue;
        const QString name =
            QString::number(CWnd::FromHandle(child) ? CWnd::FromHandle(child)->GetDlgCtrlID() : 0) +
            QLatin1Char(' ') + ShownText(child);
        if (!window->rect().contains(child->geometry()))
            faults << QStringLiteral("outside: ") + name;
        const QString text = ShownText(child).split(u'\n').first();
        int room = child->width();
        if (qobject_cast<QCheckBox*>(child) || qobject_cast<QRadioButton*>(child))
            room -= 18; // the box or circle and the gap before the text
        if (!qobject_cast<QGroupBox*>(child) && !text.isEmpty() &&
            child->fontMetrics().horizontalAdvance(text) > room &&
            !(qobject_cast<QLabel*>(child) && qobject_cast<QLabel*>(child)->wordWrap()))
            faults << QStringLiteral("cut: ") + name;
        const CWnd* wnd = CWnd::FromHandle(child);
        const bool spin = wnd && wnd->GetDlgCtrlID() == CNumberEditCtrl::SpinId;
        const bool frame = qobject_cast<QGroupBox*>(child) ||
                           (qobject_cast<QAbstractButton*>(child) && child->inherits("QGroupBox"));
        if (frame)
            frames.push_back(child);
        else if (!spin)
            controls.push_back(child);
    }
    for (QWidget* control : controls)
    {
        for (QWidget* frame : frames)
        {
            const QRect area = frame->geometry();
            if (area.intersects(control->geometry()) && !area.contains(control->geometry()))
                faults << QStringLiteral("across a frame: %1 %2")
                              .arg(CWnd::FromHandle(control)->GetDlgCtrlID())
                              .arg(ShownText(control));
        }
    }
    for (std::size_t i = 0; i < controls.size(); ++i)
    {
        for (std::size_t j = i + 1; j < controls.size(); ++j)
        {
            if (controls[i]->geometry().intersects(controls[j]->geometry()))
                faults << QStringLiteral("overlap: %1 %2 / %3 %4")
                              .arg(CWnd::FromHandle(controls[i])->GetDlgCtrlID())
                              .arg(ShownText(controls[i]))
                              .arg(CWnd::FromHandle(controls[j])->GetDlgCtrlID())
                              .arg(ShownText(controls[j]));
        }
    }
    return faults;
}
} // namespace DialogTest
