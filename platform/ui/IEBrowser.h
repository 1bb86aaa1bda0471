#pragma once

#include "platform/ui/HtmlElement.h"
#include "platform/ui/HtmlEventObj.h"
#include "platform/ui/Wnd.h"

#include <QHash>
#include <QPointer>
#include <QString>
#include <QUrl>
#include <QVariantMap>

#include <functional>

#include <memory>
#include <optional>

class CBrowserChannel;
class CHtmlDocument;
class QPrinter;
class QVariant;
class QWebEnginePage;
class QWebEngineProfile;
class QWebEngineView;

// Messages the browser control sends its parent; wParam is always the control's id, a text in
// lParam is a const QString* valid during the call. The navigation messages (0x1401 to 0x1407)
// come from inside the engine's own work: their handlers must not read the page, which cannot
// answer before they return. The page's reports (0x1464 to 0x1468, 0x152D) come afterwards, and
// their handlers may read and change the page.
// Before the top-level document goes to another address (lParam the address); a reply of exactly 1
// cancels the navigation. Navigations inside frames are not reported.
constexpr UINT UM_BROWSER_BEFORE_NAVIGATE = 0x1401;
// The top-level document has finished loading, or failed to (lParam its address).
constexpr UINT UM_BROWSER_DOCUMENT_COMPLETE = 0x1402;
// The top-level document now shows another address (lParam the address).
constexpr UINT UM_BROWSER_NAVIGATE_COMPLETE = 0x1403;
// The page asks for a window width or height (lParam the number of pixels).
constexpr UINT UM_BROWSER_SET_WIDTH = 0x1404;
constexpr UINT UM_BROWSER_SET_HEIGHT = 0x1405;
// The page, or one of its frames, wants a new window (lParam the address, a const QString*). A
// non-zero reply cancels; with 0 an http, https or mailto address goes to the desktop's own
// program and any other address is dropped: no second browser window is ever opened.
constexpr UINT UM_BROWSER_NEW_WINDOW = 0x1407;
// The selection of the document changed.
constexpr UINT UM_BROWSER_SELECTION_CHANGE = 0x1464;
// A mouse button went down on the page; GetEvent() tells where.
constexpr UINT UM_BROWSER_MOUSE_DOWN = 0x1465;
// The page asks for its context menu; a non-zero reply lets the browser show its own menu, 0
// suppresses it. GetEvent() tells where the pointer was and on which element.
constexpr UINT UM_BROWSER_CONTEXT_MENU = 0x1466;
// A double click on the page; GetEvent() tells where, on which element and whether Ctrl was held.
// The engine has already done what a double click does (select a word) when this comes; the reply
// is not used.
constexpr UINT UM_BROWSER_DBLCLICK = 0x1467;
// In edit mode the user pasted or dropped into the page by the engine's own means; the engine
// inserted nothing, the parent pastes the clipboard itself. lParam 1 asks for plain text.
constexpr UINT UM_BROWSER_PASTE = 0x1468;
// In edit mode the user finished moving or resizing a selected object that has an id (lParam a
// const SnapRectInfo*).
constexpr UINT UM_BROWSER_SNAP_RECT = 0x152D;

struct SnapRectInfo
{
    QString elementId;
    // 3 when the element is positioned absolutely, otherwise 1.
    int positioning{1};
    int left{0};
    int top{0};
    int right{0};
    int bottom{0};
};

// Command ids of QueryStatus and ExecCommand.
constexpr UINT IDM_BLOCKFMT = 2234;     // in: block format name
constexpr UINT IDM_GETBLOCKFMTS = 2233; // out: QStringList of block format names
constexpr UINT IDM_BACKCOLOR = 51;      // in: colour text
constexpr UINT IDM_BOLD = 52;
constexpr UINT IDM_COPY = 15;
constexpr UINT IDM_CUT = 16;
constexpr UINT IDM_DELETE = 17;
constexpr UINT IDM_FONTNAME = 18;  // in: family; out: family at the selection
constexpr UINT IDM_FONTSIZE = 19;  // in: size 1 to 7
constexpr UINT IDM_FORECOLOR = 55; // in: colour text
constexpr UINT IDM_HORIZONTALLINE = 2150;
constexpr UINT IDM_HYPERLINK = 2124; // in: address
constexpr UINT IDM_INDENT = 2186;
constexpr UINT IDM_ITALIC = 56;
constexpr UINT IDM_JUSTIFYCENTER = 57;
constexpr UINT IDM_JUSTIFYFULL = 50;
constexpr UINT IDM_JUSTIFYLEFT = 59;
constexpr UINT IDM_JUSTIFYNONE = 94;
constexpr UINT IDM_JUSTIFYRIGHT = 60;
constexpr UINT IDM_ORDERLIST = 2184;
constexpr UINT IDM_OUTDENT = 2187;
constexpr UINT IDM_PASTE = 26;
constexpr UINT IDM_PRINT = 27;
constexpr UINT IDM_PRINTPREVIEW = 2003;
constexpr UINT IDM_REDO = 29;
constexpr UINT IDM_REMOVEFORMAT = 2230;
constexpr UINT IDM_SELECTALL = 31;
constexpr UINT IDM_SUBSCRIPT = 2247;
constexpr UINT IDM_SUPERSCRIPT = 2248;
constexpr UINT IDM_UNDERLINE = 63;
constexpr UINT IDM_UNDO = 43;
constexpr UINT IDM_UNLINK = 2125;
constexpr UINT IDM_UNORDERLIST = 2185;

