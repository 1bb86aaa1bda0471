#include "app/DlgMessageBox.h"
#include "controls/ControlTestSupport.h"
#include "platform/ui/ClientDC.h"
#include "platform/ui/StandardIcons.h"
#include "res/dialogs/MessageBox.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace
{
constexpr int Button1 = IDC_BUTTON1;
constexpr int Button2 = IDC_BUTTON2;
constexpr int Button3 = IDC_BUTTON3;
constexpr int TextMarker = IDC_TEXT;
constexpr int Icon = IDC_ICON;
constexpr int StillOpen = -100;

// Runs a message box and lets the test act on it while it is up; a box still open afterwards
// is ended so that a failing case cannot hang the run.
int RunMessageBox(const QString& text, UINT type, const std::function<void(CDlgMessageBox&)>& act)
{
    CDlgMessageBox box;
    box.m_text = text;
    box.m_type = type;
    QTimer::singleShot(0,
                       [&box, &act]
                       {
                           EXPECT_TRUE(QTest::qWaitForWindowExposed(box.GetSafeHwnd()));
                           act(box);
                           if (box.IsWindowVisible())
                               box.EndDialog(StillOpen);
                       });
    return int(box.DoModal());
}

QPushButton* ButtonOf(CDlgMessageBox& box, int id)
{
    return qobject_cast<QPushButton*>(box.GetDlgItem(id)->GetSafeHwnd());
}

QRect GeometryOf(CDlgMessageBox& box, int id)
{
    return box.GetDlgItem(id)->GetSafeHwnd()->geometry();
}

void PressKey(CDlgMessageBox& box, Qt::Key key)
{
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus && box.GetSafeHwnd()->isAncestorOf(focus) ? focus : box.GetSafeHwnd(), key);
}

void SaveArtifact(CDlgMessageBox& box, const char* name)
{
    QDir().mkpath(QStringLiteral(KV_ARTIFACT_DIR));
    box.GetSafeHwnd()->grab().save(QStringLiteral(KV_ARTIFACT_DIR "/") + QLatin1String(name));
}

struct ButtonSet
{
    UINT type;
    QStringList captions; // first (rightmost), second, third; empty when hidden
    std::vector<int> results;
    int escapeResult; // StillOpen: Escape and the close box do nothing
    int enterResult;  // Enter presses the button with the focus: the first one when the box comes up
};

const ButtonSet ButtonSets[] = {
    {MB_OK, {"OK", "", ""}, {IDOK}, IDOK, IDOK},
    {MB_OKCANCEL, {"Cancel", "OK", ""}, {IDCANCEL, IDOK}, IDCANCEL, IDCANCEL},
    {MB_YESNOCANCEL, {"Cancel", "No", "Yes"}, {IDCANCEL, IDNO, IDYES}, IDCANCEL, IDCANCEL},
    {MB_YESNO, {"No", "Yes", ""}, {IDNO, IDYES}, StillOpen, IDNO},
    {MB_ABORTRETRYIGNORE, {"OK", "", ""}, {IDOK}, IDOK, IDOK},
    {MB_RETRYCANCEL, {"OK", "", ""}, {IDOK}, IDOK, IDOK},
};
} // namespace

TEST(DlgMessageBox, ButtonSetsFollowTheStyle)
{
    for (const ButtonSet& set : ButtonSets)
    {
        SCOPED_TRACE(set.type);
        RunMessageBox(QStringLiteral("Save the changes?"), set.type,
                      [&](CDlgMessageBox& box)
                      {
                          const int ids[] = {Button1, Button2, Button3};
                          for (int i = 0; i < 3; ++i)
                          {
                              QPushButton* button = ButtonOf(box, ids[i]);
                              EXPECT_EQ(button->isVisible(), !set.captions[i].isEmpty()) << i;
                              if (!set.captions[i].isEmpty())
                              {
                                  EXPECT_EQ(button->text(), set.captions[i]) << i;
                              }
                          }
                          EXPECT_LT(ButtonOf(box, Button2)->x(), ButtonOf(box, Button1)->x())
                              << "the first button is rightmost";
                      });
        for (std::size_t i = 0; i < set.results.size(); ++i)
        {
            const int id = i == 0 ? Button1 : (i == 1 ? Button2 : Button3);
            const int result = RunMessageBox(QStringLiteral("Save the changes?"), set.type,
                                             [&](CDlgMessageBox& box)
                                             { QTest::mouseClick(ButtonOf(box, id), Qt::LeftButton); });
            EXPECT_EQ(result, set.results[i]) << "button " << i;
        }
    }
}

TEST(DlgMessageBox, EscapeAndEnterFollowTheStyle)
{
    for (const ButtonSet& set : ButtonSets)
    {
        SCOPED_TRACE(set.type);
        const int escaped = RunMessageBox(QStringLiteral("Really?"), set.type,
                                          [](CDlgMessageBox& box) { PressKey(box, Qt::Key_Escape); });
        EXPECT_EQ(escaped, set.escapeResult);
        const int entered = RunMessageBox(QStringLiteral("Really?"), set.type,
                                          [](CDlgMessageBox& box) { PressKey(box, Qt::Key_Return); });
        EXPECT_EQ(entered, set.enterResult);
        const int closed = RunMessageBox(QStringLiteral("Really?"), set.type,
                                         [](CDlgMessageBox& box) { box.GetSafeHwnd()->close(); });
        EXPECT_EQ(closed, set.escapeResult) << "the close box acts like Escape";
    }
}

