#include "DialogTestSupport.h"
#include "TemplateLayoutCheck.h"
#include "app/KVContext.h"
#include "dialogs/BackgroundImageTools.h"
#include "dialogs/DlgHtmlActionProperties.h"
#include "dialogs/DlgHtmlBookmarkInsert.h"
#include "dialogs/DlgHtmlHRProperties.h"
#include "dialogs/DlgHtmlImageProperties.h"
#include "dialogs/DlgHtmlListProperties.h"
#include "ndb/NdbNewsletter.h"
#include "ndb/NdbResource.h"
#include "ndb/NdbStyle.h"
#include "platform/ui/ComboBox.h"
#include "res/dialogs/HtmlActionProperties.h"
#include "res/dialogs/HtmlHrProperties.h"
#include "res/dialogs/HtmlImageProperties.h"
#include "res/dialogs/HtmlListProperties.h"
#include "x2/X2TestSupport.h"

#include <QComboBox>
#include <QLineEdit>

using namespace DialogTest;
using namespace ndb;

namespace
{
CWnd* Item(QWidget* window, int id)
{
    return CWnd::FromHandle(window)->GetDlgItem(id);
}

void Click(QWidget* window, int id)
{
    QTest::mouseClick(Widget(Item(window, id)), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
}

bool IsEnabled(QWidget* window, int id)
{
    return Widget(Item(window, id))->isEnabled();
}

bool IsChecked(QWidget* window, int id)
{
    return qobject_cast<QAbstractButton*>(Widget(Item(window, id)))->isChecked();
}

CComboBox& Combo(QWidget* window, int id)
{
    return *static_cast<CComboBox*>(Item(window, id));
}

// Runs the dialog modally while the steps act on the windows it shows; a dialog left open after
// a while is cancelled, so a wrong turn cannot hang the run.
INT_PTR RunWith(CDialog& dialog, ModalScript& script)
{
    script.Start();
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout,
                     []
                     {
                         ADD_FAILURE() << "the dialog was left open";
                         while (QWidget* modal = QApplication::activeModalWidget())
                             modal->close();
                     });
    guard.start(20000);
    const INT_PTR result = dialog.DoModal();
    EXPECT_TRUE(script.Finished());
    return result;
}

INT_PTR RunWith(CDialog& dialog, const ModalScript::Step& step)
{
    ModalScript script;
    script.Then([](QWidget*) { return true; }, step);
    return RunWith(dialog, script);
}

QString FieldText(const CNdbStyle& style, int id)
{
    CNdbFieldValue value;
    if (!style.GetField(id, value))
        return QStringLiteral("-");
    if (value.GetType() == NdbValueLength)
        return value.FormatLength();
    if (value.GetColor())
        return value.GetColor()->ToText();
    return QString::number(value.GetInt());
}

// The template id and a dialog made on it, not yet shown.
struct Shown
{
    QString name;
    std::function<std::unique_ptr<CDialog>()> make;
    UINT templateId;
};
} // namespace

// Each element dialog from its template, as a picture: every control inside the dialog, none on
// top of another and every caption whole.
TEST(ElementDialogs, PicturesWithEveryControlInsideAndApart)
{
    CKVContext context;
    auto letter = std::make_unique<CNdbNewsletter>(QStringLiteral("Pictures"));
    CNdbNewsletter* newsletter = letter.get();
    context.SetCurrentDocument(std::move(letter));
    CNdbStyle style;
    const Shown dialogs[] = {
        {"168", [] { return std::make_unique<CDlgHtmlActionProperties>(); }, 168},
        {"215", [] { return std::make_unique<CDlgHtmlBookmarkInsert>(); }, 215},
        {"196", [] { return std::make_unique<CDlgHtmlListProperties>(); }, 196},
        {"192", [&] { return std::make_unique<CDlgHtmlHRProperties>(newsletter, &style); }, 192},
        {"191", [&] { return std::make_unique<CDlgHtmlImageProperties>(&context, &style, QString()); }, 191},
    };
    for (const Shown& shown : dialogs)
    {
        std::unique_ptr<CDialog> dialog = shown.make();
        ASSERT_TRUE(dialog->Create(shown.templateId)) << shown.name.toStdString();
        ASSERT_TRUE(ShowActive(*dialog));
        SaveArtifact(*dialog, QStringLiteral("dialog_%1.png").arg(shown.name));
        EXPECT_EQ(LayoutProblems(*dialog), QStringList()) << shown.name.toStdString();
        dialog->DestroyWindow();
    }
}

