#include "dialogs/DlgFontSelect.h"
#include "DialogTestSupport.h"
#include "dialogs/FontFamilyList.h"
#include "res/dialogs/FontSelect.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>

using namespace DialogTest;

namespace
{
constexpr int IdAvailable = IDC_AVAILABLE;
constexpr int IdSelected = IDC_SELECTED;
constexpr int IdCustomName = IDC_CUSTOM_NAME;
constexpr int IdGeneric = IDC_GENERIC;
constexpr int IdAddAvailable = IDC_ADD_AVAILABLE;
constexpr int IdAddCustom = IDC_ADD_CUSTOM;
constexpr int IdUp = IDC_UP;
constexpr int IdDelete = IDC_DELETE;

QStringList Rows(QListWidget* list)
{
    QStringList rows;
    for (int i = 0; i < list->count(); ++i)
        rows << list->item(i)->text();
    return rows;
}

void ClickRow(QListWidget* list, int row, bool twice = false)
{
    const QPoint at = list->visualItemRect(list->item(row)).center();
    SendMouse(list->viewport(), QEvent::MouseButtonPress, at);
    SendMouse(list->viewport(), QEvent::MouseButtonRelease, at);
    if (!twice)
        return;
    SendMouse(list->viewport(), QEvent::MouseButtonDblClick, at);
    SendMouse(list->viewport(), QEvent::MouseButtonRelease, at);
}

class FontSelect : public ::testing::Test
{
protected:
    QListWidget* List(int id) { return qobject_cast<QListWidget*>(Widget(dialog.GetDlgItem(id))); }
    QComboBox* Generic() { return qobject_cast<QComboBox*>(Widget(dialog.GetDlgItem(IdGeneric))); }
    void Click(int id) { QTest::mouseClick(Widget(dialog.GetDlgItem(id)), Qt::LeftButton); }
    void AddCustom(const QString& name)
    {
        TypeOver(Widget(dialog.GetDlgItem(IdCustomName)), name);
        Click(IdAddCustom);
    }
    INT_PTR Run(const QString& text, std::function<void()> steps)
    {
        dialog.m_fontList = text;
        WhenModal(std::move(steps));
        return dialog.DoModal();
    }

    CDlgFontSelect dialog;
};
} // namespace

TEST(FontFamilyList, ParsesNamesAndTheFirstGenericFamily)
{
    struct Case
    {
        const char* text;
        QStringList names;
        int generic;
    };
    const Case cases[] = {
        {"", {}, 0},
        {"Arial", {"Arial"}, 0},
        {"\"Trebuchet MS\", Arial, sans-serif", {"Trebuchet MS", "Arial"}, 1},
        {"serif, Arial, monospace", {"Arial"}, 2},
        {"SANS-SERIF", {}, 1},
        {"Arial,", {"Arial", ""}, 0},
        {"\"Foo, Bar\", Baz", {"Foo", "Bar", "Baz"}, 0},
        {" Courier New ,cursive", {"Courier New"}, 4},
    };
    for (const Case& c : cases)
    {
        const FontFamilyList list = ParseFontFamilyList(QString::fromUtf8(c.text));
        EXPECT_EQ(list.names, c.names) << c.text;
        EXPECT_EQ(list.genericCode, c.generic) << c.text;
    }
}

TEST(FontFamilyList, WritesNamesQuotedWhereTheyHoldBlanksAndTheGenericLast)
{
    struct Case
    {
        QStringList names;
        int generic;
        const char* text;
    };
    const Case cases[] = {
        {{"Arial", "Times New Roman"}, 2, "Arial,\"Times New Roman\",serif"},
        {{}, 0, ""},
        {{}, 5, "fantasy"},
        {{"Arial", ""}, 0, "Arial,"},
        {{"Serif", "Arial"}, 0, "Arial"},
        {{" Courier New "}, 3, "\"Courier New\",monospace"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WriteFontFamilyList(c.names, c.generic).toStdString(), c.text);
}

TEST_F(FontSelect, OpensOnTheTextAndWritesTheEditedList)
{
    QStringList opened;
    QString openedGeneric;
    EXPECT_EQ(Run(QStringLiteral("\"Trebuchet MS\", Arial, sans-serif, serif"),
                  [&]
                  {
                      opened = Rows(List(IdSelected));
                      openedGeneric = Generic()->currentText();
                      AddCustom(QStringLiteral("  Open Sans "));
                      ClickRow(List(IdSelected), 2);
                      Click(IdUp);
                      ClickRow(List(IdSelected), 0);
                      Click(IdDelete);
                      AddCustom(QStringLiteral("Serif"));
                      AddCustom(QStringLiteral("   "));
                      QTest::keyClick(Generic(), Qt::Key_Down);
                      EXPECT_EQ(Rows(List(IdSelected)), (QStringList{"Open Sans", "Arial", "Serif"}));
                      EXPECT_EQ(List(IdSelected)->currentRow(), 0);
                      Click(IDOK);
                  }),
              IDOK);
    EXPECT_EQ(opened, (QStringList{"Trebuchet MS", "Arial"}));
    EXPECT_EQ(openedGeneric, QStringLiteral("sans-serif"));
    EXPECT_EQ(dialog.m_fontList, QStringLiteral("\"Open Sans\",Arial,serif"));
}

TEST_F(FontSelect, AGenericFamilyTypedIntoTheBoxIsNotWritten)
{
    EXPECT_EQ(Run(QStringLiteral("Arial, serif"),
                  [&]
                  {
                      TypeOver(Generic()->lineEdit(), QStringLiteral("monospace"));
                      Click(IDOK);
                  }),
              IDOK);
    EXPECT_EQ(dialog.m_fontList, QStringLiteral("Arial"));
}

TEST_F(FontSelect, AnInstalledFontIsAddedByDoubleClickAndCancelKeepsTheText)
{
    QString added;
    QStringList rows;
    EXPECT_EQ(Run(QStringLiteral("Arial"),
                  [&]
                  {
                      QListWidget* available = List(IdAvailable);
                      // Whatever fonts this machine has: the first one, if any.
                      if (available->count() > 0)
                      {
                          added = available->item(0)->text().trimmed();
                          ClickRow(available, 0, true);
                          Click(IdAddAvailable);
                      }
                      rows = Rows(List(IdSelected));
                      SaveArtifact(dialog, QStringLiteral("dialog_203.png"));
                      Click(IDCANCEL);
                  }),
              IDCANCEL);
    const QStringList expected = added.isEmpty() ? QStringList{"Arial"} : QStringList{"Arial", added, added};
    EXPECT_EQ(rows, expected);
    EXPECT_EQ(dialog.m_fontList, QStringLiteral("Arial"));
}
