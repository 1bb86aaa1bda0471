#include "platform/ui/Edit.h"
#include "platform/ui/Wnd.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace
{
struct Offered
{
    QString window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const Offered&) const = default;
};

std::vector<Offered>* g_log = nullptr;

// A window that notes what it is offered and consumes it when told to.
template <class Base> class CNoting : public Base
{
public:
    explicit CNoting(QString name) : m_name(std::move(name)) {}
    bool consume = false;

    bool PreTranslateMessage(MSG* msg) override
    {
        if (g_log)
            g_log->push_back({m_name, msg->message, msg->wParam, msg->lParam});
        return consume;
    }

private:
    QString m_name;
};

// A main window with a panel holding a field, and a top-level tool window of its own with a
// field too.
struct Windows
{
    std::vector<Offered> log;
    CNoting<CWnd> main{"main"};
    CNoting<CWnd> panel{"panel"};
    CNoting<CEdit> field{"field"};
    CNoting<CWnd> tool{"tool"};
    CNoting<CEdit> toolField{"toolField"};

    Windows()
    {
        g_log = &log;
        main.Create(QString(), QString(), WS_VISIBLE, CRect(0, 0, 300, 200), nullptr, 0);
        panel.Create(QString(), QString(), WS_CHILD | WS_VISIBLE, CRect(10, 10, 200, 150), &main, 10);
        field.Create(QString(), QString(), WS_CHILD | WS_VISIBLE, CRect(5, 5, 150, 30), &panel, 11);
        tool.Create(QString(), QString(), WS_VISIBLE, CRect(400, 0, 600, 100), nullptr, 0);
        toolField.Create(QString(), QString(), WS_CHILD | WS_VISIBLE, CRect(5, 5, 150, 30), &tool, 12);
        AfxSetMainWnd(&main);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(main.GetSafeHwnd()));
        EXPECT_TRUE(QTest::qWaitForWindowExposed(tool.GetSafeHwnd()));
    }
    ~Windows()
    {
        AfxSetMainWnd(nullptr);
        g_log = nullptr;
    }

    // Gives the focus to the field and types the key there.
    void Type(CEdit& edit, Qt::Key key, const QString& text = {})
    {
        QWidget* widget = edit.GetSafeHwnd();
        widget->window()->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(widget->window()));
        widget->setFocus();
        EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == widget; }));
        log.clear();
        if (text.isEmpty())
            QTest::keyClick(widget, key);
        else
            QTest::keyClicks(widget, text);
    }

    QStringList Order() const
    {
        QStringList names;
        for (const Offered& offered : log)
            names.append(offered.window);
        return names;
    }
};

QString TextOf(CEdit& edit)
{
    return qobject_cast<QLineEdit*>(edit.GetSafeHwnd())->text();
}
} // namespace

TEST(PreTranslate, KeysGoFromTheFocusOutwardsAndLastToTheMainWindow)
{
    Windows windows;
    windows.Type(windows.field, Qt::Key_Return);
    EXPECT_EQ(windows.Order().join(" ").toStdString(), "field panel main");
    ASSERT_FALSE(windows.log.empty());
    EXPECT_EQ(windows.log.front().message, WM_KEYDOWN);
    EXPECT_EQ(windows.log.front().wParam, VK_RETURN);

    // A top-level window of its own: its windows, then the main window's last chance.
    windows.Type(windows.toolField, Qt::Key_F5);
    EXPECT_EQ(windows.Order().join(" ").toStdString(), "toolField tool main");
    EXPECT_EQ(windows.log.front().wParam, VK_F1 + 4);

    // Not while a modal window is up: the main window's keys are not for it.
    CNoting<CWnd> modal{"modal"};
    CNoting<CEdit> modalField{"modalField"};
    modal.Create(QString(), QString(), 0, CRect(0, 300, 200, 400), nullptr, 0);
    modalField.Create(QString(), QString(), WS_CHILD | WS_VISIBLE, CRect(5, 5, 150, 30), &modal, 13);
    modal.GetSafeHwnd()->setWindowModality(Qt::ApplicationModal);
    modal.ShowWindow(SW_SHOW);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(modal.GetSafeHwnd()));
    windows.Type(modalField, Qt::Key_F5);
    EXPECT_EQ(windows.Order().join(" ").toStdString(), "modalField modal");
}

TEST(PreTranslate, AConsumedKeyReachesNoOneElse)
{
    Windows windows;
    windows.panel.consume = true;
    windows.Type(windows.field, Qt::Key_X, "x");
    EXPECT_EQ(windows.Order().join(" ").toStdString(), "field panel");
    EXPECT_EQ(TextOf(windows.field).toStdString(), "") << "the field never saw the key";

    windows.panel.consume = false;
    windows.Type(windows.field, Qt::Key_X, "x");
    EXPECT_EQ(TextOf(windows.field).toStdString(), "x");
}

TEST(PreTranslate, MousePressesComeWithTheButtonAndTheWindowsPosition)
{
    Windows windows;
    windows.log.clear();
    QTest::mousePress(windows.panel.GetSafeHwnd(), Qt::BackButton, Qt::ShiftModifier, QPoint(170, 100));
    QTest::mouseRelease(windows.panel.GetSafeHwnd(), Qt::BackButton, Qt::ShiftModifier, QPoint(170, 100));
    QTest::mousePress(windows.field.GetSafeHwnd(), Qt::LeftButton, Qt::NoModifier, QPoint(3, 4));
    QTest::mouseRelease(windows.field.GetSafeHwnd(), Qt::LeftButton, Qt::NoModifier, QPoint(3, 4));
    const WPARAM back = MK_SHIFT | (WPARAM(XBUTTON1) << 16);
    const std::vector<Offered> expected = {
        {"panel", WM_XBUTTONDOWN, back, MAKELPARAM(170, 100)},
        {"main", WM_XBUTTONDOWN, back, MAKELPARAM(170, 100)},
        {"panel", WM_XBUTTONUP, back, MAKELPARAM(170, 100)},
        {"main", WM_XBUTTONUP, back, MAKELPARAM(170, 100)},
        // The position is the one in the window the press is meant for.
        {"field", WM_LBUTTONDOWN, 0, MAKELPARAM(3, 4)},
        {"panel", WM_LBUTTONDOWN, 0, MAKELPARAM(3, 4)},
        {"main", WM_LBUTTONDOWN, 0, MAKELPARAM(3, 4)},
    };
    ASSERT_EQ(windows.log.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
    {
        EXPECT_EQ(windows.log[i].window.toStdString(), expected[i].window.toStdString()) << i;
        EXPECT_EQ(windows.log[i].message, expected[i].message) << i;
        EXPECT_EQ(windows.log[i].wParam, expected[i].wParam) << i;
        EXPECT_EQ(windows.log[i].lParam, expected[i].lParam) << i;
    }
}
