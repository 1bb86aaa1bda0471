#include "platform/ui/ComboBox.h"
#include "platform/ui/Edit.h"
#include "platform/ui/MessageMap.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

namespace
{
constexpr UINT ListId = 21;
constexpr UINT DropDownId = 22;
constexpr UINT EditId = 23;

// A parent whose message map takes the combo boxes' focus notifications and records the rest.
class CNotifyParent : public CWnd
{
public:
    std::vector<std::pair<UINT, UINT>> notes; // control id, code
    std::vector<std::pair<UINT, UINT>> others;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_COMMAND)
        {
            if (!OnCmdMsg(LOWORD(wParam), HIWORD(wParam)))
                others.emplace_back(LOWORD(wParam), HIWORD(wParam));
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }

protected:
    const MessageMap* GetMessageMap() const override
    {
        static const MessageMapEntry entries[] = {
            OnControl(CBN_SETFOCUS, ListId, &CNotifyParent::OnNote),
            OnControl(CBN_KILLFOCUS, ListId, &CNotifyParent::OnNote),
            OnControl(CBN_SETFOCUS, DropDownId, &CNotifyParent::OnNote),
            OnControl(CBN_KILLFOCUS, DropDownId, &CNotifyParent::OnNote),
        };
        static const MessageMap map{CWnd::GetMessageMap(), entries};
        return &map;
    }
    LRESULT OnNote(WPARAM wParam, LPARAM)
    {
        notes.emplace_back(LOWORD(wParam), HIWORD(wParam));
        return 0;
    }
};

class ComboBoxNotes : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.Create(QString(), QString(), WS_VISIBLE, CRect(0, 0, 400, 200), nullptr, 0));
        parent.GetSafeHwnd()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(parent.GetSafeHwnd()));
        ASSERT_TRUE(list.Create(QString(), QString(), WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST,
                                CRect(10, 10, 110, 200), &parent, ListId));
        ASSERT_TRUE(dropDown.Create(QString(), QString(), WS_CHILD | WS_VISIBLE | CBS_DROPDOWN,
                                    CRect(150, 10, 250, 200), &parent, DropDownId));
        ASSERT_TRUE(edit.Create(QString(), QString(), WS_CHILD | WS_VISIBLE, CRect(10, 100, 110, 120),
                                &parent, EditId));
        for (const char* text : {"alpha", "beta", "gamma"})
        {
            list.AddString(QString::fromLatin1(text));
            dropDown.AddString(QString::fromLatin1(text));
        }
    }
    static void Click(CWnd& wnd)
    {
        QTest::mouseClick(wnd.GetSafeHwnd(), Qt::LeftButton, {}, QPoint(5, 5));
        while (QWidget* popup = QApplication::activePopupWidget())
            QTest::keyClick(popup, Qt::Key_Escape);
    }

    CNotifyParent parent;
    CComboBox list;
    CComboBox dropDown;
    CEdit edit;
};
} // namespace

TEST_F(ComboBoxNotes, FocusEnteringAndLeavingABoxIsReportedOnceEach)
{
    Click(list);
    Click(list); // the dropped list belongs to the box: no notes while it opens and closes
    Click(dropDown);
    Click(edit);
    const std::vector<std::pair<UINT, UINT>> expected = {{ListId, CBN_SETFOCUS},
                                                         {ListId, CBN_KILLFOCUS},
                                                         {DropDownId, CBN_SETFOCUS},
                                                         {DropDownId, CBN_KILLFOCUS}};
    EXPECT_EQ(parent.notes, expected);
}

TEST_F(ComboBoxNotes, WindowTextIsTheEditFieldOrTheSelectedEntry)
{
    EXPECT_EQ(list.GetWindowText(), QString());
    list.SetCurSel(1);
    EXPECT_EQ(list.GetWindowText(), QStringLiteral("beta"));

    dropDown.SetCurSel(2);
    EXPECT_EQ(dropDown.GetWindowText(), QStringLiteral("gamma"));
    // Setting the edit field's text leaves the selection alone.
    dropDown.SetWindowText(QStringLiteral("13"));
    EXPECT_EQ(dropDown.GetWindowText(), QStringLiteral("13"));
    EXPECT_EQ(dropDown.GetCurSel(), 2);
    QTest::keyClick(dropDown.GetSafeHwnd(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(dropDown.GetSafeHwnd(), QStringLiteral("x9"));
    EXPECT_EQ(dropDown.GetWindowText(), QStringLiteral("x9"));
    EXPECT_EQ(dropDown.GetCurSel(), 2);
    EXPECT_TRUE(parent.others.empty() || parent.others.front().second != CBN_SELCHANGE);
}
