#pragma once

#include "platform/ui/HtmlElement.h"

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>
#include <vector>

class QWebEnginePage;

// The document a browser control has loaded, read through its engine. Every read runs a small
// script in a world of its own, apart from the page's scripts, and waits for the answer in a
// nested event loop for at most the time-out: a page that hangs its renderer cannot hold the
// program. A read fails when the page went away, the answer did not come in time or was too long.
class CHtmlDocument
{
public:
    static constexpr int DefaultTimeout = 10000;

    explicit CHtmlDocument(QWebEnginePage* page, int timeoutMs = DefaultTimeout);

    // The MIME type the document was served as, such as "text/html".
    bool GetContentType(QString& type) const;
    // The address of the document itself, which may still be the old one while a load runs.
    bool GetUrl(QString& url) const;
    // "loading", "interactive" or "complete".
    bool GetReadyState(QString& state) const;
    // The markup inside the document's first "html" element.
    bool GetHtmlInnerHtml(QString& markup, qsizetype maxLength) const;
    // The markup inside the document's body. What the editing library adds to a page in edit
    // mode (the merge fields' atomic marks, the object handles) is not part of it.
    bool GetBodyInnerHtml(QString& markup, qsizetype maxLength) const;
    // The whole document as the engine writes it out.
    bool GetSource(QString& markup, qsizetype maxLength) const;

    std::optional<CHtmlElement> GetBody() const;
    // Every element with that tag name ("*" for all) in document order.
    std::vector<CHtmlElement> GetElementsByTagName(const QString& tagName) const;
    std::optional<CHtmlElement> GetElementById(const QString& id) const;
    // The element at a point of the control's client area.
    std::optional<CHtmlElement> ElementFromPoint(int x, int y) const;

    // "none", "text" (also a caret) or "control" (an object is selected).
    QString GetSelectionType() const;
    // The element that holds the whole selected text, or the selected object.
    std::optional<CHtmlElement> GetSelectionParentElement() const;
    // The selected object (image, table, box); none for a text selection.
    std::optional<CHtmlElement> GetSelectedObject() const;
    // Every element with the tag whose content overlaps the selection, in document order.
    std::vector<CHtmlElement> GetSelectedElements(const QString& tagName) const;
    // Selects the element as an object, with its handles.
    bool SelectObject(const CHtmlElement& element) const;

    // The titles of the steps Undo and Redo would take, the next one first.
    QStringList GetUndoTitles() const;
    QStringList GetRedoTitles() const;
    bool BeginUndoUnit(const QString& title) const;
    bool EndUndoUnit() const;

    // Runs one function of the editing library with the arguments (texts, numbers, bools, lists
    // and element numbers) and hands back its answer. False without the library or an answer.
    bool Call(const QString& function, const QVariantList& args, QVariant& result) const;
    // The element of a number the library answered with; none for no element.
    std::optional<CHtmlElement> ElementOf(const QVariant& ref) const;

private:
    bool Evaluate(const QString& script, QVariant& result) const;
    bool ReadText(const QString& expression, QString& text, qsizetype maxLength) const;
    std::vector<CHtmlElement> ElementsOf(const QVariant& refs) const;

    QPointer<QWebEnginePage> m_page;
    int m_timeoutMs;
};