// The link dialog opens on the link's address and kind and hands back the address with its
// protocol; a scheme typed by the user is kept as typed, any scheme but http, https, ftp and
// mailto is refused with a message and the dialog stays open.
TEST(ElementDialogs, LinkAddressesAndTheirProtocols)
{
    const struct
    {
        const char* address;
        const char* shown;
        const char* protocol;
        const char* typed; // null: left as it is
        const char* result;
    } cases[] = {
        {"", "", "http://", "example.com/a", "http://example.com/a"},
        {"https://example.com/x", "example.com/x", "https://", nullptr, "https://example.com/x"},
        {"http://a.org/?next=http://b.org", "a.org/?next=http://b.org", "http://", nullptr,
         "http://a.org/?next=http://b.org"},
        {"mailto:me@example.com", "me@example.com", "mailto:", nullptr, "mailto:me@example.com"},
        {"pages/more.html", "pages/more.html", "", nullptr, "pages/more.html"},
        {"#top", "#top", "", nullptr, "#top"},
        {"https://example.com", "example.com", "https://", "http://example.org", "http://example.org"},
        {"", "", "http://", "\"><script>x</script>", "http://\"><script>x</script>"},
    };
    for (const auto& c : cases)
    {
        CDlgHtmlActionProperties dialog;
        dialog.m_address = QString::fromLatin1(c.address);
        QString shown;
        QString protocol;
        const INT_PTR result =
            RunWith(dialog,
                    [&](QWidget* window)
                    {
                        shown = Item(window, IDC_ACTION_ADDRESS)->GetWindowText();
                        protocol = Item(window, IDC_PROTOCOLS)->GetWindowText();
                        if (c.typed)
                            TypeOver(Widget(Item(window, IDC_ACTION_ADDRESS)), QString::fromLatin1(c.typed));
                        ClickButton(window, QStringLiteral("OK"));
                    });
        EXPECT_EQ(result, IDOK) << c.address;
        EXPECT_EQ(shown, QString::fromLatin1(c.shown)) << c.address;
        EXPECT_EQ(protocol, QString::fromLatin1(c.protocol)) << c.address;
        EXPECT_EQ(dialog.m_address, QString::fromLatin1(c.result)) << c.address;
        EXPECT_EQ(dialog.m_kind, CDlgHtmlActionProperties::KindUrl);
    }

    for (const char* refused :
         {"JavaScript:alert(1)", "java\tscript:alert(1)", "data:text/html,x", "file:///etc/passwd"})
    {
        CDlgHtmlActionProperties dialog;
        ModalScript script;
        QString message;
        script
            .ThenTitled(QStringLiteral("Link Properties"),
                        [&](QWidget* window)
                        {
                            // Picked the empty protocol entry, pasted the address.
                            Combo(window, IDC_PROTOCOLS).SetCurSel(0);
                            Item(window, IDC_ACTION_ADDRESS)->SetWindowText(QString::fromLatin1(refused));
                            ClickButton(window, QStringLiteral("OK"));
                        })
            .ThenShowing(QStringLiteral("A link can only lead"),
                         [&](QWidget* box)
                         {
                             message = box->windowTitle();
                             ClickButton(box, QStringLiteral("OK"));
                         })
            .ThenAgain([](QWidget* w) { return w->windowTitle() == QStringLiteral("Link Properties"); },
                       [](QWidget* window) { ClickButton(window, QStringLiteral("Cancel")); });
        EXPECT_EQ(RunWith(dialog, script), IDCANCEL) << refused;
    }
}

