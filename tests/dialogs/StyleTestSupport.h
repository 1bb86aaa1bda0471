#pragma once

#include "DialogTestSupport.h"
#include "app/KVContext.h"
#include "app/KVWebServer.h"
#include "dialogs/ColorBoxCtrl.h"
#include "ndb/NdbNewsletter.h"
#include "platform/ui/PropertyPage.h"
#include "support/PageAnswer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEventLoop>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabBar>
#include <QTreeWidget>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include <tuple>

namespace StyleTest
{
using namespace DialogTest;

inline const QString FileName = QStringLiteral("styles.kvnl");

inline void AddClassStyle(ndb::CNdbNewsletter& newsletter, const QString& name, const QString& rule)
{
    auto style = std::make_unique<ndb::CNdbStyle>();
    style->SetField(ndb::StyleDisplayName, ndb::CNdbFieldValue(name));
    style->SetField(ndb::StyleRuleName, ndb::CNdbFieldValue(rule));
    style->SetField(ndb::StyleFontWeight, ndb::CNdbFieldValue(ndb::NdbValueFontWeight, 1));
    newsletter.SetStyle(QString(), std::move(style));
}

inline ndb::CNdbStyle* FindStyle(const ndb::CNdbNewsletter& newsletter, const QString& name)
{
    for (const auto& [key, style] : newsletter.Styles())
    {
        if (style->GetString(ndb::StyleDisplayName) == name)
            return style.get();
    }
    return nullptr;
}

inline std::vector<int> FieldIds(const ndb::CNdbStyle& style)
{
    std::vector<int> ids;
    for (const auto& [id, value] : style.GetFields())
        ids.push_back(id);
    return ids;
}

// A newsletter with the seven system styles and the class styles "Boxed" (c1) and "Quote" (c4),
// open in the application context and served by the local server on 127.0.0.1.
class StyledNewsletter : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto letter = std::make_unique<ndb::CNdbNewsletter>(QStringLiteral("Styles"));
        letter->SetField(ndb::NewsletterFileName, ndb::CNdbFieldValue(FileName));
        letter->Layout().SetField(
            ndb::LayoutHtml, ndb::CNdbFieldValue(QStringLiteral("<html><head><title>Styles</title></head>"
                                                                "<body><p>A paragraph</p></body></html>")));
        letter->EnsureDefaultStyles();
        AddClassStyle(*letter, QStringLiteral("Boxed"), QStringLiteral("c1"));
        AddClassStyle(*letter, QStringLiteral("Quote"), QStringLiteral("c4"));
        newsletter = letter.get();
        context.SetCurrentDocument(std::move(letter));
        ASSERT_NE(server.Start(), 0);
    }

    CKVContext context;
    CKVWebServer server{&context};
    ndb::CNdbNewsletter* newsletter = nullptr;
};

// The control with that id in the window or one of its child dialogs, the shown page first.
inline CWnd* Control(QWidget* window, int id)
{
    CWnd* found = nullptr;
    for (QWidget* child : window->findChildren<QWidget*>())
    {
        CWnd* wnd = CWnd::FromHandle(child);
        if (!wnd || wnd->GetDlgCtrlID() != UINT(id))
            continue;
        if (child->isVisibleTo(window))
            return wnd;
        found = found ? found : wnd;
    }
    return found;
}

// A check box or radio button is clicked on its box, which its text may not reach.
inline void Click(QWidget* window, int id)
{
    QWidget* widget = Widget(Control(window, id));
    const bool checkable = qobject_cast<QCheckBox*>(widget) || qobject_cast<QRadioButton*>(widget);
    QTest::mouseClick(widget, Qt::LeftButton, {},
                      checkable ? QPoint(6, widget->height() / 2) : widget->rect().center());
}

inline QComboBox* Combo(QWidget* window, int id)
{
    return qobject_cast<QComboBox*>(Widget(Control(window, id)));
}

// Chooses the entry of a list with the keyboard, as the user would.
inline void Choose(QWidget* window, int id, const QString& text)
{
    QComboBox* combo = Combo(window, id);
    const int target = combo->findText(text);
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Home);
    for (int i = 0; i < target; ++i)
        QTest::keyClick(combo, Qt::Key_Down);
    QCoreApplication::processEvents();
}

inline void TypeInto(QWidget* window, int id, const QString& keys)
{
    QWidget* widget = Widget(Control(window, id));
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        widget = combo->lineEdit();
    TypeOver(widget, keys);
}

inline void ShowPage(QWidget* sheet, int index)
{
    QTabBar* tabs = sheet->findChild<QTabBar*>();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
    QCoreApplication::processEvents();
}

// The swatch of the shown page whose placeholder had the id.
inline CColorBoxCtrl* Swatch(QWidget* window, int id)
{
    CColorBoxCtrl* found = nullptr;
    for (QWidget* child : window->findChildren<QWidget*>())
    {
        auto* swatch = dynamic_cast<CColorBoxCtrl*>(CWnd::FromHandle(child));
        if (swatch && swatch->GetDlgCtrlID() == UINT(id) && (child->isVisibleTo(window) || !found))
            found = swatch;
    }
    return found;
}

// Runs a script in the page and waits for its answer as text.
inline QString Evaluate(QWebEnginePage* page, const QString& script)
{
    // An unanswered script leaves the answer empty, which the caller sees.
    return PageAnswer(page, script, 30000).value_or(QVariant()).toString();
}

// The computed style of the first paragraph: colour, size, bottom and top border, letter spacing.
inline const QString ParagraphStyleScript =
    QStringLiteral("(function(){var p=document.querySelector('p');if(!p)return '';var s=getComputedStyle(p);"
                   "return [s.color,s.fontSize,s.borderBottomStyle+' '+s.borderBottomWidth,s.borderTopStyle,"
                   "s.letterSpacing].join('|');})()");

// Waits until the page's first paragraph has the computed style wanted (or the time is up).
inline QString WaitForParagraphStyle(QWebEnginePage* page, const QString& wanted)
{
    QString style;
    std::ignore = QTest::qWaitFor(
        [&]
        {
            style = Evaluate(page, ParagraphStyleScript);
            return style == wanted;
        },
        30000);
    return style;
}
} // namespace StyleTest
