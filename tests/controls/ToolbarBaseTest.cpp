#include "controls/ToolbarBase.h"
#include "ControlTestSupport.h"
#include "controls/CommandIds.h"
#include "editor/LayoutCommandIds.h"
#include "platform/ui/CmdUI.h"

#include <QEventLoop>
#include <QFile>
#include <QPainter>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <map>

namespace
{
constexpr UINT Narrow = 901; // 12 x 96
constexpr UINT Square = 902; // 24 x 96
constexpr UINT Wide = 903;   // 36 x 96
constexpr UINT IconId = 904; // 20 x 96
constexpr UINT BoldId = ID_BOLD;
constexpr UINT ItalicId = ID_ITALIC;
constexpr UINT HelpId = ID_LAYOUT_HELP;
constexpr UINT LongTipId = 32790;
constexpr UINT NoTipId = 32791;

// A picture strip in the look of the program's buttons: a face per state with a glyph on it.
QImage MakeButtonStrip(int width, const QString& glyph)
{
    static const QColor faces[4] = {QColor(0xDD, 0xE3, 0xEA), QColor(0xC6, 0xDE, 0xF6),
                                    QColor(0xBF, 0xD3, 0xE8), QColor(0xF2, 0xF2, 0xF2)};
    static const QColor borders[4] = {QColor(0x8E, 0x9B, 0xAA), QColor(0x3A, 0x7D, 0xB5),
                                      QColor(0x28, 0x5F, 0x8F), QColor(0xC4, 0xC4, 0xC4)};
    QImage strip(width, 96, QImage::Format_ARGB32);
    strip.fill(Qt::transparent);
    QPainter painter(&strip);
    for (int frame = 0; frame < 4; ++frame)
    {
        const QRect r(0, frame * 24, width, 24);
        painter.fillRect(r.adjusted(1, 1, -1, -1), faces[frame]);
        painter.setPen(borders[frame]);
        painter.drawRect(r.adjusted(0, 0, -1, -1));
        painter.setPen(frame == 3 ? QColor(0xA0, 0xA0, 0xA0) : QColor(0x20, 0x30, 0x40));
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(13);
        font.setBold(true);
        painter.setFont(font);
        painter.drawText(r, Qt::AlignCenter, glyph);
    }
    return strip;
}

// A main window whose update handlers answer from a table and that records its commands.
class CMainWindow : public CCommandRecorder
{
public:
    struct State
    {
        bool enabled = true;
        int checked = 0;
    };
    std::map<UINT, State> states;
    std::vector<UINT> updates;

protected:
    const MessageMap* GetMessageMap() const override
    {
        static const MessageMapEntry entries[] = {
            OnUpdateCommand(BoldId, &CMainWindow::OnUpdate),
            OnUpdateCommand(ItalicId, &CMainWindow::OnUpdate),
        };
        static const MessageMap map{CWnd::GetMessageMap(), entries};
        return &map;
    }
    void OnUpdate(CCmdUI* cmdUI)
    {
        updates.push_back(cmdUI->m_nID);
        const State state = states[cmdUI->m_nID];
        cmdUI->Enable(state.enabled);
        cmdUI->SetCheck(state.checked);
    }
};

// A toolbar filled in WM_CREATE, as every derived toolbar is.
class CTestToolbar : public CToolbarBase
{
public:
    std::function<void(CTestToolbar&)> fill;
    void Append(CToolbarItem item) { m_items.push_back(std::move(item)); }

protected:
    const MessageMap* GetMessageMap() const override
    {
        static const MessageMapEntry entries[] = {
            OnMessage(WM_CREATE, &CTestToolbar::OnCreate),
        };
        static const MessageMap map{CToolbarBase::GetMessageMap(), entries};
        return &map;
    }
    LRESULT OnCreate(WPARAM, LPARAM)
    {
        if (fill)
            fill(*this);
        ShowCurrentSet();
        return 0;
    }
};

class Toolbar : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QFile builtIn(QStringLiteral(":/images/139.png"));
        ASSERT_TRUE(builtIn.open(QIODevice::ReadOnly));
        resources.AddFile(QStringLiteral("images/139.png"), builtIn.readAll());
        resources.AddImage(Narrow, MakeButtonStrip(12, QStringLiteral("|")), "PNG");
        resources.AddImage(Square, MakeButtonStrip(24, QStringLiteral("B")), "PNG");
        resources.AddImage(Wide, MakeButtonStrip(36, QStringLiteral("?")), "PNG");
        resources.AddImage(IconId, MakeButtonStrip(20, QStringLiteral("@")), "PNG");
        resources.AddFile(QStringLiteral("strings/toolbar.txt"),
                          QStringLiteral("32786\tBold\n32783\tHelp\n32790\t%1\n")
                              .arg(QString(100, QLatin1Char('x')))
                              .toUtf8());
        ASSERT_TRUE(resources.Load());
        ASSERT_TRUE(mainWnd.CreateShown(600, 200));
        AfxSetMainWnd(&mainWnd);
    }
    void TearDown() override { AfxSetMainWnd(nullptr); }

    void CreateToolbar(int width, std::function<void(CTestToolbar&)> fill)
    {
        toolbar.fill = std::move(fill);
        ASSERT_TRUE(toolbar.Create(QString(), QString(), WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                                   CRect(0, 0, width, 56), &mainWnd, 100));
    }
    CRect PlaceOf(std::size_t index) const
    {
        CRect rect;
        toolbar.GetItems()[index].window->GetWindowRect(&rect);
        toolbar.ScreenToClient(&rect);
        return rect;
    }
    bool Shown(std::size_t index) const { return toolbar.GetItems()[index].window->IsWindowVisible(); }

    ScopedResourceModule resources;
    CMainWindow mainWnd;
    CTestToolbar toolbar;
};
} // namespace

