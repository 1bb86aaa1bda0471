#pragma once

#include "platform/ui/Dialog.h"
#include "platform/ui/SpinButtonCtrl.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QStringList>
#include <QWidget>

namespace DialogTest
{
// A caption as it shows, without the "&" marks of its keys.
inline QString ShownCaption(QString text)
{
    text.replace(QLatin1String("&&"), QLatin1String("\x01"));
    text.remove(QLatin1Char('&'));
    return text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
}

inline UINT IdOf(QWidget* widget)
{
    const CWnd* wnd = CWnd::FromHandle(widget);
    return wnd ? wnd->GetDlgCtrlID() : 0;
}

// What is wrong with the look of a dialog made from its template: a control reaching outside the
// dialog, two controls on top of each other (group boxes frame others, a spin button sits on
// its edit) or a caption cut off. Only controls shown count.
inline QStringList LayoutProblems(const CDialog& dialog)
{
    QWidget* window = dialog.GetSafeHwnd();
    std::vector<QWidget*> controls;
    QStringList problems;
    for (QWidget* child : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    {
        if (!child->isVisibleTo(window) || dynamic_cast<CSpinButtonCtrl*>(CWnd::FromHandle(child)))
            continue;
        const QString name =
            QStringLiteral("%1 \"%2\"").arg(IdOf(child)).arg(child->property("text").toString());
        if (!window->rect().contains(child->geometry()))
            problems << name + QStringLiteral(" lies outside");
        const QFontMetrics metrics(child->font());
        if (auto* button = qobject_cast<QAbstractButton*>(child); button && !qobject_cast<QGroupBox*>(child))
        {
            const bool indicator = qobject_cast<QCheckBox*>(child) || qobject_cast<QRadioButton*>(child);
            if (metrics.horizontalAdvance(ShownCaption(button->text())) + (indicator ? 18 : 4) >
                child->width())
                problems << name + QStringLiteral(" is cut off");
        }
        if (auto* label = qobject_cast<QLabel*>(child); label && !label->wordWrap())
        {
            const QStringList lines = ShownCaption(label->text()).split(QLatin1Char('\n'));
            for (const QString& line : lines)
            {
                if (metrics.horizontalAdvance(line.trimmed()) > child->width())
                    problems << name + QStringLiteral(" is cut off");
            }
            if (lines.size() * metrics.height() > child->height() + 2)
                problems << name + QStringLiteral(" is too low");
        }
        if (!qobject_cast<QGroupBox*>(child))
            controls.push_back(child);
    }
    for (std::size_t i = 0; i < controls.size(); ++i)
    {
        for (std::size_t j = i + 1; j < controls.size(); ++j)
        {
            if (controls[i]->geometry().intersects(controls[j]->geometry()))
                problems << QStringLiteral("%1 overlaps %2").arg(IdOf(controls[i])).arg(IdOf(controls[j]));
        }
    }
    return problems;
}
} // namespace DialogTest
