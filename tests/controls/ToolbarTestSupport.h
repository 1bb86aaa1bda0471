#pragma once

#include "ControlTestSupport.h"
#include "controls/KVImageButton.h"
#include "controls/KVStatic.h"
#include "controls/ToolbarBase.h"
#include "platform/ui/CmdUI.h"

#include <QApplication>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <memory>

// The main window of the toolbar tests: records the commands and other messages it receives and
// answers every command update from a table (enabled and unchecked when not listed).
class CToolbarMainWindow : public CCommandRecorder
{
public:
    struct State
    {
        bool enabled = true;
        int checked = 0;
    };
    std::map<UINT, State> states;
    std::vector<UINT> updates;
    std::vector<std::pair<UINT, QString>> messages; // other messages with lParam read as text

    std::vector<UINT> CommandIds() const
    {
        std::vector<UINT> ids;
        for (const auto& command : commands)
            ids.push_back(UINT(command.first));
        return ids;
    }
    bool OnCmdMsg(UINT id, UINT code) override
    {
        if (code != CN_UPDATE_COMMAND_UI)
            return CCommandRecorder::OnCmdMsg(id, code);
        CCmdUI* cmdUI = CCmdUI::InProgress();
        if (!cmdUI)
            return false;
        updates.push_back(id);
        const State state = states[id];
        cmdUI->Enable(state.enabled);
        cmdUI->SetCheck(state.checked);
        return true;
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message >= WM_USER + 0x300 && message < WM_USER + 0x400)
        {
            messages.emplace_back(
                message, lParam ? QString::fromUtf16(reinterpret_cast<const char16_t*>(lParam)) : QString());
            return 0;
        }
        return CCommandRecorder::WindowProc(message, wParam, lParam);
    }
};

class ToolbarFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(mainWnd.CreateShown(1000, 200));
        mainWnd.GetSafeHwnd()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(mainWnd.GetSafeHwnd()));
        AfxSetMainWnd(&mainWnd);
    }
    void TearDown() override { AfxSetMainWnd(nullptr); }

    bool CreateToolbar(CToolbarBase& toolbar, int width, int height)
    {
        return toolbar.Create(QString(), QString(), WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                              CRect(0, 0, width, height), &mainWnd, 100);
    }
    // The control ids of the shown items in table order (0 for a divider).
    static std::vector<UINT> ShownIds(const CToolbarBase& toolbar)
    {
        std::vector<UINT> ids;
        for (const CToolbarItem& item : toolbar.GetItems())
        {
            if (item.window && item.window->IsWindowVisible())
                ids.push_back(UINT(item.window->GetDlgCtrlID()));
        }
        return ids;
    }
    static CWnd* Item(const CToolbarBase& toolbar, UINT id)
    {
        for (const CToolbarItem& item : toolbar.GetItems())
        {
            if (item.window && UINT(item.window->GetDlgCtrlID()) == id && item.window->IsWindowVisible())
                return item.window.get();
        }
        return nullptr;
    }
    static CRect PlaceIn(const CWnd& toolbar, const CWnd& wnd)
    {
        CRect rect;
        wnd.GetWindowRect(&rect);
        toolbar.ScreenToClient(&rect);
        return rect;
    }
    static void ClickItem(const CToolbarBase& toolbar, UINT id)
    {
        CWnd* wnd = Item(toolbar, id);
        ASSERT_NE(wnd, nullptr) << id;
        QWidget* widget = wnd->GetSafeHwnd();
        QTest::mouseMove(widget, widget->rect().center());
        QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
    }
    // The tooltip the toolbar gives for an item's window.
    static QString TipOf(CWnd* wnd)
    {
        TOOLTIPTEXTW request;
        request.hdr.code = TTN_NEEDTEXTW;
        request.hdr.idFrom = reinterpret_cast<UINT_PTR>(wnd);
        request.uFlags = TTF_IDISHWND;
        CToolbarBase::FillToolTipText(&request.hdr);
        return QString::fromUtf16(request.szText);
    }
    // A click on a combo box drops its list down; the tests close it again with Escape.
    static void ClosePopups()
    {
        while (QWidget* popup = QApplication::activePopupWidget())
            QTest::keyClick(popup, Qt::Key_Escape);
    }

    CToolbarMainWindow mainWnd;
};

// Checks of what each toolbar shows: the tooltip of every button and the texts of its text
// buttons and labels.
class ToolbarTooltips : public ToolbarFixture
{
protected:
    using Tips = std::vector<std::pair<UINT, const char*>>;

    // Every shown button, in table order, with its tooltip; dividers, labels and fields are left out.
    static Tips ShownTips(const CToolbarBase& toolbar)
    {
        Tips tips;
        for (const CToolbarItem& item : toolbar.GetItems())
        {
            const auto* button = dynamic_cast<const CKVImageButton*>(item.window.get());
            if (!button || !button->IsWindowVisible() || button->GetDlgCtrlID() == 0)
                continue;
            tips.emplace_back(UINT(button->GetDlgCtrlID()), nullptr);
        }
        return tips;
    }
    void Expect(const CToolbarBase& toolbar, const Tips& expected)
    {
        const Tips shown = ShownTips(toolbar);
        ASSERT_EQ(shown.size(), expected.size());
        for (std::size_t i = 0; i < shown.size(); ++i)
        {
            SCOPED_TRACE(expected[i].first);
            EXPECT_EQ(shown[i].first, expected[i].first);
            EXPECT_EQ(TipOf(Item(toolbar, shown[i].first)), QString::fromUtf8(expected[i].second));
        }
    }
    // A toolbar to make, whether to show its edit-mode set, and the texts of its shown text
    // buttons and labels in table order.
    struct TextCase
    {
        std::function<std::unique_ptr<CToolbarBase>()> make;
        bool editMode;
        std::vector<const char*> texts;
    };
    void ExpectTexts(const TextCase& c)
    {
        SCOPED_TRACE(c.texts.front());
        std::unique_ptr<CToolbarBase> toolbar = c.make();
        ASSERT_TRUE(CreateToolbar(*toolbar, 900, 56));
        if (c.editMode)
            toolbar->SetEditMode();
        std::vector<QString> shown;
        for (const CToolbarItem& item : toolbar->GetItems())
        {
            if (!item.window || !item.window->IsWindowVisible())
                continue;
            if (const auto* button = dynamic_cast<const CKVImageButton*>(item.window.get()))
            {
                if (!button->GetText().isEmpty())
                    shown.push_back(button->GetText());
            }
            else if (const auto* label = dynamic_cast<const CKVStatic*>(item.window.get()))
            {
                shown.push_back(label->m_text);
                // The label is exactly as wide as its text.
                EXPECT_EQ(item.width,
                          const_cast<CKVStatic*>(label)->GetNormalFont().GetTextExtent(label->m_text).cx);
            }
        }
        std::vector<QString> expected;
        for (const char* text : c.texts)
            expected.push_back(QString::fromUtf8(text));
        EXPECT_EQ(shown, expected);
    }
};