// Bookmarks, web view and the enabled controls of each kind.
TEST(ElementDialogs, LinkKindsBookmarksAndWebView)
{
    // The bookmark named ignoring case, the last of equal ones; the list is offered only for
    // bookmark links.
    CDlgHtmlActionProperties dialog;
    dialog.m_kind = CDlgHtmlActionProperties::KindBookmark;
    dialog.m_bookmarkName = QStringLiteral("TWO");
    dialog.m_bookmarkNames = {QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("Two")};
    EXPECT_EQ(RunWith(dialog,
                      [](QWidget* window)
                      {
                          EXPECT_EQ(Combo(window, IDC_BOOKMARKS).GetCurSel(), 2);
                          EXPECT_TRUE(IsEnabled(window, IDC_BOOKMARKS));
                          EXPECT_FALSE(IsEnabled(window, IDC_ACTION_ADDRESS));
                          EXPECT_FALSE(IsEnabled(window, IDC_WEB_VIEW)) << "no web view";
                          EXPECT_FALSE(IsEnabled(window, IDC_BY_EMAIL));
                          Click(window, IDC_UNSUBSCRIBE);
                          EXPECT_TRUE(IsEnabled(window, IDC_BY_EMAIL));
                          EXPECT_FALSE(IsEnabled(window, IDC_BOOKMARKS));
                          Click(window, IDC_AUTOMATIC);
                          EXPECT_TRUE(IsChecked(window, IDC_UNSUBSCRIBE)) << "the groups are apart";
                          Click(window, IDC_BOOKMARK);
                          Combo(window, IDC_BOOKMARKS).SetCurSel(0);
                          ClickButton(window, QStringLiteral("OK"));
                      }),
              IDOK);
    EXPECT_EQ(dialog.m_kind, CDlgHtmlActionProperties::KindBookmark);
    EXPECT_EQ(dialog.m_bookmarkName, "one");
    EXPECT_EQ(dialog.m_unsubscribeKind, CDlgHtmlActionProperties::UnsubscribeAutomatic);

    // Without bookmarks a bookmark link becomes the address "#name" with no protocol in front.
    CDlgHtmlActionProperties lone;
    lone.m_kind = CDlgHtmlActionProperties::KindBookmark;
    lone.m_bookmarkName = QStringLiteral("top");
    EXPECT_EQ(RunWith(lone,
                      [](QWidget* window)
                      {
                          EXPECT_FALSE(IsEnabled(window, IDC_BOOKMARK));
                          EXPECT_EQ(Item(window, IDC_PROTOCOLS)->GetWindowText(), "");
                          ClickButton(window, QStringLiteral("OK"));
                      }),
              IDOK);
    EXPECT_EQ(lone.m_kind, CDlgHtmlActionProperties::KindUrl);
    EXPECT_EQ(lone.m_address, "#top");

    // A web view link of a newsletter without web view opens as no link.
    CDlgHtmlActionProperties webView;
    webView.m_kind = CDlgHtmlActionProperties::KindWebView;
    EXPECT_EQ(RunWith(webView, [](QWidget* window) { ClickButton(window, QStringLiteral("OK")); }), IDOK);
    EXPECT_EQ(webView.m_kind, CDlgHtmlActionProperties::KindNoLink);
    webView.m_kind = CDlgHtmlActionProperties::KindWebView;
    webView.m_webViewAvailable = true;
    EXPECT_EQ(RunWith(webView, [](QWidget* window) { ClickButton(window, QStringLiteral("OK")); }), IDOK);
    EXPECT_EQ(webView.m_kind, CDlgHtmlActionProperties::KindWebView);
}