TEST_F(Toolbar, RowsPlaceLeftItemsFromTheLeftAndRightItemsAgainstTheRightEdge)
{
    CWnd* field = nullptr;
    CreateToolbar(400,
                  [&](CTestToolbar& t)
                  {
                      t.AddButton(Square, BoldId, 0, 0, 0, 0);
                      t.Append(CToolbarItem{0, 0, 0, nullptr, 0, 0, 0, 0});
                      t.AddButton(Narrow, ItalicId, 0, 0, 0, 0);
                      t.Append(CToolbarItem{0, 1, 0, nullptr, 0, 0, 0, 0});
                      t.AddButton(Narrow, 0, 0, 0, 0, 1);
                      t.AddButton(Wide, HelpId, 0, 0, 0, 1);
                      // A field in row 1 stretched to the right margin, two pixels down.
                      auto edit = std::make_unique<CWnd>();
                      edit->Create(QString(), QString(), WS_CHILD, CRect(0, 0, 200, 120), &t, 50000);
                      field = edit.get();
                      t.Append(CToolbarItem{0, 0, 1, std::move(edit), 0, 20, 0, 2});
                  });
    struct Case
    {
        std::size_t index;
        CRect place;
    };
    const Case cases[] = {
        {0, CRect(5, 1, 29, 25)},
        {2, CRect(42, 1, 54, 25)},
        // Right group: separator 10, then 12 and 36 with a gap before each: 64 wide.
        {4, CRect(341, 1, 353, 25)},
        {5, CRect(356, 1, 392, 25)},
        {6, CRect(5, 34, 395, 54)},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.index);
        EXPECT_EQ(PlaceOf(c.index), c.place);
        EXPECT_TRUE(Shown(c.index));
    }
    EXPECT_EQ(toolbar.CalcHeight(), 56);
    EXPECT_NE(field, nullptr);
}

TEST_F(Toolbar, RightGroupWiderThanTheFreeSpaceStartsWhereTheLeftItemsEnd)
{
    CreateToolbar(100,
                  [](CTestToolbar& t)
                  {
                      t.AddButton(Wide, BoldId, 0, 0, 0, 0);
                      t.AddButton(Wide, ItalicId, 0, 0, 0, 0);
                      t.AddButton(Wide, HelpId, 0, 0, 0, 1);
                      t.AddButton(Square, 0, 0, 0, 0, 1);
                  });
    EXPECT_EQ(PlaceOf(1), CRect(44, 1, 80, 25));
    EXPECT_EQ(PlaceOf(2), CRect(83, 1, 119, 25)) << "runs past the client edge";
    EXPECT_EQ(PlaceOf(3), CRect(122, 1, 146, 25));
    EXPECT_EQ(toolbar.CalcHeight(), 25);
}

