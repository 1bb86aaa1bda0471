#include "EditorSession.h"
#include "app/ShellTestSupport.h"
#include "dialogs/ColorBoxCtrl.h"
#include "dialogs/DialogTestSupport.h"
#include "editor/WndLayout.h"
#include "ndb/NdbResource.h"
#include "res/dialogs/HtmlActionProperties.h"
#include "res/dialogs/HtmlBookmarkInsert.h"
#include "res/dialogs/HtmlHrProperties.h"
#include "res/dialogs/HtmlImageProperties.h"
#include "res/dialogs/HtmlListProperties.h"
#include "webserver/NewsletterPage.h"
#include "webserver/NewsletterPageSource.h"
#include "webserver/PageSources.h"
#include "x2/X2TestSupport.h"
#include "x2/X2Validator.h"

#include <QBuffer>
#include <QComboBox>

using namespace ShellTest;

namespace
{
const QString ResourceGuid = QStringLiteral("{6F1D2C3B-0000-4000-8000-000000000001}");
const QString BookmarkLabel = QStringLiteral(
    "<code name=\"top\" atomicselection=\"true\" contenteditable=\"false\" class=\"normal\" "
    "style=\"font-size:10px;color:#ff0000;background-color:#ffffff;text-transform:uppercase;\">"
    "<a name=\"top\"></a>&laquo;top&raquo;</code>");

// A newsletter of one of each element: a link, a bookmark, a list with a nested one, a rule and
// an image of the newsletter's own.
QString FixtureLayout()
{
    return QStringLiteral(
               "<p>Visit <a href=\"https://example.com/old\" name=\"src_action_type:ext;\">our site</a> "
               "today</p><p>") +
           BookmarkLabel +
           QStringLiteral(" Top here</p><ul><li>First item</li><li>Second<ul class=\"inner\"><li>Nested "
                          "item</li></ul></li></ul>"
                          "<hr /><p>Picture <img src=\"img/dot.png\" name=\"src_ResID:%1;\" "
                          "style=\"border:none;vertical-align:middle;\" /> end</p><p>Plain words to link</p>")
               .arg(ResourceGuid);
}

QByteArray PngBytes(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(QColor(200, 40, 40));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

std::unique_ptr<ndb::CNdbResource> PictureResource()
{
    auto resource = std::make_unique<ndb::CNdbResource>();
    resource->SetPayload(PngBytes(40, 20));
    resource->SetField(ndb::ResourceId, ndb::CNdbFieldValue(ResourceGuid));
    resource->SetField(ndb::ResourcePath, ndb::CNdbFieldValue(QStringLiteral("img/dot.png")));
    resource->SetField(ndb::ResourceFileName, ndb::CNdbFieldValue(QStringLiteral("dot.png")));
    resource->SetField(ndb::ResourceMimeType, ndb::CNdbFieldValue(QStringLiteral("image/png")));
    resource->SetField(ndb::ResourceWidth, ndb::CNdbFieldValue(ndb::NdbValueInt, 40));
    resource->SetField(ndb::ResourceHeight, ndb::CNdbFieldValue(ndb::NdbValueInt, 20));
    return resource;
}

CWnd* Item(QWidget* window, int id)
{
    return CWnd::FromHandle(window)->GetDlgItem(id);
}

void Click(QWidget* window, int id)
{
    QTest::mouseClick(DialogTest::Widget(Item(window, id)), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
}

void TypeInto(QWidget* window, int id, const QString& text)
{
    DialogTest::TypeOver(DialogTest::Widget(Item(window, id)), text);
}

class ElementEditing : public EditorSession
{
protected:
    CWndLayout& OpenLetter()
    {
        ndb::CNdbNewsletter letter(QStringLiteral("June"));
        letter.SetField(ndb::NewsletterId, ndb::CNdbFieldValue(ndb::CNdbBase::CreateGuidString()));
        letter.Layout().SetField(ndb::LayoutHtml, ndb::CNdbFieldValue(FixtureLayout()));
        letter.Layout().AddResource(PictureResource());
        letter.Sender().SetField(ndb::SenderFromAddress,
                                 ndb::CNdbFieldValue(QStringLiteral("editor@example.com")));
        EXPECT_TRUE(letter.Save(Document("June.kvnl"), QStringLiteral("Kelvora"), 2007, 1));
        CWndLayout& layout = EditNewsletter(Document("June.kvnl"), QStringLiteral("Plain words"));
        EXPECT_EQ(Run("document.images[0].naturalWidth").toInt(), 40);
        return layout;
    }

    // The colour of the first picture's pixel (0, 0) as the engine decodes and draws it.
    QColor DrawnPixel()
    {
        const QStringList rgb =
            Run(QStringLiteral("(() => { const c = document.createElement('canvas'); c.width = c.height = 1;"
                               " const g = c.getContext('2d'); g.drawImage(document.images[0], 0, 0);"
                               " return Array.from(g.getImageData(0, 0, 1, 1).data).join(','); })()"))
                .toString()
                .split(',');
        return rgb.size() == 4 ? QColor(rgb[0].toInt(), rgb[1].toInt(), rgb[2].toInt()) : QColor();
    }

    // Selects the text inside the body.
    void SelectText(const QString& text)
    {
        ChangeSelection(
            Browser(),
            QStringLiteral(
                "(function () { const w = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT);"
                " for (let n = w.nextNode(); n; n = w.nextNode()) { const i = n.data.indexOf('%1');"
                " if (i < 0) continue; const r = document.createRange(); r.setStart(n, i);"
                " r.setEnd(n, i + %2); const s = document.getSelection(); s.removeAllRanges();"
                " s.addRange(r); return true; } return false; })()")
                .arg(text)
                .arg(text.size()));
    }

    QString StoredLayout()
    {
        ndb::CNdbNewsletter reloaded;
        EXPECT_TRUE(reloaded.Load(Document("June.kvnl")));
        return reloaded.Layout().GetString(ndb::LayoutHtml);
    }
};

QByteArray ImageBytes(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// A PNG whose header claims 30000 x 30000 pixels, with hardly any data behind it.
QByteArray HugePngHeader()
{
    const auto bigEndian = [](quint32 value)
    {
        const char bytes[4] = {char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
        return QByteArray(bytes, 4);
    };
    const auto chunk = [&bigEndian](const char* type, const QByteArray& data)
    {
        QByteArray body = QByteArray(type, 4) + data;
        quint32 crc = 0xFFFFFFFFu;
        for (const char byte : body)
        {
            crc ^= quint8(byte);
            for (int bit = 0; bit < 8; ++bit)
                crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
        crc ^= 0xFFFFFFFFu;
        return bigEndian(quint32(data.size())) + body + bigEndian(crc);
    };
    // 30000 x 30000, 8-bit grey.
    const QByteArray header = QByteArray::fromHex("00007530000075300800000000");
    return QByteArray::fromHex("89504E470D0A1A0A") + chunk("IHDR", header) +
           chunk("IDAT", QByteArray::fromHex("789C6300000000010001")) + chunk("IEND", QByteArray());
}

// Two frames of one red pixel.
QByteArray AnimatedGif()
{
    return QByteArray::fromHex("474946383961010001008000"
                               "00FF000000000021FF0B4E45545343415045322E300301000000"
                               "21F904000A0000002C000000000100010000020244010021F9040"
                               "00A0000002C00000000010001000002024401003B");
}

const auto ShowsMessage = [](const char* text)
{
    return [text](QWidget* w)
    {
        auto* box = dynamic_cast<CDlgMessageBox*>(CWnd::FromHandle(w));
        return box && box->m_text.contains(QLatin1String(text));
    };
};

using DialogTest::ChooseFiles;
using DialogTest::IsFileDialog;
using DialogTest::Titled;
} // namespace

// A user's session over every element of a fixture newsletter: each one clicked, its dialog
// opened from the context menu and answered with keys and mouse, then Save; the saved layout and
// the mail page hold the changes, and one Undo takes back one element's change.
TEST_F(ElementEditing, EachElementThroughItsDialogToTheSavedLayout)
{
    OpenLetter();

    // The link: a new address in its protocol.
    DialogTest::ModalScript link;
    QString shownAddress;
    link.Then(Titled("Link Properties"),
              [&](QWidget* window)
              {
                  shownAddress = Item(window, IDC_PROTOCOLS)->GetWindowText() +
                                 Item(window, IDC_ACTION_ADDRESS)->GetWindowText();
                  TypeInto(window, IDC_ACTION_ADDRESS, QStringLiteral("example.org/new?a=1&b=\"2\""));
                  DialogTest::ClickButton(window, QStringLiteral("OK"));
              });
    UseContextItem(QStringLiteral("a[href]"), QStringLiteral("Link Properties..."), link);
    EXPECT_EQ(shownAddress, "https://example.com/old");

    // The bookmark gets a name full of markup characters.
    DialogTest::ModalScript bookmark;
    bookmark.Then(Titled("Insert Bookmark"),
                  [](QWidget* window)
                  {
                      EXPECT_EQ(Item(window, IDC_BOOKMARK_INSERT_NAME)->GetWindowText(), "top");
                      TypeInto(window, IDC_BOOKMARK_INSERT_NAME, QStringLiteral("Tom & \"Jerry\" <b>"));
                      DialogTest::ClickButton(window, QStringLiteral("OK"));
                  });
    UseContextItem(QStringLiteral("code"), QStringLiteral("Bookmark Properties..."), bookmark);

    // The outer list becomes ordered in small roman numbers, markers inside.
    DialogTest::ModalScript list;
    list.Then(Titled("List Properties"),
              [](QWidget* window)
              {
                  Click(window, IDC_ORDERED);
                  Click(window, IDC_I_II_III);
                  Click(window, IDC_INSIDE);
                  DialogTest::ClickButton(window, QStringLiteral("OK"));
              });
    UseContextItem(QStringLiteral("ul > li"), QStringLiteral("List Properties..."), list);

    // The rule: 50 %, 3 pixels high, a green background picked in the swatch's grid.
    DialogTest::ModalScript rule;
    rule.Then(Titled("Horizontal Line Properties"),
              [](QWidget* window)
              {
                  Click(window, IDC_HR_DEFAULT_WIDTH);
                  TypeInto(window, IDC_WIDTH, QStringLiteral("50"));
                  TypeInto(window, IDC_HEIGHT, QStringLiteral("3"));
                  // The swatch took the place of its placeholder.
                  for (QWidget* child : window->findChildren<QWidget*>())
                  {
                      if (dynamic_cast<CColorBoxCtrl*>(CWnd::FromHandle(child)) &&
                          child->geometry().intersects(
                              DialogTest::Widget(Item(window, IDC_BACKGROUND))->geometry()))
                          DialogTest::SendMouse(child, QEvent::MouseButtonPress, QPoint(3, 3));
                  }
              })
        .Then([](QWidget* w) { return w->windowTitle() != QLatin1String("Horizontal Line Properties"); },
              [](QWidget* popup) {
                  DialogTest::SendMouse(popup, QEvent::MouseButtonPress,
                                        QPoint(52 + 6 * 11 + 4, 27 + 1 * 11 + 4));
              })
        .ThenAgain(Titled("Horizontal Line Properties"),
                   [](QWidget* window) { DialogTest::ClickButton(window, QStringLiteral("OK")); });
    UseContextItem(QStringLiteral("hr"), QStringLiteral("Horizontal Line Properties..."), rule);

    // The image: a tool tip with markup characters and a border of 2 pixels.
    DialogTest::ModalScript image;
    image.Then(Titled("Image Properties"),
               [](QWidget* window)
               {
                   EXPECT_EQ(Item(window, IDC_IMAGE_SOURCE)->GetWindowText(), "dot.png");
                   EXPECT_EQ(Item(window, IDC_WIDTH)->GetWindowText(), "40");
                   TypeInto(window, IDC_TOOL_TIP, QStringLiteral("Tom & \"Jerry\" <3"));
                   TypeInto(window, IDC_THICKNESS, QStringLiteral("2"));
                   DialogTest::ClickButton(window, QStringLiteral("OK"));
               });
    UseContextItem(QStringLiteral("img"), QStringLiteral("Image Properties..."), image);

    // A new link on plain words: a script address is refused, then a web address taken.
    SelectText(QStringLiteral("Plain words"));
    DialogTest::ModalScript newLink;
    newLink
        .Then(Titled("Link Properties"),
              [](QWidget* window)
              {
                  static_cast<CComboBox*>(Item(window, IDC_PROTOCOLS))->SetCurSel(0);
                  TypeInto(window, IDC_ACTION_ADDRESS, QStringLiteral("JavaScript:alert(1)"));
                  DialogTest::ClickButton(window, QStringLiteral("OK"));
              })
        .Then(ShowsMessage("A link can only lead"),
              [](QWidget* box) { DialogTest::ClickButton(box, QStringLiteral("OK")); })
        .ThenAgain(Titled("Link Properties"),
                   [](QWidget* window)
                   {
                       TypeInto(window, IDC_ACTION_ADDRESS, QStringLiteral("https://example.net/"));
                       DialogTest::ClickButton(window, QStringLiteral("OK"));
                   });
    UseMenuItem({"&Insert", "Link..."}, newLink);

    const QStringList titles = UndoTitles();
    EXPECT_EQ(titles.mid(0, 6),
              (QStringList{"Action Properties", "Image Properties", "Horizontal Rule Properties",
                           "List Properties", "Bookmark Properties", "Action Properties"}));

    // One Undo takes back the new link only.
    const QString edited = Body();
    ASSERT_TRUE(ChooseMenuItem(*m_window, {"&Edit", "&Undo\tCtrl+Z"}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !Body().contains("example.net"); }, 10000));
    EXPECT_TRUE(Body().contains("lower-roman"));
    ASSERT_TRUE(ChooseMenuItem(*m_window, {"&Edit", "&Redo\tCtrl+Y"}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return Body() == edited; }, 10000));

    PressKey(*m_window, Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(m_layout->IsEditing());
    PressKey(*m_window, Qt::Key_S, Qt::ControlModifier);
    const QString stored = StoredLayout();
    const std::string shown = stored.toStdString();
    EXPECT_TRUE(stored.contains("href=\"https://example.org/new?a=1&amp;b=%222%22\"") ||
                stored.contains("href=\"https://example.org/new?a=1&amp;b=&quot;2&quot;\""))
        << shown;
    EXPECT_TRUE(stored.contains("name=\"src_action_type:ext;\"")) << shown;
    EXPECT_TRUE(stored.contains("href=\"https://example.net/\"")) << shown;
    EXPECT_FALSE(stored.contains("alert")) << shown;
    // Attribute values need only "&" and the quote escaped; the label is text.
    EXPECT_TRUE(stored.contains("<code name=\"Tom &amp; &quot;Jerry&quot; <b>\"")) << shown;
    EXPECT_TRUE(stored.contains("<a name=\"Tom &amp; &quot;Jerry&quot; <b>\"></a>")) << shown;
    EXPECT_TRUE(stored.contains("Jerry\" &lt;b&gt;")) << shown;
    EXPECT_FALSE(stored.contains("<b>T")) << shown;
    EXPECT_TRUE(stored.contains("<ol style=\"list-style-position: inside; list-style-type: lower-roman;\">"))
        << shown;
    // Only that list changed its kind: the nested one and its attribute stay.
    EXPECT_TRUE(stored.contains("<li>Second<ul class=\"inner\"><li>Nested item</li></ul></li></ol>"))
        << shown;
    EXPECT_TRUE(stored.contains("background-color:F{#00CC00FF};")) << shown;
    EXPECT_TRUE(stored.contains("width: 50%")) << shown;
    EXPECT_TRUE(stored.contains("height: 3px")) << shown;
    EXPECT_TRUE(stored.contains("alt=\"Tom &amp; &quot;Jerry&quot; <3\"")) << shown;
    EXPECT_TRUE(stored.contains("title=\"Tom &amp; &quot;Jerry&quot; <3\"")) << shown;
    EXPECT_TRUE(stored.contains("src_border:solid 2px F{#000000FF};")) << shown;
    EXPECT_TRUE(stored.contains("border: 2px solid rgb(0, 0, 0);")) << shown;

    // The mail page: real addresses, no editor metadata, the rule's colour as CSS.
    ndb::CNdbNewsletter reloaded;
    ASSERT_TRUE(reloaded.Load(Document("June.kvnl")));
    const CNewsletterPageSource source(reloaded);
    CPageContext pageContext;
    pageContext.SetCurrentNewsletter(&source);
    QString page;
    ASSERT_TRUE(GenerateNewsletterPage(QStringLiteral("Kelvora"), page, MailEmbedded, pageContext, reloaded,
                                       nullptr, nullptr));
    EXPECT_TRUE(page.contains("https://example.org/new")) << page.toStdString();
    EXPECT_FALSE(page.contains("src_action_type")) << page.toStdString();
    EXPECT_TRUE(page.contains("alt=\"Tom &amp; &quot;Jerry&quot;")) << page.toStdString();
    EXPECT_TRUE(page.contains("background-color")) << page.toStdString();
}

// OK without a change leaves every element as it was, and Cancel too.
TEST_F(ElementEditing, UntouchedDialogsChangeNothing)
{
    OpenLetter();
    const struct
    {
        const char* selector;
        const char* item;
        const char* title;
    } elements[] = {
        {"a[href]", "Link Properties...", "Link Properties"},
        {"code", "Bookmark Properties...", "Insert Bookmark"},
        {"ul > li", "List Properties...", "List Properties"},
        {"hr", "Horizontal Line Properties...", "Horizontal Line Properties"},
        {"img", "Image Properties...", "Image Properties"},
    };
    for (const auto& element : elements)
    {
        for (const char* button : {"OK", "Cancel"})
        {
            const std::string before = Body().toStdString();
            DialogTest::ModalScript script;
            script.Then(Titled(element.title), [button](QWidget* window)
                        { DialogTest::ClickButton(window, QLatin1String(button)); });
            UseContextItem(QLatin1String(element.selector), QLatin1String(element.item), script);
            EXPECT_EQ(Body().toStdString(), before) << element.item << " " << button;
        }
    }
}

// Change Image with files a user may pick: a picture of any size or colour model joins the layout
// at its own size and shows its own colours; a file without a picture, cut short or claiming an
// impossible size is named and refused, an empty file is reported; nothing else joins the layout.
TEST_F(ElementEditing, ChangeImageWithAllKindsOfFiles)
{
    OpenLetter();
    QImage large(6000, 4000, QImage::Format_RGB32);
    large.fill(QColor(20, 120, 220));
    QImage green(30, 10, QImage::Format_RGB32);
    green.fill(QColor(0, 200, 0));
    const QByteArray png = ImageBytes(green, "PNG");
    // 40 x 20 in CMYK as picture editors write it (Adobe's inverted form): no cyan, 60 % magenta,
    // full yellow, no black, which is orange on screen.
    QFile cmyk(QStringLiteral(KV_TEST_DATA_DIR "/orange-cmyk.jpg"));
    ASSERT_TRUE(cmyk.open(QIODevice::ReadOnly));
    const struct
    {
        const char* file;
        QByteArray bytes;
        const char* message; // null: taken
        int width;
        int height;
        QColor colour; // of a pixel the page draws, where it is a single colour
    } cases[] = {
        {"green.png", png, nullptr, 30, 10, QColor(0, 200, 0)},
        {"moving.gif", AnimatedGif(), nullptr, 1, 1, QColor(255, 0, 0)},
        {"orange.jpg", cmyk.readAll(), nullptr, 40, 20, QColor(255, 102, 0)},
        {"huge.png", HugePngHeader(), "holds no picture", 0, 0, {}},
        {"cut.png", png.left(png.size() / 2), "holds no picture", 0, 0, {}},
        {"page.jpg", QByteArray("<html><body>not a picture</body></html>"), "holds no picture", 0, 0, {}},
        {"empty.png", QByteArray(), "could not be loaded", 0, 0, {}},
        // Last: the page then shows it far larger than the window.
        {"large.jpg", ImageBytes(large, "JPEG"), nullptr, 6000, 4000, QColor(20, 120, 220)},
    };
    for (const auto& c : cases)
    {
        const QString path = Path(QString::fromLatin1(c.file));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(c.bytes);
        file.close();
        const ndb::CNdbNewsletter* newsletter = m_app->GetContext()->GetCurrentNewsletter();
        const std::size_t resources = newsletter->Layout().Resources().size();
        QString shown;
        DialogTest::ModalScript script;
        script.Then(IsFileDialog, [path](QWidget* dialog) { ChooseFiles(dialog, {path}); });
        if (c.message)
            script.Then(ShowsMessage(c.message),
                        [&shown](QWidget* box)
                        {
                            shown = dynamic_cast<CDlgMessageBox*>(CWnd::FromHandle(box))->m_text;
                            DialogTest::ClickButton(box, QStringLiteral("OK"));
                        });
        // The first file through the context menu, the others through the same command on the
        // picture, which is still selected with its handles.
        if (&c == &cases[0])
        {
            UseContextItem(QStringLiteral("img"), QStringLiteral("&Change Image"), script);
        }
        else
        {
            script.Start();
            QTimer::singleShot(0,
                               [this]
                               {
                                   std::unique_ptr<CHtmlDocument> document;
                                   ASSERT_TRUE(Browser().GetDHtmlDocument(document));
                                   m_layout->ChangeImage(
                                       document->GetElementsByTagName(QStringLiteral("img")).at(0));
                               });
            WaitForScript(script);
        }
        if (c.message)
        {
            EXPECT_EQ(newsletter->Layout().Resources().size(), resources) << c.file;
            if (c.bytes.size() > 0)
            {
                EXPECT_TRUE(shown.contains(path)) << shown.toStdString();
            }
            continue;
        }
        ASSERT_EQ(newsletter->Layout().Resources().size(), resources + 1) << c.file;
        const ndb::CNdbResource& added = *newsletter->Layout().Resources().back();
        EXPECT_EQ(added.GetInt(ndb::ResourceWidth), c.width) << c.file;
        EXPECT_EQ(added.GetInt(ndb::ResourceHeight), c.height) << c.file;
        EXPECT_EQ(added.GetPayload(), c.bytes) << "the file is kept as it is: " << c.file;
        const QString source = QStringLiteral("img/") + QLatin1String(c.file);
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return Run("document.images[0].getAttribute('src')").toString() == source; }, 5000));
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return Run("document.images[0].naturalWidth").toInt() == c.width; }, 10000))
            << c.file;
        EXPECT_EQ(UndoTitles().value(0), "Image Change");
        const QColor drawn = DrawnPixel();
        const auto near = [](int a, int b) { return std::abs(a - b) <= 6; }; // JPEG may shift a little
        EXPECT_TRUE(near(drawn.red(), c.colour.red()) && near(drawn.green(), c.colour.green()) &&
                    near(drawn.blue(), c.colour.blue()))
            << c.file << ": " << drawn.name().toStdString();
    }
}