// The list dialog: the kind follows the styles it is given, and only its own group can be chosen.
TEST(ElementDialogs, ListKindsAndTheirGroups)
{
    const struct
    {
        int ordered, bullet, numbering;
        bool bulletsEnabled;
    } openings[] = {
        {1, 3, 0, true},
        {0, 0, 2, false},
        {0, 1, 4, false},
        {1, 0, 0, false},
    };
    for (const auto& c : openings)
    {
        CDlgHtmlListProperties dialog;
        dialog.m_ordered = c.ordered;
        dialog.m_bullet = c.bullet;
        dialog.m_numbering = c.numbering;
        RunWith(dialog,
                [&](QWidget* window)
                {
                    EXPECT_EQ(IsEnabled(window, IDC_SQUARE), c.bulletsEnabled);
                    EXPECT_EQ(IsEnabled(window, IDC_I_II_III2), !c.bulletsEnabled);
                    ClickButton(window, QStringLiteral("Cancel"));
                });
    }

    CDlgHtmlListProperties dialog;
    dialog.m_ordered = 1;
    EXPECT_EQ(RunWith(dialog,
                      [](QWidget* window)
                      {
                          Click(window, IDC_UNORDERED);
                          EXPECT_TRUE(IsEnabled(window, IDC_DISC));
                          Click(window, IDC_DISC);
                          Click(window, IDC_OUTSIDE);
                          EXPECT_TRUE(IsChecked(window, IDC_UNORDERED)) << "the groups are apart";
                          ClickButton(window, QStringLiteral("OK"));
                      }),
              IDOK);
    EXPECT_EQ(dialog.m_ordered, 0);
    EXPECT_EQ(dialog.m_bullet, 2);
    EXPECT_EQ(dialog.m_wrapping, 2);
}

// The rule dialog writes the record by its controls; untouched values keep their fraction and
// unit.
TEST(ElementDialogs, HorizontalLineRecord)
{
    CNdbNewsletter newsletter(QStringLiteral("Rules"));
    const auto run = [&](CNdbStyle& style, const ModalScript::Step& step)
    {
        CDlgHtmlHRProperties dialog(&newsletter, &style);
        return RunWith(dialog, step);
    };

    // A plain line: default width of 100 % shown disabled; OK writes only the zero sizes.
    CNdbStyle plain;
    EXPECT_EQ(run(plain,
                  [](QWidget* window)
                  {
                      EXPECT_TRUE(IsChecked(window, IDC_HR_DEFAULT_WIDTH));
                      EXPECT_FALSE(IsEnabled(window, IDC_WIDTH));
                      EXPECT_EQ(Item(window, IDC_WIDTH)->GetWindowText(), "100");
                      EXPECT_EQ(Item(window, IDC_WIDTH_FIXED_UNIT)->GetWindowText(), "%");
                      ClickButton(window, QStringLiteral("OK"));
                  }),
              IDOK);
    EXPECT_EQ(FieldText(plain, StyleWidth), "-");
    EXPECT_EQ(FieldText(plain, StyleHeight), "0");
    EXPECT_EQ(FieldText(plain, StyleBorderTopWidth), "0");
    EXPECT_EQ(FieldText(plain, StyleBackgroundColor), "-");
    EXPECT_EQ(FieldText(plain, StyleBorderTopColor), "-");

    // Default width off on a plain line gives 100 %.
    CNdbStyle wide;
    run(wide,
        [](QWidget* window)
        {
            Click(window, IDC_HR_DEFAULT_WIDTH);
            EXPECT_TRUE(IsEnabled(window, IDC_WIDTH));
            ClickButton(window, QStringLiteral("OK"));
        });
    EXPECT_EQ(FieldText(wide, StyleWidth), "100%");

    // Untouched values as they were read; a typed height in pixels.
    CNdbStyle kept;
    kept.SetField(StyleWidth, CNdbFieldValue(12.5f, int(NdbUnitPercent)));
    kept.SetField(StyleHeight, CNdbFieldValue(1.5f, int(NdbUnitPx)));
    kept.SetField(StyleBorderTopWidth, CNdbFieldValue(2.f, int(NdbUnitPx)));
    kept.SetField(StyleBorderTopColor, CNdbFieldValue(CNdbColor(255, 0, 0)));
    run(kept,
        [](QWidget* window)
        {
            EXPECT_FALSE(IsChecked(window, IDC_HR_DEFAULT_WIDTH));
            EXPECT_EQ(Item(window, IDC_WIDTH)->GetWindowText(), "12");
            ClickButton(window, QStringLiteral("OK"));
        });
    EXPECT_EQ(FieldText(kept, StyleWidth), "12.5%");
    EXPECT_EQ(FieldText(kept, StyleHeight), "1.5px");
    EXPECT_EQ(FieldText(kept, StyleBorderTopColor), "F{#FF0000FF}");
    EXPECT_EQ(FieldText(kept, StyleBorderTopWidth), "2px");
    run(kept,
        [](QWidget* window)
        {
            TypeOver(Widget(Item(window, IDC_HEIGHT)), QStringLiteral("4"));
            Click(window, IDC_HR_DEFAULT_WIDTH);
            ClickButton(window, QStringLiteral("OK"));
        });
    EXPECT_EQ(FieldText(kept, StyleHeight), "4px");
    EXPECT_EQ(FieldText(kept, StyleWidth), "-");
}