TEST_F(Toolbar, TextButtonIsAsWideAsIconTextAndAQuarterOfItsBackground)
{
    CKVImageButton* button = nullptr;
    CreateToolbar(400, [&](CTestToolbar& t) { button = t.AddTextButton(IconId, HelpId, "Send", 0, 0, 0); });
    CKVSystemFont font(0, 0);
    const int expected = 20 + font.GetTextExtent(QStringLiteral("Send")).cx + 28 / 4;
    EXPECT_EQ(PlaceOf(0), CRect(5, 1, 5 + expected, 25));
    EXPECT_EQ(button->GetText(), QStringLiteral("Send"));
}

TEST_F(Toolbar, ShowingASetHidesTheOtherAndResizeKeepsItHidden)
{
    CreateToolbar(400,
                  [](CTestToolbar& t)
                  {
                      t.AddButton(Square, BoldId, 0, 0, 0, 0);
                      t.AddSwatchButton(Square, ItalicId);
                      t.AddButton(Square, HelpId, 1, 1, 0, 1);
                  });
    EXPECT_TRUE(Shown(0));
    EXPECT_FALSE(Shown(1));
    EXPECT_FALSE(Shown(2));
    EXPECT_EQ(toolbar.CalcHeight(), 25);

    toolbar.SetEditMode();
    EXPECT_FALSE(Shown(0));
    EXPECT_TRUE(Shown(1));
    EXPECT_EQ(PlaceOf(1), CRect(5, 1, 29, 25));
    EXPECT_EQ(PlaceOf(2), CRect(371, 32, 395, 56));
    EXPECT_EQ(toolbar.CalcHeight(), 56) << "a set with a row-1 item counts two rows";

    toolbar.MoveWindow(0, 0, 300, 56);
    EXPECT_FALSE(Shown(0)) << "resizing lays out the current set only";
    EXPECT_EQ(PlaceOf(2), CRect(271, 32, 295, 56));

    toolbar.m_currentSet = 0;
    toolbar.ShowCurrentSet();
    EXPECT_TRUE(Shown(0));
    EXPECT_FALSE(Shown(1));
    EXPECT_FALSE(Shown(2));
}

TEST_F(Toolbar, IdleUpdateRunsOnTheFirstPassOnlyAndReachesTheButtons)
{
    CKVImageButton* bold = nullptr;
    CKVImageButton* italic = nullptr;
    CKVImageButton* hiddenBold = nullptr;
    CKVImageButton* help = nullptr;
    CreateToolbar(400,
                  [&](CTestToolbar& t)
                  {
                      bold = t.AddButton(Square, BoldId, 0, 0, 1, 0);
                      italic = t.AddButton(Square, ItalicId, 0, 0, 1, 0);
                      hiddenBold = t.AddButton(Square, BoldId, 1, 0, 1, 0);
                      help = t.AddButton(Square, HelpId, 0, 0, 0, 0);
                  });
    mainWnd.states[BoldId] = {true, 1};
    mainWnd.states[ItalicId] = {false, 0};

    mainWnd.SendMessageToDescendants(UM_IDLE, 0, 1);
    EXPECT_TRUE(mainWnd.updates.empty()) << "later passes of an idle period change nothing";
    EXPECT_TRUE(italic->IsWindowEnabled());

    mainWnd.SendMessageToDescendants(UM_IDLE, 0, 0);
    EXPECT_EQ(mainWnd.updates, (std::vector<UINT>{BoldId, ItalicId}))
        << "hidden and unmarked items are left out";
    EXPECT_FALSE(italic->IsWindowEnabled());
    EXPECT_TRUE(bold->IsWindowEnabled());
    EXPECT_TRUE(help->IsWindowEnabled());
    EXPECT_EQ(Grab(*bold).pixel(3, 12), qRgb(0xBF, 0xD3, 0xE8)) << "checked draws the pressed frame";
    EXPECT_EQ(Grab(*italic).pixel(3, 12), qRgb(0xF2, 0xF2, 0xF2)) << "disabled draws the disabled frame";
    EXPECT_TRUE(hiddenBold->IsWindowEnabled());

    mainWnd.states[ItalicId] = {true, 0};
    mainWnd.updates.clear();
    QTest::mouseClick(bold->GetSafeHwnd(), Qt::LeftButton, {}, QPoint(5, 5));
    mainWnd.SendMessageToDescendants(UM_IDLE, 0, 0);
    EXPECT_EQ(mainWnd.updates.size(), 2u);
    EXPECT_TRUE(italic->IsWindowEnabled());
}