// The Insert menu: a link needs a selection, a bookmark goes in at the caret, and an image file
// becomes a paragraph with the picture, its resource in the layout, all in one step each.
TEST_F(ElementEditing, InsertLinkBookmarkAndImage)
{
    OpenLetter();
    ChangeSelection(
        Browser(),
        QStringLiteral("getSelection().collapse(document.querySelector('p:last-child').firstChild, 5)"));
    DialogTest::ModalScript noSelection;
    noSelection.Then(ShowsMessage("Please select the content you wish to link."),
                     [](QWidget* box) { DialogTest::ClickButton(box, QStringLiteral("OK")); });
    UseMenuItem({"&Insert", "Link..."}, noSelection);
    EXPECT_FALSE(Body().contains("testlink"));

    DialogTest::ModalScript bookmark;
    bookmark.Then(Titled("Insert Bookmark"),
                  [](QWidget* window)
                  {
                      TypeInto(window, IDC_BOOKMARK_INSERT_NAME, QStringLiteral("end"));
                      DialogTest::ClickButton(window, QStringLiteral("OK"));
                  });
    UseMenuItem({"&Insert", "Bookmark..."}, bookmark);
    EXPECT_TRUE(Body().contains("<code name=\"end\"")) << Body().toStdString();
    EXPECT_EQ(UndoTitles().value(0), "Bookmark Properties");

    QImage green(30, 10, QImage::Format_RGB32);
    green.fill(QColor(0, 200, 0));
    const QString path = Path(QStringLiteral("green.png"));
    ASSERT_TRUE(green.save(path));
    const ndb::CNdbNewsletter* newsletter = m_app->GetContext()->GetCurrentNewsletter();
    const std::size_t resources = newsletter->Layout().Resources().size();
    DialogTest::ModalScript image;
    image.Then(IsFileDialog, [path](QWidget* dialog) { ChooseFiles(dialog, {path}); })
        .Then(Titled("Import options for images"),
              [](QWidget* window) { DialogTest::ClickButton(window, QStringLiteral("OK")); });
    UseMenuItem({"&Insert", "Image..."}, image);
    ASSERT_EQ(newsletter->Layout().Resources().size(), resources + 1);
    const QString id = newsletter->Layout().Resources().back()->GetString(ndb::ResourceId);
    EXPECT_TRUE(Body().contains(QStringLiteral("<p><img src=\"img/green.png"))) << Body().toStdString();
    EXPECT_TRUE(Body().contains(QStringLiteral("name=\"src_ResID:%1;\"").arg(id))) << Body().toStdString();
    EXPECT_EQ(UndoTitles().value(0), "Insert Image");
}

// Modify Image opens the effect editor on the picture; its effect then shows on the page.
TEST_F(ElementEditing, ModifyImageGivesThePictureAnEffect)
{
    OpenLetter();
    DialogTest::ModalScript script;
    script.Then(Titled("Image Properties"), [](QWidget* window) { Click(window, IDC_MODIFY_IMAGE); })
        .Then(Titled("Image Effect"),
              [](QWidget* window) { DialogTest::ClickButton(window, QStringLiteral("OK")); })
        .ThenAgain(Titled("Image Properties"),
                   [](QWidget* window) { DialogTest::ClickButton(window, QStringLiteral("OK")); });
    UseContextItem(QStringLiteral("img"), QStringLiteral("Image Properties..."), script);
    const QString source = Run(QStringLiteral("document.images[0].getAttribute('src')")).toString();
    ASSERT_TRUE(source.startsWith(QLatin1String("img/dot.png?pid="))) << source.toStdString();
    const QString key = source.mid(QStringLiteral("img/dot.png?pid=").size());
    EXPECT_NE(m_app->GetContext()->GetCurrentNewsletter()->Project().GetPipeline(key), nullptr);
}