// The image dialog: an untouched OK writes the whole record, Browse adds a chosen picture to the
// newsletter at once and refuses a file that holds none, naming it.
TEST(ElementDialogs, ImageRecordAndBrowse)
{
    CKVContext context;
    auto letter = std::make_unique<CNdbNewsletter>(QStringLiteral("Images"));
    CNdbNewsletter* newsletter = letter.get();
    context.SetCurrentDocument(std::move(letter));
    auto own = std::make_unique<CNdbResource>();
    own->SetField(ResourceId, CNdbFieldValue(QStringLiteral("{OWN}")));
    own->SetField(ResourcePath, CNdbFieldValue(QStringLiteral("img/own.png")));
    own->SetField(ResourceFileName, CNdbFieldValue(QStringLiteral("own.png")));
    newsletter->Layout().AddResource(std::move(own));

    CNdbStyle style;
    style.SetField(StyleWidth, CNdbFieldValue(120.f, int(NdbUnitPx)));
    style.SetField(StyleHeight, CNdbFieldValue(80.f, int(NdbUnitPx)));
    style.SetField(StyleFloat, CNdbFieldValue(NdbValueFloatKeyword, 0));
    style.SetField(StyleBorderTopStyle, CNdbFieldValue(NdbValueBorderStyle, 3));
    CDlgHtmlImageProperties dialog(&context, &style, QStringLiteral("{PIPE}"));
    dialog.m_resourceId = QStringLiteral("{OWN}");
    dialog.m_toolTip = QStringLiteral("Tom & \"Jerry\"");
    QString name;
    EXPECT_EQ(RunWith(dialog,
                      [&](QWidget* window)
                      {
                          name = Item(window, IDC_IMAGE_SOURCE)->GetWindowText();
                          EXPECT_FALSE(IsEnabled(window, IDC_WIDTH)) << "natural width";
                          EXPECT_EQ(Item(window, IDC_IMAGE_ALIGN)->GetWindowText(), "")
                              << "float 0 has no entry";
                          ClickButton(window, QStringLiteral("OK"));
                      }),
              IDOK);
    EXPECT_EQ(name, "own.png");
    EXPECT_EQ(dialog.m_pipelineId, "{PIPE}");
    EXPECT_EQ(dialog.m_toolTip, "Tom & \"Jerry\"");
    EXPECT_EQ(FieldText(style, StyleWidth), "120px");
    EXPECT_EQ(FieldText(style, StyleFloat), "0") << "no selection leaves it";
    EXPECT_EQ(FieldText(style, StyleVerticalAlign), "-");
    EXPECT_EQ(FieldText(style, StyleBorderTopStyle), "3") << "a present style stays";
    EXPECT_EQ(FieldText(style, StyleBorderTopColor), "F{#000000FF}");
    EXPECT_EQ(FieldText(style, StyleBorderTopWidth), "0");
    for (const int id : {StyleMarginTop, StyleMarginBottom, StyleMarginLeft, StyleMarginRight})
        EXPECT_EQ(FieldText(style, id), "0");

    // Browse: a failing chooser, a file without a picture, then a picture.
    int calls = 0;
    CNdbStyle browsed;
    CDlgHtmlImageProperties browse(&context, &browsed, QString());
    browse.m_resourceId = QStringLiteral("{OWN}");
    browse.m_widthMode = CDlgHtmlImageProperties::FixedSize;
    BackgroundImageTools chooser;
    chooser.chooseImage = [&calls](const QString&, std::unique_ptr<CNdbResource>& chosen, CWnd*)
    {
        if (++calls == 1)
            return 2;
        chosen = std::make_unique<CNdbResource>();
        chosen->SetField(ResourceId, CNdbFieldValue(QStringLiteral("{NEW%1}").arg(calls)));
        chosen->SetField(ResourcePath, CNdbFieldValue(QStringLiteral("img/page.jpg")));
        chosen->SetField(ResourceFileName, CNdbFieldValue(QStringLiteral("page.jpg")));
        chosen->SetField(ResourceSource, CNdbFieldValue(QStringLiteral("/home/me/page.jpg")));
        if (calls == 3)
        {
            chosen->SetField(ResourceWidth, CNdbFieldValue(NdbValueInt, 640));
            chosen->SetField(ResourceHeight, CNdbFieldValue(NdbValueInt, 480));
        }
        return 0;
    };
    QStringList messages;
    ModalScript script;
    script
        .ThenTitled(QStringLiteral("Image Properties"),
                    [](QWidget* window) { Click(window, IDC_IMAGE_BROWSE); })
        .ThenShowing(QStringLiteral("could not be loaded"),
                     [&](QWidget* box)
                     {
                         messages << QStringLiteral("unreadable");
                         ClickButton(box, QStringLiteral("OK"));
                     })
        .ThenAgain([](QWidget* w) { return w->windowTitle() == QStringLiteral("Image Properties"); },
                   [](QWidget* window) { Click(window, IDC_IMAGE_BROWSE); })
        .ThenShowing(QStringLiteral("/home/me/page.jpg holds no picture"),
                     [&](QWidget* box)
                     {
                         messages << QStringLiteral("no picture");
                         ClickButton(box, QStringLiteral("OK"));
                     })
        .ThenAgain([](QWidget* w) { return w->windowTitle() == QStringLiteral("Image Properties"); },
                   [&](QWidget* window)
                   {
                       EXPECT_EQ(newsletter->Layout().Resources().size(), 1u) << "nothing joined";
                       Click(window, IDC_IMAGE_BROWSE);
                       EXPECT_EQ(Item(window, IDC_IMAGE_SOURCE)->GetWindowText(), "page.jpg");
                       EXPECT_EQ(Item(window, IDC_WIDTH)->GetWindowText(), "640");
                       ClickButton(window, QStringLiteral("Cancel"));
                   });
    SetBackgroundImageTools(chooser);
    EXPECT_EQ(RunWith(browse, script), IDCANCEL);
    SetBackgroundImageTools({});
    EXPECT_EQ(messages, (QStringList{"unreadable", "no picture"}));
    ASSERT_EQ(newsletter->Layout().Resources().size(), 2u) << "the chosen picture stays after Cancel";
    EXPECT_NE(newsletter->Layout().FindResourceById(QStringLiteral("{NEW3}")), nullptr);
}