TEST_F(Toolbar, ClicksGoToTheMainWindowWithTheCommandId)
{
    CKVImageButton* help = nullptr;
    CKVImageButton* divider = nullptr;
    CreateToolbar(400,
                  [&](CTestToolbar& t)
                  {
                      help = t.AddButton(Wide, HelpId, 0, 0, 0, 1);
                      divider = t.AddButton(Narrow, 0, 0, 0, 0, 1);
                  });
    QTest::mouseClick(help->GetSafeHwnd(), Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseClick(divider->GetSafeHwnd(), Qt::LeftButton, {}, QPoint(3, 10));
    ASSERT_EQ(mainWnd.commands.size(), 2u);
    EXPECT_EQ(mainWnd.commands[0], (std::pair<WPARAM, LPARAM>(HelpId, 0)));
    EXPECT_EQ(mainWnd.commands[1], (std::pair<WPARAM, LPARAM>(0, 0))) << "the divider sends command 0";
}

TEST_F(Toolbar, TooltipsAreTheStringsOfTheCommandIds)
{
    std::vector<CKVImageButton*> buttons;
    CreateToolbar(400,
                  [&](CTestToolbar& t)
                  {
                      for (UINT id : {HelpId, LongTipId, NoTipId, UINT(0)})
                          buttons.push_back(t.AddButton(Square, id, 0, 0, 0, 0));
                  });
    struct Case
    {
        std::size_t button;
        QString tip;
    };
    const Case cases[] = {
        {0, QStringLiteral("Help")},
        {1, QString(79, QLatin1Char('x'))},
        {2, QString()},
        {3, QString()},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.button);
        EXPECT_EQ(ToolTipAt(buttons[c.button]->GetSafeHwnd(), QPoint(5, 5)), c.tip);
    }
}

TEST_F(Toolbar, RendersBothRowsOfTheEditSet)
{
    CreateToolbar(520,
                  [](CTestToolbar& t)
                  {
                      t.AddTextButton(IconId, ID_LAYOUT_SAVE, QStringLiteral("Save"), 1, 0, 0);
                      t.AddTextButton(IconId, ID_LAYOUT_CANCEL, QStringLiteral("Cancel"), 1, 0, 0);
                      t.AddButton(Square, BoldId, 1, 0, 1, 0);
                      t.AddButton(Square, ItalicId, 1, 0, 1, 0);
                      CKVImageButton* swatch = t.AddSwatchButton(Square, ID_TEXT_COLOR);
                      swatch->m_swatchColor = RGB(0xC0, 0x20, 0x20);
                      t.AddTextButton(IconId, ID_SPAM_CHECK, QStringLiteral("Spam Check"), 1, 1, 0);
                      t.AddButton(Narrow, 0, 1, 0, 0, 1);
                      t.AddButton(Wide, HelpId, 1, 0, 0, 1);
                      t.AddButton(Square, ID_FORMAT_STYLES, 1, 1, 0, 0);
                      t.AddButton(Square, ID_ALIGN_LEFT, 1, 1, 0, 0);
                      t.AddButton(Square, ID_ALIGN_CENTER, 1, 1, 0, 0);
                  });
    toolbar.SetEditMode();
    toolbar.MoveWindow(0, 0, 520, toolbar.CalcHeight());
    mainWnd.states[BoldId] = {true, 1};
    mainWnd.states[ItalicId] = {false, 0};
    mainWnd.SendMessageToDescendants(UM_IDLE, 0, 0);
    const QImage image = Grab(toolbar);
    EXPECT_EQ(image.size(), QSize(520, 56));
    EXPECT_EQ(image.pixel(200, 29), qRgb(0xE1, 0xE3, 0xE6)) << "background";
    EXPECT_EQ(image.pixel(200, 28), qRgb(0xA9, 0xAA, 0xAD)) << "the line under the first row";
    EXPECT_EQ(image.pixel(519, 28), qRgb(0xE1, 0xE3, 0xE6)) << "the line leaves out its end point";
    QDir().mkpath(QStringLiteral(KV_ARTIFACT_DIR));
    image.save(QStringLiteral(KV_ARTIFACT_DIR "/toolbar-edit-set.png"));
}

