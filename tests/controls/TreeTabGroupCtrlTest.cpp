#include "controls/TreeTabGroupCtrl.h"
#include "ControlArtifacts.h"

#include <QFile>
#include <QPainter>
#include <gtest/gtest.h>

namespace
{
constexpr UINT HeaderImage = 900;
constexpr UINT Icon = 901;

// The images a panel draws, from the program's own set, plus a header and an icon of the test's.
class PanelImages : public ScopedResourceModule
{
public:
    PanelImages()
    {
        for (const char* id : {"255", "281", "287", "247", "291", "293", "295"})
        {
            QFile file(QStringLiteral(":/images/%1.png").arg(QLatin1String(id)));
            if (file.open(QIODevice::ReadOnly))
                AddFile(QStringLiteral("images/%1.png").arg(QLatin1String(id)), file.readAll());
        }
        QImage header(215, 30, QImage::Format_ARGB32);
        header.fill(QColor(0x4A, 0x50, 0x5C));
        QPainter painter(&header);
        painter.fillRect(0, 28, 215, 2, QColor(0x2C, 0x30, 0x38));
        painter.setPen(Qt::white);
        painter.drawText(QRect(10, 0, 200, 28), Qt::AlignVCenter, QStringLiteral("Newsletters"));
        painter.end();
        AddImage(HeaderImage, header, "PNG");
        QImage icon(24, 96, QImage::Format_ARGB32);
        icon.fill(Qt::transparent);
        QPainter iconPainter(&icon);
        for (int frame = 0; frame < 4; ++frame)
            iconPainter.fillRect(7, frame * 24 + 7, 10, 10, QColor(0xF2, 0xA9, 0x3B));
        iconPainter.end();
        AddImage(Icon, icon, "PNG");
        // The upper panel's command has a string, the lower panel's has none.
        AddFile(QStringLiteral("strings/panels.txt"), "700\tCreate a new newsletter\n");
    }
};

// The navigation pane: holds the group and records what reaches it.
class CPane : public CWnd
{
public:
    std::vector<std::pair<UINT, WPARAM>> notes;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == CKVTreeTabCtrl::NotifyGripPressed || message == CKVTreeCtrl::NotifyLeftDown ||
            message == WM_COMMAND)
            notes.emplace_back(message, wParam);
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class TreeTabs : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(images.Load());
        ASSERT_TRUE(pane.Create(QString(), QString(), WS_VISIBLE, CRect(0, 0, 300, 600), nullptr, 0));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(pane.GetSafeHwnd()));
        group = new CTreeTabGroupCtrl;
        ASSERT_TRUE(group->Create(&pane));
        for (int i = 0; i < 2; ++i)
        {
            auto* panel = new CKVTreeTabCtrl;
            ASSERT_TRUE(panel->Create(CRect(0, 0, 200, 200), 50 + UINT(i), group, HeaderImage));
            panel->AddTabButton(700 + UINT(i), Icon, QStringLiteral("New newsletter"), &pane);
            group->m_panels.push_back(panel);
            panel->GetTree().m_notifyWnd = &pane;
            auto* item = new CKVTreeItem(QStringLiteral("Spring offers"), 0, 2, 0);
            panel->GetTree().m_root.m_children.push_back(item);
            panel->GetTree().m_root.m_children.push_back(new CKVTreeItem(QStringLiteral("Summer"), 1, 0, 0));
            panel->GetTree().UpdateScrollRange();
        }
        group->MoveWindow(0, 0, 280, 600);
        upper = group->m_panels[0];
        lower = group->m_panels[1];
    }
    void TearDown() override { delete group; }

    static CRect Geometry(CWnd* wnd) { return CRect::FromQRect(wnd->GetSafeHwnd()->geometry()); }
    static int Height(CWnd* wnd) { return wnd->GetSafeHwnd()->height(); }
    QPoint GripPoint(CKVTreeTabCtrl* panel)
    {
        const CRect grip = panel->GetGripRect();
        return QPoint(grip.left + 10, grip.top + 1);
    }
    // Presses the grip, moves the pointer by dy on the group and, unless told, releases.
    void DragGrip(CKVTreeTabCtrl* panel, int dy, bool release = true)
    {
        const QPoint press = GripPoint(panel);
        QTest::mousePress(panel->GetSafeHwnd(), Qt::LeftButton, {}, press);
        const QPoint inGroup = panel->GetSafeHwnd()->mapTo(group->GetSafeHwnd(), press) + QPoint(0, dy);
        QTest::mouseMove(group->GetSafeHwnd(), inGroup);
        if (release)
            QTest::mouseRelease(group->GetSafeHwnd(), Qt::LeftButton, {}, inGroup);
    }

    PanelImages images;
    CPane pane;
    CTreeTabGroupCtrl* group = nullptr;
    CKVTreeTabCtrl* upper = nullptr;
    CKVTreeTabCtrl* lower = nullptr;
};
} // namespace

