#include "app/ShellTestSupport.h"
#include "ndb/NdbPaletteColor.h"
#include "res/dialogs/Palette.h"

#include <QListWidget>

using namespace ShellTest;

namespace
{
constexpr int IdList = IDC_LIST;
constexpr int IdMoveDown = IDC_MOVE_DOWN;

// Acts in the palette organiser once it shows, then closes it with the button of the caption.
void WithPaletteDialog(const std::function<void(CWnd&)>& act, const QString& closeWith)
{
    auto done = std::make_shared<bool>(false);
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout,
                     [=]
                     {
                         QWidget* modal = QApplication::activeModalWidget();
                         CWnd* dialog = modal ? CWnd::FromHandle(modal) : nullptr;
                         if (*done || !dialog || !dialog->GetDlgItem(IdList))
                             return;
                         *done = true;
                         poll->deleteLater();
                         act(*dialog);
                         for (QPushButton* button : modal->findChildren<QPushButton*>())
                         {
                             if (button->text() == closeWith)
                                 QTest::mouseClick(button, Qt::LeftButton);
                         }
                     });
    poll->start(20);
}
} // namespace

// OK in the palette organiser marks the newsletter changed only when the palette changed, and a
// palette whose colours were only put in another order has changed.
TEST_F(ShellProgram, PaletteOnlyReorderedCountsAsChanged)
{
    ndb::CNdbNewsletter letter(QStringLiteral("June"));
    letter.SetField(ndb::NewsletterId, ndb::CNdbFieldValue(ndb::CNdbBase::CreateGuidString()));
    letter.Palette().AddColor(QStringLiteral("Sea"), QStringLiteral("{A}"), ndb::CNdbRgba(0, 0, 200, 255));
    letter.Palette().AddColor(QStringLiteral("Sand"), QStringLiteral("{B}"),
                              ndb::CNdbRgba(220, 200, 120, 255));
    ASSERT_TRUE(letter.Save(Document("June.kvnl"), QStringLiteral("Kelvora"), 2007, 1));
    CMainWnd& window = StartProgram();
    ASSERT_TRUE(window.OpenNewsletter(Document("June.kvnl")));
    ndb::CNdbNewsletter& open = *m_app->GetContext()->GetCurrentNewsletter();

    WithPaletteDialog([](CWnd&) {}, "OK");
    ASSERT_TRUE(ChooseMenuItem(window, {"&Format", "Color &Palette..."}));
    EXPECT_TRUE(QTest::qWaitFor([] { return !QApplication::activeModalWidget(); }, 10000));
    EXPECT_FALSE(open.IsModified()) << "OK without a change";

    WithPaletteDialog(
        [](CWnd& dialog)
        {
            auto* list = qobject_cast<QListWidget*>(dialog.GetDlgItem(IdList)->GetSafeHwnd());
            list->setCurrentRow(0);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              list->visualItemRect(list->item(0)).center());
            QTest::mouseClick(dialog.GetDlgItem(IdMoveDown)->GetSafeHwnd(), Qt::LeftButton);
        },
        "OK");
    ASSERT_TRUE(ChooseMenuItem(window, {"&Format", "Color &Palette..."}));
    EXPECT_TRUE(QTest::qWaitFor([] { return !QApplication::activeModalWidget(); }, 10000));
    EXPECT_TRUE(open.IsModified());
    EXPECT_TRUE(window.GetWindowText().startsWith("June.kvnl*"));
    ASSERT_EQ(open.Palette().GetColorCount(), 2);
    EXPECT_EQ(open.Palette().GetColorAt(0)->GetName(), "Sand");
}