// The state bits QueryStatus reports.
constexpr DWORD OLECMDF_SUPPORTED = 0x1;
constexpr DWORD OLECMDF_ENABLED = 0x2;
constexpr DWORD OLECMDF_LATCHED = 0x4;

// Execution options of ExecCommand.
constexpr DWORD OLECMDEXECOPT_DODEFAULT = 0;

// The embedded browser control over the web engine. Each control has a private profile that keeps
// nothing on disk and caches nothing; plugins, pop-up windows and clipboard access are off, and no
// object of ours is offered to the page's scripts.
//
// Editing runs through the program's own editing library, which every top-level document gets in
// a script world of its own: the page's scripts can neither call it nor send its messages. It
// keeps the undo list (named units, typing and the engine's own edits) and reports the selection
// state, so that QueryStatus answers without asking the page.
class CIEBrowser : public CWnd
{
public:
    CIEBrowser();
    ~CIEBrowser() override;

    // Always a visible child of the parent, whatever the style; the parent receives the messages.
    bool Create(const QString& className, DWORD style, const CRect& rect, CWnd* parent, UINT id,
                void* context = nullptr);
    // Leaves edit mode and starts loading the URL; false for a URL that cannot be loaded or
    // before Create.
    bool Navigate(const QString& url);
    // Replaces the document by the HTML text, whose relative addresses are resolved against the
    // base address. False, and nothing changes, before the first navigation has made a document
    // (callers navigate to "about:blank" first) or for a text over the engine's 2 MB limit.
    bool SetDocumentHTML(const QString& html, const QString& baseUrl);
    // Replaces the content of the current document by the HTML text at once, keeping its
    // address; the text's scripts do not run. False without a document.
    bool LoadHtml(const QString& html);
    // The document of the last completed load; false while loading or after a failed load.
    bool GetDHtmlDocument(std::unique_ptr<CHtmlDocument>& document) const;

    // Edit mode: the body becomes editable, objects (images, tables, boxes) can be selected and
    // resized, and every change goes on the library's undo list.
    void SetEditMode(bool on);
    bool SetDesignMode(bool on);
    // Whether the last SetEditMode(true) made the current document editable; owners that leave
    // edit mode by other means clear it.
    bool GetEditFlag() const { return m_editFlag; }
    void SetEditFlag(bool on) { m_editFlag = on; }
    // The owner's keys run Undo and Redo (the program's accelerators): the page then only keeps
    // the engine from undoing on its own, so that one key press is one step. Takes effect with
    // the next SetEditMode.
    void SetHostUndoKeys(bool on) { m_hostUndoKeys = on; }

    // Whether the history holds a page before or after the current one.
    bool CanGoBack() const;
    bool CanGoForward() const;
    // Go one page back or forward; false when there is none.
    bool GoBack();
    bool GoForward();

    // The page event being reported to the parent; null outside such a message.
    std::unique_ptr<CHtmlEventObj> GetEvent() const;

    // The OLECMDF_ state bits of a command: 0 without a document or for a command this control
    // does not know.
    DWORD QueryStatus(UINT commandId) const;
    // The text at the selection as the editing library last reported it, with the command states:
    // the style name of its paragraphs (as GetSelectionStyleName), its font family and CSS font
    // size. Nothing is asked of the page, so an idle update may read it.
    struct SelectionText
    {
        QString styleName;
        QString fontName;
        int fontSize{0};
    };
    const SelectionText& GetReportedSelectionText() const { return m_selectionText; }
    // Whether the command is both supported and enabled now.
    bool IsCommandEnabled(UINT commandId) const;
    // Carries out the command with its default options when it is enabled; nothing otherwise.
    void ExecCommandIfEnabled(UINT commandId);
    // Carries out a command: S_OK, or E_FAIL without a document or when the command did not run,
    // E_NOTIMPL for a command this control does not know. Print asks for the printer first; print
    // preview runs its dialog.
    HRESULT ExecCommand(UINT commandId, DWORD option, const QVariant* in = nullptr, QVariant* out = nullptr);
    // Runs a command with a value when its state holds every bit of the minimum (0: always);
    // E_FAIL when it does not.
    HRESULT SetEditOption(UINT commandId, const QVariant& value, DWORD minimumStatus);
    // The same with a text value; a null text runs the command without a value.
    HRESULT ExecCommandWithValue(DWORD minimumStatus, const QString* value, UINT commandId, DWORD option);

