#include "platform/ui/DialogTemplate.h"
#include "platform/ui/Button.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/DialogUnits.h"
#include "platform/ui/Edit.h"
#include "platform/ui/FontNames.h"
#include "platform/ui/WinConstants.h"
#include "res/dialogs/ImageImportOptions.h"
#include "res/dialogs/MessageBox.h"

#include <QCoreApplication>
#include <QTest>
#include <cstring>

#include <gtest/gtest.h>

namespace
{
const char* const ValidTemplate = R"({
  "caption": "Progress", "size": [186, 74], "style": ["popup", "caption", "modalframe"],
  "font": ["MS Shell Dlg", 8],
  "controls": [
    {"id": 1193, "class": "static", "text": "Static", "rect": [7, 15, 172, 8]},
    {"id": 1197, "class": "button", "text": "&Abort", "rect": [67, 53, 50, 14], "style": ["default", "tabstop"]},
    {"id": 1200, "class": "edit", "rect": [1, 2, 3, 4], "style": ["hidden"]}
  ]})";
} // namespace

TEST(DialogTemplate, ReadsCaptionSizeFontAndControls)
{
    DialogTemplate dialog;
    ASSERT_TRUE(ParseDialogTemplate(ValidTemplate, &dialog));
    EXPECT_EQ(dialog.caption, QStringLiteral("Progress"));
    EXPECT_EQ(dialog.width, 186);
    EXPECT_EQ(dialog.height, 74);
    EXPECT_EQ(dialog.style, WS_POPUP | WS_CAPTION | DS_MODALFRAME);
    EXPECT_EQ(dialog.fontFace, QStringLiteral("MS Shell Dlg"));
    EXPECT_EQ(dialog.fontPointSize, 8);
    ASSERT_EQ(dialog.items.size(), 3u);
    EXPECT_EQ(dialog.items[1].id, 1197u);
    EXPECT_EQ(dialog.items[1].text, QStringLiteral("&Abort"));
    EXPECT_EQ(dialog.items[1].rect, CRect(67, 53, 117, 67));
    EXPECT_EQ(dialog.items[1].style, WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON | WS_TABSTOP);
    EXPECT_EQ(dialog.items[2].style, WS_CHILD) << "hidden controls are created invisible";
}

TEST(DialogTemplate, RefusesMalformedTemplatesAndKeepsTheOldOne)
{
    const char* const broken[] = {
        "",
        "[1, 2]",
        R"({"size": [10, 10], "font": ["X", 8], "controls": [)",
        R"({"size": [10], "font": ["X", 8]})",
        R"({"size": [10, 10]})",
        R"({"size": [10, 10], "font": ["X", 0]})",
        R"({"size": [-1, 10], "font": ["X", 8]})",
        R"({"size": [10, 10], "font": ["X", 8], "style": ["wobbly"]})",
        R"({"size": [10, 10], "font": ["X", 8], "controls": [{"id": 1, "class": "slider", "rect": [0, 0, 1, 1]}]})",
        R"({"size": [10, 10], "font": ["X", 8], "controls": [{"id": 1, "class": "edit", "rect": [0, 0, 1]}]})",
        R"({"size": [10, 10], "font": ["X", 8], "controls": [{"id": 70000, "class": "edit", "rect": [0, 0, 1, 1]}]})",
        R"({"size": [10, 10], "font": ["X", 8], "controls": [{"id": 1, "class": "edit", "rect": [0, 0, 1.5, 1]}]})",
    };
    DialogTemplate dialog;
    ASSERT_TRUE(ParseDialogTemplate(ValidTemplate, &dialog));
    for (const char* json : broken)
    {
        EXPECT_FALSE(ParseDialogTemplate(json, &dialog)) << json;
        EXPECT_EQ(dialog.caption, QStringLiteral("Progress")) << json;
    }
}

TEST(DialogTemplate, ProgramTemplatesLoadByTheirIds)
{
    DialogTemplate dialog;
    ASSERT_TRUE(LoadDialogTemplate(IDD_MESSAGE_BOX, &dialog));
    EXPECT_EQ(dialog.caption, QStringLiteral("Fennick"));
    EXPECT_EQ(dialog.items.size(), 6u);
    EXPECT_FALSE(LoadDialogTemplate(1, &dialog));
}

TEST(DialogUnits, FollowTheDialogFontsAverageWidthAndHeight)
{
    QFont small(MapWindowsFontFamily(QStringLiteral("MS Shell Dlg")));
    small.setPixelSize(11);
    QFont large(small);
    large.setPixelSize(22);
    const CDialogUnits smallUnits(small);
    const CDialogUnits largeUnits(large);
    EXPECT_GE(smallUnits.BaseX(), 4);
    EXPECT_LE(smallUnits.BaseX(), 8);
    EXPECT_GE(smallUnits.BaseY(), 11);
    EXPECT_GT(largeUnits.BaseY(), smallUnits.BaseY());
    // 50 x 14 units, the usual button, is a little over 8 average characters wide and one line high.
    const CRect button = smallUnits.ToPixels(CRect(0, 0, 50, 14));
    EXPECT_EQ(button.Width(), (50 * smallUnits.BaseX() + 2) / 4);
    EXPECT_GT(button.Height(), smallUnits.BaseY());
}