TEST_F(TreeTabs, PanelsStackAndPlaceTheirButtonsAndTree)
{
    EXPECT_EQ(Geometry(upper), CRect(20, 40, 280, 240));
    EXPECT_EQ(Geometry(lower), CRect(20, 244, 280, 444));
    // Header 30, one button of 24 + 1, the tree below down to the footer of 23.
    EXPECT_EQ(Geometry(upper->GetButton(0)), CRect(4, 31, 260, 55));
    EXPECT_EQ(Geometry(&upper->GetTree()), CRect(4, 56, 260, 56 + 200 - 23 - 55 - 2));
    EXPECT_EQ(upper->GetMinHeight(), 30 + 25 + 2 * 19 + 1 + 2 + 23);
    EXPECT_EQ(upper->GetGripRect(), CRect(103, 200 - 11 - 4, 153, 200 - 11));

    const QImage image = Grab(*upper);
    EXPECT_EQ(image.pixel(150, 10), qRgb(0x4A, 0x50, 0x5C)) << "the header, its last column repeated";
    EXPECT_EQ(image.pixel(2, 100), qRgb(0x3E, 0x43, 0x4D)) << "the inner colour left of the tree";
    SaveControlArtifact(*group, "tree-tabs.png");
}

TEST_F(TreeTabs, PressesReachTheirOwnReceivers)
{
    // As the desktop delivers them: to the window under the pointer.
    const auto click = [](QWidget* window, QPoint point)
    {
        QWidget* target = window->childAt(point) ? window->childAt(point) : window;
        QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(window, point));
    };
    click(upper->GetSafeHwnd(), QPoint(150, 56 + 9));
    click(upper->GetSafeHwnd(), QPoint(20, 40));
    click(upper->GetSafeHwnd(), QPoint(2, 190));
    ASSERT_EQ(pane.notes.size(), 2u) << "a press outside the grip sends nothing";
    EXPECT_EQ(pane.notes[0], std::make_pair(CKVTreeCtrl::NotifyLeftDown, WPARAM(50)));
    EXPECT_EQ(pane.notes[1], std::make_pair(UINT(WM_COMMAND), WPARAM(700)));

    pane.notes.clear();
    upper->SetFocus();
    QTest::mousePress(lower->GetSafeHwnd(), Qt::LeftButton, {}, GripPoint(lower));
    EXPECT_TRUE(group->IsResizing());
    QTest::mouseRelease(group->GetSafeHwnd(), Qt::LeftButton, {}, QPoint(50, 400));
    EXPECT_FALSE(group->IsResizing());
    EXPECT_TRUE(pane.notes.empty()) << "the grip reports to the group, its parent";
}

