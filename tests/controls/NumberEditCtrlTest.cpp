#include "controls/NumberEditCtrl.h"
#include "ControlTestSupport.h"
#include "platform/ui/Dialog.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <gtest/gtest.h>

namespace
{
constexpr UINT DialogId = 950;
constexpr int EditId = 1000;

const char* const DialogJson = R"({
  "caption": "Size", "size": [120, 40], "style": ["popup", "caption"], "font": ["MS Shell Dlg", 8],
  "controls": [{"id": 1000, "class": "edit", "rect": [7, 7, 60, 14], "style": ["tabstop"]}]
})";

class CNumberDialog : public CDialog
{
public:
    CNumberDialog(int minimum, int maximum, int value)
        : CDialog(DialogId), m_minimum(minimum), m_maximum(maximum), m_value(value)
    {
    }
    CNumberEditCtrl m_number;

protected:
    void DoDataExchange(CDataExchange* dx) override { DDX_Control(dx, EditId, m_number); }
    bool OnInitDialog() override
    {
        CDialog::OnInitDialog();
        m_number.SetupSpin(m_minimum, m_maximum);
        m_number.SetValue(m_value);
        return true;
    }

private:
    int m_minimum;
    int m_maximum;
    int m_value;
};

class NumberEdit : public ::testing::Test
{
protected:
    void Open(int minimum, int maximum, int value)
    {
        dialog = std::make_unique<CNumberDialog>(minimum, maximum, value);
        ASSERT_TRUE(dialog->Create(DialogId));
        dialog->ShowWindow(SW_SHOW);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog->GetSafeHwnd()));
    }
    QLineEdit* Edit() { return qobject_cast<QLineEdit*>(dialog->m_number.GetSafeHwnd()); }
    CWnd* Spin() { return dialog->GetDlgItem(int(CNumberEditCtrl::SpinId)); }
    void Type(const QString& keys)
    {
        QTest::keyClicks(Edit(), keys);
        QCoreApplication::processEvents();
    }
    void Paste(const QString& text)
    {
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(Edit(), Qt::Key_V, Qt::ControlModifier);
        QCoreApplication::processEvents();
    }
    void Select(int start, int length) { Edit()->setSelection(start, length); }

    ScopedResourceModule resources;
    std::unique_ptr<CNumberDialog> dialog;

    void SetUp() override
    {
        resources.AddFile(QStringLiteral("dialogs/950.json"), DialogJson);
        ASSERT_TRUE(resources.Load());
    }
};
} // namespace

TEST_F(NumberEdit, TypedCharactersOutsideTheNumberAreDropped)
{
    Open(0, 255, 12);
    Edit()->end(false);
    Type(QStringLiteral("a-x3"));
    EXPECT_EQ(Edit()->text(), QStringLiteral("123"));
    dialog->m_number.m_hexadecimal = true;
    Type(QStringLiteral("aFg"));
    EXPECT_EQ(Edit()->text(), QStringLiteral("123aF"));
    EXPECT_EQ(dialog->m_number.GetValue(), 123) << "the value is read as decimal in any mode";
}

TEST_F(NumberEdit, MinusIsTakenOnlyAtTheStartOfASignedRange)
{
    Open(-10, 10, 5);
    Edit()->setCursorPosition(1);
    Type(QStringLiteral("-"));
    EXPECT_EQ(Edit()->text(), QStringLiteral("5"));
    Edit()->setCursorPosition(0);
    Type(QStringLiteral("-"));
    EXPECT_EQ(Edit()->text(), QStringLiteral("-5"));
    EXPECT_EQ(dialog->m_number.GetValue(), -5);

    Open(0, 10, 5);
    Edit()->setCursorPosition(0);
    Type(QStringLiteral("-"));
    EXPECT_EQ(Edit()->text(), QStringLiteral("5"));
}

TEST_F(NumberEdit, RefusedPasteBringsBackTheTextAndSelection)
{
    Open(0, 1000, 45);
    Select(0, 1);
    Paste(QStringLiteral("12x"));
    EXPECT_EQ(Edit()->text(), QStringLiteral("45"));

    Edit()->end(false);
    Paste(QStringLiteral("6"));
    EXPECT_EQ(Edit()->text(), QStringLiteral("456")) << "Ctrl+V itself is never refused";
    Select(0, 3);
    Paste(QStringLiteral("+7"));
    EXPECT_EQ(Edit()->text(), QStringLiteral("+7")) << "a pasted plus sign stays";
    EXPECT_EQ(dialog->m_number.GetValue(), 7);
}

