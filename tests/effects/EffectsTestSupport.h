#pragma once

#include "dialogs/DialogTestSupport.h"

#include "dialogs/DialogContext.h"
#include "gre/GreImage.h"
#include "ndb/NdbNewsletter.h"
#include "ndb/NdbResource.h"
#include "platform/ui/Wnd.h"

#include <QAbstractButton>
#include <QBuffer>
#include <QComboBox>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTreeWidget>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <memory>

namespace EffectsTest
{
// The application as the effect dialogs see it: one newsletter and its lock.
class FakeContext : public IDialogContext
{
public:
    explicit FakeContext(ndb::CNdbNewsletter* newsletter) : m_newsletter(newsletter) {}
    ndb::CNdbNewsletter* GetCurrentNewsletter() const override { return m_newsletter; }
    int GetServerPort() const override { return 0; }
    std::unique_lock<std::shared_mutex> WriteDocument() override
    {
        ++writes;
        return std::unique_lock(m_lock);
    }

    int writes = 0;

private:
    ndb::CNdbNewsletter* m_newsletter;
    std::shared_mutex m_lock;
};

// A picture with a diagonal, so that placement and cropping show.
inline QImage Picture(int width, int height)
{
    QImage picture(width, height, QImage::Format_ARGB32);
    picture.fill(QColor(0x2E, 0x6D, 0xB4));
    QPainter painter(&picture);
    painter.setPen(QPen(QColor(0xF2, 0xA9, 0x3B), 4));
    painter.drawLine(0, 0, width, height);
    return picture;
}

inline QByteArray PngBytes(const QImage& picture)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    return bytes;
}

inline std::unique_ptr<ndb::CNdbResource> ImageResource(int width, int height)
{
    auto resource = std::make_unique<ndb::CNdbResource>();
    resource->SetPayload(PngBytes(Picture(width, height)));
    resource->SetField(ndb::ResourcePath, ndb::CNdbFieldValue(QStringLiteral("img/photo.png")));
    resource->SetField(ndb::ResourceFileName, ndb::CNdbFieldValue(QStringLiteral("photo.png")));
    return resource;
}

inline QWidget* Item(QWidget* window, int id)
{
    CWnd* wnd = CWnd::FromHandle(window);
    CWnd* item = wnd ? wnd->GetDlgItem(id) : nullptr;
    return item ? item->GetSafeHwnd() : nullptr;
}

inline void Click(QWidget* window, int id)
{
    QTest::mouseClick(Item(window, id), Qt::LeftButton);
    QCoreApplication::processEvents();
}

inline QString Text(QWidget* window, int id)
{
    QWidget* item = Item(window, id);
    if (auto* edit = qobject_cast<QLineEdit*>(item))
        return edit->text();
    if (auto* multiLine = qobject_cast<QPlainTextEdit*>(item))
        return multiLine->toPlainText();
    if (auto* combo = qobject_cast<QComboBox*>(item))
        return combo->currentText();
    return {};
}

inline bool IsChecked(QWidget* window, int id)
{
    return qobject_cast<QAbstractButton*>(Item(window, id))->isChecked();
}

inline QTreeWidget* List(QWidget* window, int id)
{
    return qobject_cast<QTreeWidget*>(Item(window, id));
}

// The rows of a list as their texts, a ticked row with a "+" in front, the selected one in [].
inline QStringList Rows(QWidget* window, int id)
{
    QTreeWidget* list = List(window, id);
    QStringList rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
    {
        QTreeWidgetItem* row = list->topLevelItem(i);
        QString text = (row->checkState(0) == Qt::Checked ? QStringLiteral("+") : QString()) + row->text(0);
        rows << (row->isSelected() ? u'[' + text + u']' : text);
    }
    return rows;
}

inline QRect RowRect(QWidget* window, int id, int row)
{
    QTreeWidget* list = List(window, id);
    return list->visualItemRect(list->topLevelItem(row));
}

// A click on a row's text, as the user selects it.
inline void ClickRow(QWidget* window, int id, int row)
{
    QTreeWidget* list = List(window, id);
    const QPoint at = RowRect(window, id, row).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QCoreApplication::processEvents();
}

// A click on a row's check box, at the left end of the row.
inline void ClickCheckBox(QWidget* window, int id, int row)
{
    QTreeWidget* list = List(window, id);
    const QRect rect = RowRect(window, id, row);
    QStyleOptionViewItem option;
    option.initFrom(list);
    option.rect = rect;
    option.features = QStyleOptionViewItem::HasCheckIndicator;
    const QRect box = list->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, list);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, box.center());
    QCoreApplication::processEvents();
}

// Waits until the gallery window shows its page, loaded.
inline QWebEngineView* GalleryPage(QWidget* window)
{
    auto* view = window->findChild<QWebEngineView*>();
    EXPECT_TRUE(view);
    if (!view)
        return nullptr;
    // The document at the gallery's address says when it has loaded; an answer that comes after
    // the wait is over writes into state that still lives.
    auto loaded = std::make_shared<bool>(false);
    EXPECT_TRUE(QTest::qWaitFor(
        [&]
        {
            auto answered = std::make_shared<bool>(false);
            view->page()->runJavaScript(
                QStringLiteral("document.readyState === 'complete' && location.pathname.endsWith('.htm')"),
                [loaded, answered](const QVariant& complete)
                {
                    *loaded = *loaded || complete.toBool();
                    *answered = true;
                });
            (void)QTest::qWaitFor([&] { return *answered; }, 5000);
            return *loaded;
        },
        60000));
    return view;
}

// The user's click on a thumbnail, delivered to the cell as the page's own event; true once the
// gallery has taken the selection.
inline bool ClickGalleryCell(QWidget* window, QWebEngineView* view, int cell)
{
    view->page()->runJavaScript(
        QStringLiteral("document.getElementById('fileid%1_imgdiv').click();").arg(cell));
    return QTest::qWaitFor([&] { return Item(window, IDOK)->isEnabled(); }, 10000);
}

inline void TypeInto(QWidget* window, int id, const QString& text)
{
    DialogTest::TypeOver(Item(window, id), text);
}
} // namespace EffectsTest