TEST_F(TreeTabs, ButtonsShowTheStringOfTheirCommandAsTooltip)
{
    // A row with a record shows its own text, not the panel's.
    int record = 0;
    upper->GetTree().m_root.m_children[0]->m_data = &record;
    struct Case
    {
        CKVTreeTabCtrl* panel;
        QPoint point;
        QString tip;
    };
    const Case cases[] = {
        {upper, QPoint(150, 31 + 12), QStringLiteral("Create a new newsletter")},
        {lower, QPoint(150, 31 + 12), QString()},
        {upper, QPoint(150, 56 + 9), QStringLiteral("Spring offers")},
        {upper, QPoint(150, 10), QString()},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.tip.toStdString());
        EXPECT_EQ(ToolTipAt(c.panel->GetSafeHwnd(), c.point), c.tip);
    }
}

TEST_F(TreeTabs, GripDragStopsAtTheFreeSpaceAndTheMinimum)
{
    DragGrip(upper, 60);
    EXPECT_EQ(Height(upper), 260);
    EXPECT_EQ(Geometry(lower).top, 40 + 260 + 4) << "the panels below move down";

    DragGrip(upper, 500);
    EXPECT_EQ(Height(upper), group->GetFreeHeight(upper));
    EXPECT_EQ(Height(upper), 600 - 60 - (200 + 4));

    DragGrip(lower, -500);
    EXPECT_EQ(Height(lower), lower->GetMinHeight());
}

TEST_F(TreeTabs, ShrinkingTakesFromTheLowerPanelFirstAndRegrowsTheUpperFirst)
{
    const int minimum = upper->GetMinHeight();
    // 600 - 60 - 2 * 204 = 132 to spare; 132 + 60 too little shrinks only the lower panel.
    group->MoveWindow(0, 0, 280, 600 - 132 - 60);
    EXPECT_EQ(Height(upper), 200);
    EXPECT_EQ(Height(lower), 140);
    group->MoveWindow(0, 0, 280, 600 - 132 - (200 - minimum) - 40);
    EXPECT_EQ(Height(lower), minimum);
    EXPECT_EQ(Height(upper), 160);

    group->MoveWindow(0, 0, 280, 600 - 132 - (200 - minimum) - 10);
    EXPECT_EQ(Height(upper), 190) << "the upper panel regrows first";
    EXPECT_EQ(Height(lower), minimum);
    group->MoveWindow(0, 0, 280, 700);
    EXPECT_EQ(Height(upper), 200);
    EXPECT_EQ(Height(lower), 200) << "both back to the heights they had";
    EXPECT_EQ(Geometry(lower).top, 244);
}

TEST_F(TreeTabs, ACompletedDragIsTheHeightToKeep)
{
    group->MoveWindow(0, 0, 280, 600 - 132 - 20);
    EXPECT_EQ(Height(lower), 180);
    DragGrip(lower, -40);
    EXPECT_EQ(Height(lower), 140);
    EXPECT_EQ(lower->m_rememberedHeight, -1);
    group->MoveWindow(0, 0, 280, 600 - 132 - 20 - 100);
    group->MoveWindow(0, 0, 280, 700);
    EXPECT_EQ(Height(lower), 140) << "regrows to the dragged height, not the older one";
}

TEST_F(TreeTabs, LosingTheCaptureMidDragPutsThePanelBack)
{
    DragGrip(upper, 50, false);
    EXPECT_EQ(Height(upper), 250);
    CWnd other;
    ASSERT_TRUE(other.Create(QString(), QString(), WS_CHILD | WS_VISIBLE, CRect(0, 0, 5, 5), &pane, 9));
    other.SetCapture();
    EXPECT_FALSE(group->IsResizing());
    EXPECT_EQ(Height(upper), 200);
    EXPECT_EQ(Geometry(lower).top, 244);
    CWnd::ReleaseCapture();

    DragGrip(upper, 30, false);
    group->SendMessage(WM_CANCELMODE);
    EXPECT_EQ(Height(upper), 200);
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
}