TEST_F(Toolbar, AnsiTooltipTextIsInTheAnsiCodePageCutTo79Bytes)
{
    resources.AddFile(QStringLiteral("strings/more.txt"),
                      QStringLiteral("32792\tCaf\u00e9 %1\n").arg(QString(100, QLatin1Char('y'))).toUtf8());
    ASSERT_TRUE(resources.Load());
    CKVImageButton* button = nullptr;
    CreateToolbar(400, [&](CTestToolbar& t) { button = t.AddButton(Square, 32792, 0, 0, 0, 0); });
    TOOLTIPTEXTA byWindow;
    byWindow.hdr = {&toolbar, UINT_PTR(button), TTN_NEEDTEXTA};
    byWindow.uFlags = TTF_IDISHWND;
    toolbar.SendMessage(WM_NOTIFY, 0, LPARAM(&byWindow));
    const QByteArray text(byWindow.szText);
    EXPECT_EQ(text.size(), 79);
    EXPECT_TRUE(text.startsWith("Caf\xE9 yyy"));

    TOOLTIPTEXTA byId;
    byId.hdr = {&toolbar, HelpId, TTN_NEEDTEXTA};
    toolbar.SendMessage(WM_NOTIFY, 0, LPARAM(&byId));
    EXPECT_EQ(QByteArray(byId.szText), QByteArray("Help"));
}

TEST_F(Toolbar, RealIdlePassesAfterAClickUpdateOnceThenRest)
{
    CKVImageButton* bold = nullptr;
    CKVImageButton* italic = nullptr;
    CreateToolbar(400,
                  [&](CTestToolbar& t)
                  {
                      bold = t.AddButton(Square, BoldId, 0, 0, 1, 0);
                      italic = t.AddButton(Square, ItalicId, 0, 0, 1, 0);
                  });
    mainWnd.states[BoldId] = {true, 1};
    mainWnd.states[ItalicId] = {false, 0};
    QEventLoop loop;
    std::vector<std::size_t> updatesPerPass;
    CIdleLoop idle(
        [&](long count)
        {
            const std::size_t before = mainWnd.updates.size();
            const bool more = CIdleLoop::SendIdleToMainWindow(count);
            updatesPerPass.push_back(mainWnd.updates.size() - before);
            if (!more)
                loop.quit();
            return more;
        });
    auto runIdle = [&]
    {
        QTimer::singleShot(5000, &loop, &QEventLoop::quit);
        loop.exec();
    };
    runIdle();
    EXPECT_EQ(updatesPerPass, (std::vector<std::size_t>{2, 0})) << "the first pass updates, the second rests";
    EXPECT_FALSE(italic->IsWindowEnabled());

    // The click clears the check; the next idle period puts it back.
    mainWnd.states[ItalicId] = {true, 0};
    QTest::mouseClick(bold->GetSafeHwnd(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(mainWnd.commands.size(), 1u);
    runIdle();
    EXPECT_EQ(updatesPerPass, (std::vector<std::size_t>{2, 0, 2, 0}));
    EXPECT_TRUE(italic->IsWindowEnabled());
    QTest::mouseMove(mainWnd.GetSafeHwnd(), QPoint(500, 150));
    QTRY_COMPARE_WITH_TIMEOUT(Grab(*bold).pixel(3, 12), qRgb(0xBF, 0xD3, 0xE8), 5000);
}
