#include "dialogs/DlgImageImportOptions.h"
#include "DialogTestSupport.h"
#include "servicesui/ServicesUiSupport.h"

#include "base/AppSettings.h"

#include <QAbstractButton>
#include <QLineEdit>

using namespace DialogTest;

namespace
{
constexpr int IdWidthRadios[] = {1566, 1568, 1573};
constexpr int IdHeightRadios[] = {1567, 1569, 1574};
constexpr int IdConstrainWidth = 1202;
constexpr int IdFixedWidth = 1204;
constexpr int IdConstrainHeight = 1207;
constexpr int IdFixedHeight = 1209;

const char* const ValueNames[] = {"ImportOptionsWidthSetting",    "ImportOptionsConstrainWidth",
                                  "ImportOptionsFixedWidth",      "ImportOptionsHeightSetting",
                                  "ImportOptionsConstrainHeight", "ImportOptionsFixedHeight"};

QWidget* Item(CDialog& dialog, int id)
{
    return Widget(dialog.GetDlgItem(id));
}

// The checked radio of each axis (0 to 2) and which of the four edits are enabled.
QString State(CDialog& dialog)
{
    QString state;
    for (const auto* group : {IdWidthRadios, IdHeightRadios})
    {
        for (int i = 0; i < 3; ++i)
        {
            if (qobject_cast<QAbstractButton*>(Item(dialog, group[i]))->isChecked())
                state += QString::number(i);
        }
        state += u' ';
    }
    for (const int id : {IdConstrainWidth, IdFixedWidth, IdConstrainHeight, IdFixedHeight})
        state += Item(dialog, id)->isEnabled() ? u'E' : u'-';
    return state;
}

QString Text(CDialog& dialog, int id)
{
    return qobject_cast<QLineEdit*>(Item(dialog, id))->text();
}

QList<quint32> StoredValues()
{
    QList<quint32> values;
    for (const char* name : ValueNames)
    {
        quint32 value = 9999;
        ReadRegDword(HKEY_CURRENT_USER, GetAppRegistryKey(), QLatin1String(name), value);
        values << value;
    }
    return values;
}

// Runs the dialog, lets the steps act on it and ends it with the button.
INT_PTR RunDialog(CDlgImageImportOptions& dialog, const std::function<void()>& steps, int endButton)
{
    WhenModal(
        [&]
        {
            steps();
            QTest::mouseClick(Item(dialog, endButton), Qt::LeftButton);
        });
    return dialog.DoModal();
}
} // namespace

TEST(DlgImageImportOptions, OpensOnOriginalSizesWithDefaultLimitsAndStoresNothingOnCancel)
{
    const ServicesUi::ScopedSettings settings;
    CDlgImageImportOptions dialog;
    const INT_PTR result = RunDialog(
        dialog,
        [&]
        {
            EXPECT_EQ(dialog.GetSafeHwnd()->windowTitle(), QStringLiteral("Import options for images"));
            EXPECT_EQ(State(dialog), QStringLiteral("0 0 ----"));
            EXPECT_EQ(Text(dialog, IdConstrainWidth), QStringLiteral("400"));
            EXPECT_EQ(Text(dialog, IdFixedWidth), QStringLiteral("400"));
            EXPECT_EQ(Text(dialog, IdConstrainHeight), QStringLiteral("300"));
            EXPECT_EQ(Text(dialog, IdFixedHeight), QStringLiteral("300"));
            QTest::mouseClick(Item(dialog, IdWidthRadios[2]), Qt::LeftButton);
        },
        IDCANCEL);
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(StoredValues(), QList<quint32>(6, 9999));
}

TEST(DlgImageImportOptions, FixedSizeIsChosenForBothAxesOrForNeither)
{
    const ServicesUi::ScopedSettings settings;
    struct Click
    {
        int id;
        QString state; // after the click
    };
    const Click clicks[] = {
        {IdHeightRadios[2], "2 2 -E-E"}, {IdWidthRadios[1], "1 0 E---"},  {IdHeightRadios[1], "1 1 E-E-"},
        {IdWidthRadios[2], "2 2 -E-E"},  {IdHeightRadios[0], "0 0 ----"}, {IdWidthRadios[0], "0 0 ----"},
        {IdHeightRadios[1], "0 1 --E-"},
    };
    CDlgImageImportOptions dialog;
    RunDialog(
        dialog,
        [&]
        {
            for (const Click& click : clicks)
            {
                SCOPED_TRACE(click.id);
                QTest::mouseClick(Item(dialog, click.id), Qt::LeftButton);
                EXPECT_EQ(State(dialog), click.state);
            }
        },
        IDCANCEL);
}

TEST(DlgImageImportOptions, OkStoresTheChoiceForTheUserAndTheNextDialogOffersIt)
{
    const ServicesUi::ScopedSettings settings;
    {
        CDlgImageImportOptions dialog;
        const INT_PTR result = RunDialog(
            dialog,
            [&]
            {
                QTest::mouseClick(Item(dialog, IdWidthRadios[1]), Qt::LeftButton);
                TypeOver(Item(dialog, IdConstrainWidth), QStringLiteral("640"));
            },
            IDOK);
        EXPECT_EQ(result, IDOK);
        EXPECT_EQ(dialog.m_widthSetting, CDlgImageImportOptions::ConstrainSize);
        EXPECT_EQ(dialog.m_constrainWidth, 640);
    }
    EXPECT_EQ(StoredValues(), (QList<quint32>{1, 640, 400, 0, 300, 300}));
    const CDlgImageImportOptions again;
    EXPECT_EQ(again.m_widthSetting, 1);
    EXPECT_EQ(again.m_constrainWidth, 640);
    // Only the user's own values count.
    WriteRegDword(HKEY_LOCAL_MACHINE, GetAppRegistryKey(), QStringLiteral("ImportOptionsFixedWidth"), 5);
    EXPECT_EQ(CDlgImageImportOptions().m_fixedWidth, 400);
}

TEST(DlgImageImportOptions, StoredChoiceWithOneFixedAxisOpensWithBothFixed)
{
    const ServicesUi::ScopedSettings settings;
    const QString key = GetAppRegistryKey();
    WriteRegDword(HKEY_CURRENT_USER, key, QStringLiteral("ImportOptionsWidthSetting"), 2);
    WriteRegDword(HKEY_CURRENT_USER, key, QStringLiteral("ImportOptionsHeightSetting"), 0);
    WriteRegDword(HKEY_CURRENT_USER, key, QStringLiteral("ImportOptionsFixedHeight"), 120);
    CDlgImageImportOptions dialog;
    const INT_PTR result = RunDialog(
        dialog, [&] { EXPECT_EQ(State(dialog), QStringLiteral("2 2 -E-E")); }, IDOK);
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dialog.m_heightSetting, CDlgImageImportOptions::FixedSize);
    EXPECT_EQ(dialog.m_fixedHeight, 120);

    // A stored setting that names no choice opens on the image's own size.
    WriteRegDword(HKEY_CURRENT_USER, key, QStringLiteral("ImportOptionsHeightSetting"), 7);
    WriteRegDword(HKEY_CURRENT_USER, key, QStringLiteral("ImportOptionsWidthSetting"), 1);
    CDlgImageImportOptions odd;
    RunDialog(
        odd, [&] { EXPECT_EQ(State(odd), QStringLiteral("1 0 E---")); }, IDCANCEL);
}