    // Editing operations on the browser's current document. Each that changes the document is
    // one named undo unit; they fail (false, none, empty) without a document.
    // Selects the element's content, or puts the caret at its start; false while an object is
    // selected.
    static bool SetSelection(CIEBrowser& browser, const CHtmlElement& element, bool collapse);
    // Pastes the fragment over the selection; a selected object is replaced.
    static bool InsertHtml(CIEBrowser& browser, const QString& html);
    // Inserts the fragment at block level: the paragraph (and the inline elements) that hold the
    // caret are split around it. Selected text is deleted first.
    static bool InsertTable(CIEBrowser& browser, const QString& html);
    // The nearest "p", "h1" to "h6", "li" or "td" at or above the element; depth counts the
    // levels walked.
    static std::optional<CHtmlElement> FindBlockContainer(const CHtmlElement& element, int& depth);
    static std::optional<CHtmlElement> FindAncestorByTag(const CHtmlElement& element, const QString& tagName);
    // The first element with that name or id.
    static std::optional<CHtmlElement> FindElementByName(CIEBrowser& browser, const QString& name);
    // The class of the element's paragraph: its "p" class, "normal" for a "p" without one, a
    // class of "body"; empty otherwise.
    static QString GetBlockStyleName(const CHtmlElement& element);
    // The style name common to every block of the selection; empty when they differ.
    static QString GetSelectionStyleName(CIEBrowser& browser);
    // The CSS font size at the start of the selection, 0 when none.
    static int GetSelectionFontSize(CIEBrowser& browser);
    // Removes every font size from the selected text ("default font size").
    static bool SetDefaultFontSize(CIEBrowser& browser);
    // Sets the selected text's size as CSS, e.g. 14 and "pt"; 0 means the default size. One undo
    // step that changes only the selected text.
    static bool SetFontSize(CIEBrowser& browser, int size, const QString& unit);
    // Runs an editing operation of the library on the current document.
    static bool CallLibrary(CIEBrowser& browser, const QString& function, const QVariantList& args,
                            QVariant& result);

protected:
    QWidget* CreateHostWidget(QWidget* parent, DWORD style, DWORD exStyle) override;

private:
    friend class CBrowserChannel;

    LRESULT SendToParent(UINT message, LPARAM lParam = 0);
    void OnLoadStarted();
    void OnLoadFinished(bool ok);
    void OnContextMenuRequested(const QPoint& position);
    void OnNewWindow(const QString& address);
    // Takes the command states the library reported, unless newer ones are already here.
    void ApplyStatus(const QVariantMap& state);
    // Reports a pointer event of the page at client coordinates over the element of that number.
    LRESULT ReportPointerEvent(UINT message, const QPoint& client, const QVariant& ref,
                               HtmlEventKeys keys = {});
    // Runs the report once the page has done what it was doing and the engine is back in the
    // program's event loop: the page may wait on the program while it changes the selection (the
    // desktop's selection clipboard), and a parent that reads the page from inside a report would
    // otherwise wait on the page in turn.
    void WhenPageSettles(std::function<void()> report);
    void Print();
    void PrintPreview();
    // Prints the page on the printer and waits until the engine has finished with it.
    bool PrintAndWait(QPrinter* printer);

    QWebEngineProfile* m_profile{nullptr};
    QWebEnginePage* m_page{nullptr};
    QPointer<QWebEngineView> m_view;
    CBrowserChannel* m_channel{nullptr};
    CWnd* m_receiver{nullptr};
    bool m_editFlag{false};
    bool m_hostUndoKeys{false};
    bool m_loaded{false};
    bool m_loadedBefore{false}; // m_loaded when the current load started
    bool m_refused{false};      // the parent refused the current navigation
    bool m_printing{false};
    bool m_navigated{false};
    QUrl m_requested; // the address of the last Navigate until a load completes
    QString m_url;
    std::optional<CHtmlEventObj> m_event;
    // Where the page last asked for a context menu, the element there and the keys held. The
    // engine waits for the menu while it asks, so the element cannot be looked up then.
    struct MenuTarget
    {
        QPoint position;
        QVariant ref;
        HtmlEventKeys keys;
    };
    std::optional<MenuTarget> m_menuTarget;
    // The command states the editing library last reported, and their number.
    QHash<UINT, DWORD> m_status;
    SelectionText m_selectionText;
    qint64 m_statusSerial{-1};
};

// Loads the page in a hidden window and hands back the markup of its document. False when the
// page did not finish loading within the time-out, failed, is no HTML document, or its markup
// is longer than the maximum.
bool LoadPageMarkup(const QString& url, QString& markup, int timeoutMs, qsizetype maxLength);