TEST_F(NumberEdit, RestoredTextKeepsTheSelectionOfTheRefusedChange)
{
    Open(0, 100000, 12345);
    Select(1, 2);
    Paste(QStringLiteral("x"));
    EXPECT_EQ(Edit()->text(), QStringLiteral("12345"));
    int start = -1;
    int end = -1;
    dialog->m_number.GetSel(start, end);
    EXPECT_EQ(start, 2);
    EXPECT_EQ(end, 2) << "the caret stays where the refused paste left it";
}

TEST_F(NumberEdit, EmptyFieldBecomesASelectedZero)
{
    Open(0, 100, 42);
    Edit()->selectAll();
    QTest::keyClick(Edit(), Qt::Key_Backspace);
    QCoreApplication::processEvents();
    EXPECT_EQ(Edit()->text(), QStringLiteral("0"));
    EXPECT_EQ(Edit()->selectedText(), QStringLiteral("0"));
    Type(QStringLiteral("7"));
    EXPECT_EQ(Edit()->text(), QStringLiteral("7")) << "the next digit replaces the zero";
}

TEST_F(NumberEdit, BackspaceIsNeverRefused)
{
    Open(0, 100, 42);
    Edit()->end(false);
    QTest::keyClick(Edit(), Qt::Key_Backspace);
    EXPECT_EQ(Edit()->text(), QStringLiteral("4"));
}

TEST_F(NumberEdit, SetValueClampsToTheRange)
{
    Open(0, 100, 500);
    EXPECT_EQ(Edit()->text(), QStringLiteral("100"));
    dialog->m_number.SetValue(-3);
    EXPECT_EQ(Edit()->text(), QStringLiteral("0"));
}

TEST_F(NumberEdit, GetValueReadsTheLeadingNumber)
{
    Open(-100, 100, 0);
    const std::pair<QString, int> cases[] = {
        {"17", 17},
        {"-8", -8},
        {"+9", 9},
        {"1-2", 1},
        {"-", 0},
        {"99999999999", 2147483647},
        {"-99999999999", -2147483647 - 1},
    };
    for (const auto& [text, value] : cases)
    {
        dialog->m_number.SetWindowText(text);
        EXPECT_EQ(dialog->m_number.GetValue(), value) << text.toStdString();
    }
}

TEST_F(NumberEdit, SpinSitsAtTheRightEdgeAndFollowsTheField)
{
    Open(0, 100, 5);
    ASSERT_NE(Spin(), nullptr);
    QWidget* spin = Spin()->GetSafeHwnd();
    EXPECT_EQ(spin->geometry().left(), Edit()->geometry().right() + 1);
    EXPECT_EQ(spin->height(), Edit()->height());
    dialog->m_number.EnableWindow(false);
    EXPECT_FALSE(spin->isEnabled());
    dialog->m_number.EnableWindow(true);
    EXPECT_TRUE(spin->isEnabled());
    dialog->m_number.ShowWindow(SW_HIDE);
    EXPECT_FALSE(spin->isVisible());
    dialog->m_number.ShowWindow(SW_SHOW);
    EXPECT_TRUE(spin->isVisible());
}

TEST_F(NumberEdit, SpinAndArrowKeysStepWithinTheRange)
{
    Open(0, 10, 9);
    QWidget* spin = Spin()->GetSafeHwnd();
    QTest::mouseClick(spin, Qt::LeftButton, {}, QPoint(spin->width() / 2, 2));
    EXPECT_EQ(Edit()->text(), QStringLiteral("10"));
    QTest::mouseClick(spin, Qt::LeftButton, {}, QPoint(spin->width() / 2, 2));
    EXPECT_EQ(Edit()->text(), QStringLiteral("10")) << "never beyond the maximum";
    QTest::mouseClick(spin, Qt::LeftButton, {}, QPoint(spin->width() / 2, spin->height() - 2));
    EXPECT_EQ(Edit()->text(), QStringLiteral("9"));
    QTest::keyClick(Edit(), Qt::Key_Down);
    EXPECT_EQ(Edit()->text(), QStringLiteral("8"));
    QTest::keyClick(Edit(), Qt::Key_Up);
    EXPECT_EQ(Edit()->text(), QStringLiteral("9"));
}

TEST(NumberEditCreate, OwnWindowStartsAtTheMinimum)
{
    CCommandRecorder parent;
    ASSERT_TRUE(parent.CreateShown(200, 60));
    CNumberEditCtrl edit;
    ASSERT_TRUE(edit.Create(QString(), QString(), WS_CHILD | WS_VISIBLE, CRect(5, 5, 80, 25), &parent, 7));
    EXPECT_EQ(edit.GetWindowText(), QStringLiteral("0"));
    QTest::keyClicks(edit.GetSafeHwnd(), QStringLiteral("x"));
    EXPECT_EQ(edit.GetWindowText(), QStringLiteral("0"));
}