TEST(FontNames, WindowsNamesMapToInstalledFamilies)
{
    const std::pair<const char*, const char*> cases[] = {
        {"MS Shell Dlg", "Liberation Sans"},
        {"Arial", "Liberation Sans"},
        {"Times New Roman", "Liberation Serif"},
        {"Courier New", "Liberation Mono"},
        {"Tahoma", "DejaVu Sans"},
        {"DejaVu Serif", "DejaVu Serif"},
        {"No Such Font", "Liberation Sans"},
        {"", "Liberation Sans"},
    };
    for (const auto& [windowsName, family] : cases)
        EXPECT_EQ(MapWindowsFontFamily(QString::fromLatin1(windowsName)), QString::fromLatin1(family))
            << windowsName;
}

// Template 297 holds a radio group for the width and one for the height, one after the other.
TEST(DialogRadioGroups, EachGroupKeepsItsOwnChoiceAndCanBeCleared)
{
    CDialog dialog(IDD_IMAGE_IMPORT_OPTIONS);
    ASSERT_TRUE(dialog.Create(IDD_IMAGE_IMPORT_OPTIONS));
    const auto radio = [&](int id) { return static_cast<CButton*>(dialog.GetDlgItem(id)); };
    const auto click = [&](int id)
    {
        QTest::mouseClick(radio(id)->GetSafeHwnd(), Qt::LeftButton);
        QCoreApplication::processEvents();
    };
    const auto checked = [&]
    {
        QString state;
        for (const int id :
             {IDC_WIDTH_ORIGINAL, IDC_WIDTH_CONSTRAIN, IDC_IMAGE_IMPORT_OPTIONS_WIDTH_FIXED,
              IDC_HEIGHT_ORIGINAL, IDC_HEIGHT_CONSTRAIN, IDC_IMAGE_IMPORT_OPTIONS_HEIGHT_FIXED})
            state += radio(id)->GetCheck() == BST_CHECKED ? u'x' : u'.';
        return state;
    };
    dialog.ShowWindow(SW_SHOW);
    click(IDC_WIDTH_CONSTRAIN);
    click(IDC_HEIGHT_CONSTRAIN);
    EXPECT_EQ(checked(), QStringLiteral(".x..x."));
    click(IDC_IMAGE_IMPORT_OPTIONS_WIDTH_FIXED);
    EXPECT_EQ(checked(), QStringLiteral("..x.x."));
    radio(IDC_IMAGE_IMPORT_OPTIONS_WIDTH_FIXED)->SetCheck(BST_UNCHECKED);
    EXPECT_EQ(checked(), QStringLiteral("....x."));
    click(IDC_WIDTH_ORIGINAL);
    EXPECT_EQ(checked(), QStringLiteral("x...x."));
    dialog.DestroyWindow();
}

namespace
{
// A dialog whose code names controls its template lacks, as after an id changed in either.
class DialogMissingControls : public CDialog
{
public:
    DialogMissingControls() : CDialog(IDD_IMAGE_IMPORT_OPTIONS) {}
    void DoDataExchange(CDataExchange* dx) override
    {
        DDX_Text(dx, 9001, text);
        DDX_Check(dx, 9002, check);
        DDX_Control(dx, 9003, edit);
    }
    QString text;
    int check = 0;
    CEdit edit;
};

// The reports of missing controls, instead of the failure the test programs make of them.
class ControlReports
{
public:
    ControlReports() { s_previous = qInstallMessageHandler(&Record); }
    ~ControlReports() { qInstallMessageHandler(s_previous); }
    static inline QStringList texts;

private:
    static void Record(QtMsgType type, const QMessageLogContext& context, const QString& text)
    {
        if (type == QtCriticalMsg && context.category &&
            std::strcmp(context.category, "kelvora.ui.controls") == 0)
            texts << text;
        else
            s_previous(type, context, text);
    }
    static inline QtMessageHandler s_previous = nullptr;
};
} // namespace

TEST(DialogControls, AMissingControlIsReportedWithItsDialogAndId)
{
    ControlReports reports;
    DialogMissingControls dialog;
    ASSERT_TRUE(dialog.Create(IDD_IMAGE_IMPORT_OPTIONS));
    dialog.text = QStringLiteral("kept");
    ControlReports::texts.clear();
    EXPECT_TRUE(dialog.UpdateData(true));
    const auto report = [&](int id)
    {
        return QStringLiteral("(anonymous namespace)::DialogMissingControls \"%1\" has no control with id %2")
            .arg(dialog.GetSafeHwnd()->windowTitle())
            .arg(id);
    };
    EXPECT_EQ(ControlReports::texts, QStringList({report(9001), report(9002), report(9003)}));
    EXPECT_EQ(dialog.text, QStringLiteral("kept"));
    EXPECT_FALSE(dialog.edit.IsWindow());

    // Code that reaches a control outside an exchange is told the same, and its calls do nothing.
    ControlReports::texts.clear();
    CWnd& missing = dialog.DlgItem(9004);
    EXPECT_FALSE(missing.EnableWindow(false));
    missing.ShowWindow(SW_HIDE);
    EXPECT_EQ(ControlReports::texts, QStringList({report(9004)}));
    dialog.DestroyWindow();
}