TEST(DlgMessageBox, YesNoMustBeAnswered)
{
    const int result = RunMessageBox(QStringLiteral("Delete the recipient?"), MB_YESNO,
                                     [](CDlgMessageBox& box)
                                     {
                                         PressKey(box, Qt::Key_Escape);
                                         box.GetSafeHwnd()->close();
                                         EXPECT_TRUE(box.IsWindowVisible());
                                         PressKey(box, Qt::Key_Tab);
                                         EXPECT_EQ(QApplication::focusWidget(), ButtonOf(box, Button2));
                                         PressKey(box, Qt::Key_Return);
                                     });
    EXPECT_EQ(result, IDYES);
}

TEST(DlgMessageBox, LongWordWidensTheBoxShortWordsOnlyMakeItTaller)
{
    QSize plainSize;
    int plainTextWidth = 0;
    RunMessageBox(QStringLiteral("Done."), MB_OK,
                  [&](CDlgMessageBox& box)
                  {
                      plainSize = box.GetSafeHwnd()->size();
                      plainTextWidth = GeometryOf(box, TextMarker).width();
                  });

    const QString path =
        QStringLiteral("/home/margarethe/Documents/Newsletters/2007/Spring-Campaign-Final.kvnl");
    RunMessageBox(QStringLiteral("The file could not be saved:\n") + path, MB_OK | MB_ICONERROR,
                  [&](CDlgMessageBox& box)
                  {
                      CClientDC dc(&box);
                      dc.SelectObject(box.GetDlgItem(TextMarker)->GetFont());
                      ASSERT_GT(dc.GetTextExtent(path).cx, plainTextWidth) << "the path needs more room";
                      EXPECT_EQ(box.GetSafeHwnd()->width() - plainSize.width(),
                                dc.GetTextExtent(path).cx + 1 - plainTextWidth);
                      EXPECT_EQ(GeometryOf(box, TextMarker).width(), dc.GetTextExtent(path).cx + 1)
                          << "the path fits on one line";
                      EXPECT_GE(GeometryOf(box, Button1).right(), GeometryOf(box, TextMarker).right())
                          << "the buttons move right with the text";
                      SaveArtifact(box, "messagebox-error-long-path.png");
                  });

    QString words;
    for (int i = 0; i < 40; ++i)
        words += QStringLiteral("recipients ");
    RunMessageBox(words, MB_OKCANCEL | MB_ICONEXCLAMATION,
                  [&](CDlgMessageBox& box)
                  {
                      EXPECT_EQ(box.GetSafeHwnd()->width(), plainSize.width());
                      EXPECT_GT(box.GetSafeHwnd()->height(), plainSize.height());
                      const QRect text = GeometryOf(box, TextMarker);
                      EXPECT_GT(GeometryOf(box, Button1).top(), text.bottom())
                          << "the buttons move below the text";
                      EXPECT_GT(GeometryOf(box, Icon).top(), 0);
                      EXPECT_NEAR(GeometryOf(box, Icon).center().y(), text.center().y(), 2)
                          << "the icon centres on the text";
                      SaveArtifact(box, "messagebox-warning-long-text.png");
                  });
}

TEST(DlgMessageBox, IconFollowsTheStyle)
{
    const std::pair<UINT, int> icons[] = {{MB_OK, IDI_ASTERISK},
                                          {MB_ICONERROR, IDI_HAND},
                                          {MB_ICONQUESTION, IDI_QUESTION},
                                          {MB_ICONEXCLAMATION, IDI_EXCLAMATION},
                                          {MB_ICONINFORMATION, IDI_ASTERISK}};
    for (const auto& [type, icon] : icons)
    {
        RunMessageBox(
            QStringLiteral("Note"), type,
            [&](CDlgMessageBox& box)
            {
                const auto* label = qobject_cast<QLabel*>(box.GetDlgItem(Icon)->GetSafeHwnd());
                EXPECT_EQ(label->pixmap().toImage(), LoadStandardIcon(icon).pixmap(32, 32).toImage()) << type;
            });
    }
}

TEST(DlgMessageBox, QuestionArtifact)
{
    const int result =
        RunMessageBox(QStringLiteral("The newsletter \"Spring & Summer\" has changed.\nSave it now?"),
                      MB_YESNOCANCEL | MB_ICONQUESTION,
                      [](CDlgMessageBox& box)
                      {
                          EXPECT_FALSE(box.GetDlgItem(TextMarker)->IsWindowVisible());
                          SaveArtifact(box, "messagebox-question.png");
                          QTest::mouseClick(ButtonOf(box, Button3), Qt::LeftButton);
                      });
    EXPECT_EQ(result, IDYES);
}

TEST(DlgMessageBox, ShownAgainStartsFromItsTemplate)
{
    CDlgMessageBox box;
    box.m_text = QStringLiteral("Really?");
    const auto pressEnter = [&box]
    {
        EXPECT_TRUE(QTest::qWaitForWindowExposed(box.GetSafeHwnd()));
        PressKey(box, Qt::Key_Return);
        if (box.IsWindowVisible())
            box.EndDialog(StillOpen);
    };
    box.m_type = MB_OKCANCEL;
    QTimer::singleShot(0, pressEnter);
    EXPECT_EQ(box.DoModal(), IDCANCEL);
    box.m_type = MB_YESNO;
    LRESULT defaultButton = -1;
    QTimer::singleShot(0,
                       [&]
                       {
                           EXPECT_TRUE(QTest::qWaitForWindowExposed(box.GetSafeHwnd()));
                           defaultButton = box.SendMessage(DM_GETDEFID);
                           box.EndDialog(IDNO);
                       });
    box.DoModal();
    EXPECT_EQ(defaultButton, 0) << "the default button of the first run is gone";
}
