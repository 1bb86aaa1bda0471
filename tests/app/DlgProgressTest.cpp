#include "controls/DlgProgress.h"
#include "controls/ControlTestSupport.h"
#include "res/dialogs/Progress.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <gtest/gtest.h>

namespace
{
constexpr int StatusId = IDC_STATUS;
constexpr int BarId = IDC_PROGRESS;

class ProgressDialog : public ::testing::Test
{
protected:
    void Open(CWnd* receiver)
    {
        dialog = std::make_unique<CDlgProgress>(receiver, &owner);
        dialog->m_caption = QStringLiteral("Updating the mailing list");
        ASSERT_TRUE(dialog->Create(CDlgProgress::IDD, &owner));
        dialog->ShowWindow(SW_SHOW);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog->GetSafeHwnd()));
    }
    QProgressBar* Bar() { return qobject_cast<QProgressBar*>(dialog->GetDlgItem(BarId)->GetSafeHwnd()); }
    QPushButton* Abort()
    {
        return qobject_cast<QPushButton*>(dialog->GetDlgItem(int(CDlgProgress::IDC_ABORT))->GetSafeHwnd());
    }
    std::size_t AbortCommands() const
    {
        return std::size_t(std::count(receiver.commands.begin(), receiver.commands.end(),
                                      std::pair<WPARAM, LPARAM>(CDlgProgress::IDC_ABORT, 0)));
    }

    CCommandRecorder owner;
    CCommandRecorder receiver;
    std::unique_ptr<CDlgProgress> dialog;

    void SetUp() override
    {
        ASSERT_TRUE(owner.CreateShown(400, 300));
        ASSERT_TRUE(receiver.CreateShown(10, 10));
    }
};
} // namespace

TEST_F(ProgressDialog, ShowsCaptionStatusAndPosition)
{
    Open(&receiver);
    EXPECT_EQ(dialog->GetWindowText(), QStringLiteral("Updating the mailing list"));
    dialog->m_status = QStringLiteral("Reading recipients 3 of 40");
    dialog->UpdateData(false);
    EXPECT_EQ(dialog->GetDlgItem(StatusId)->GetWindowText(), QStringLiteral("Reading recipients 3 of 40"));
    dialog->SetProgressRange(40);
    dialog->SetProgressPos(3);
    EXPECT_EQ(Bar()->maximum(), 40);
    EXPECT_EQ(Bar()->value(), 3);
    QDir().mkpath(QStringLiteral(KV_ARTIFACT_DIR));
    dialog->GetSafeHwnd()->grab().save(QStringLiteral(KV_ARTIFACT_DIR "/progress.png"));
}

TEST_F(ProgressDialog, RangesAbove16BitsAreShownTruly)
{
    Open(&receiver);
    dialog->SetProgressRange(70000);
    dialog->SetProgressPos(35000);
    EXPECT_EQ(Bar()->maximum(), 70000);
    EXPECT_EQ(Bar()->value(), 35000) << "half way";
    dialog->SetProgressRange(65535);
    EXPECT_EQ(Bar()->maximum(), 65535);
}

TEST_F(ProgressDialog, EachAbortPostsOneCommandAndTheDialogStays)
{
    Open(&receiver);
    QTest::mouseClick(Abort(), Qt::LeftButton);
    QTest::mouseClick(Abort(), Qt::LeftButton);
    EXPECT_EQ(AbortCommands(), 0u) << "posted, not sent: the operation finds them in the queue";
    QCoreApplication::processEvents();
    EXPECT_EQ(AbortCommands(), 2u);
    EXPECT_TRUE(dialog->IsWindowVisible());
}

TEST_F(ProgressDialog, EnterAbortsEscapeDoesNotHideIt)
{
    Open(&receiver);
    QTest::keyClick(dialog->GetSafeHwnd(), Qt::Key_Return);
    QTest::keyClick(dialog->GetSafeHwnd(), Qt::Key_Escape);
    QCoreApplication::processEvents();
    EXPECT_EQ(AbortCommands(), 1u) << "Abort is the default button";
    EXPECT_TRUE(dialog->IsWindowVisible());
}

TEST_F(ProgressDialog, AbortWithoutReceiverDoesNothing)
{
    Open(nullptr);
    QTest::mouseClick(Abort(), Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_TRUE(receiver.commands.empty());
    EXPECT_TRUE(dialog->IsWindowVisible());
}
