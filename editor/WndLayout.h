#pragma once

#include "editor/ToolbarLayout.h"
#include "platform/ui/IEBrowser.h"

class ILayoutContext;
class CNestedWait;
class QDeadlineTimer;
class CMenu;
class CTableGrid;
struct TableEdit;
namespace ndb
{
class CNdbColor;
class CNdbNewsletter;
class CNdbResource;
} // namespace ndb

// The layout editor of the open newsletter: a toolbar over a browser that shows the newsletter's
// page from the local web server. "Edit Layout" reloads the page in its edit form and makes the
// live document the editing surface; "Save Layout" stores the body's markup in the newsletter's
// layout record, "Cancel Layout" drops the changes. A second browser, out of sight, holds an
// empty editable document for the paste commands. Nothing is written to disk here.
class CWndLayout : public CWnd
{
public:
    static constexpr UINT ToolbarId = 4711;
    static constexpr UINT BrowserId = 4711;
    static constexpr UINT ScratchBrowserId = 5522;
    static constexpr UINT ContextMenuId = 174;
    static constexpr COLORREF BackgroundColor = 0xE6E3E1; // RGB(225, 227, 230)
    // Web-view and automatic unsubscribe links carry this address in the layout until the page
    // generator puts in the real one; it is never a real link target.
    static constexpr const char* PlaceholderLinkAddress = "http://kelvora.invalid/";
    // Edit Layout gives up after this many slices of 50 ms.
    static constexpr int WaitSlices = 600;
    static constexpr int WaitSliceMs = 50;

    // The id of the style element of the edit page that holds the newsletter's style sheet.
    static constexpr const char* SystemStyleId = "KV_SYSTEM_STYLE_ID";

    explicit CWndLayout(ILayoutContext* context);
    ~CWndLayout() override;

    // The window and its children; false only when the window itself cannot be created.
    bool Create(CWnd* parent);
    // Shows the open newsletter as it is now: in view mode its page is loaded again, in edit mode
    // only the newsletter's style sheet in the live page is replaced.
    void Refresh();
    // Navigates the browser and waits, with the message loop running, for the page to complete.
    bool NavigateAndWait(const QString& url);
    void ArrangeChildren();
    // Ends edit mode keeping the changes; false, still in edit mode, when the markup could not be
    // read or stored.
    bool SaveEdit();
    // Ends edit mode dropping the changes.
    void CancelEdit();

    bool IsEditing() const;
    // Whether a page load is being waited for; commands that navigate are refused meanwhile.
    bool IsWaiting() const { return m_waiting; }
    // The address of the open newsletter's page, or of its edit form; empty without a newsletter.
    QString GetPageUrl(bool edit = false) const;

    CIEBrowser& GetBrowser() { return m_browser; }
    // The hidden browser with an empty editable document, made when first asked for.
    CIEBrowser& GetScratchBrowser();
    CToolbarLayout& GetToolbar() { return m_toolbar; }

    bool OnCmdMsg(UINT id, UINT code) override;
    // Tab and Shift+Tab in a table cell of the edited page step to the next or previous cell.
    bool PreTranslateMessage(MSG* msg) override;

    // ---- Tables (WndLayoutTables.cpp) ----
    // The table commands of the context menu on the table and cell numbered in the page; nothing
    // without a cell.
    void RunTableMenuCommand(UINT id, int tableRef, int cellRef);
    // A table item of the context menu opened on the event's element.
    void RunTableMenuItem(UINT id, const CHtmlEventObj& event);
    // Moves the selection to the whole content of the next or previous cell of the table that
    // holds it; the last cell gets a new row after it first. False when nothing moved.
    bool SelectNextTableCell();
    bool SelectPreviousTableCell();
    // The properties dialogs of a table and of a table cell (WndLayoutTableProperties.cpp).
    void EditTableProperties(const std::optional<CHtmlElement>& table);
    void EditTableCellProperties(const std::optional<CHtmlElement>& cell);

    // ---- Element properties (WndLayoutElements.cpp) ----
    // Each runs its dialog and makes its changes in one named undo unit; none changes anything
    // after Cancel. A missing element means a new one at the selection.
    void EditLinkProperties(std::optional<CHtmlElement> anchor);
    void EditBookmarkProperties(std::optional<CHtmlElement> code);
    void EditListProperties(std::optional<CHtmlElement> list, bool ordered);
    void EditHorizontalRuleProperties(std::optional<CHtmlElement> rule);
    // Points the image at the resource under the pipeline and returns it to the picture's
    // natural size.
    void SetImageSource(CHtmlElement& image, const ndb::CNdbResource* resource, const QString& pipelineId);
    void EditImageProperties(std::optional<CHtmlElement> image);
    // Shows another picture file in the image, keeping its effect.
    void ChangeImage(std::optional<CHtmlElement> image);

    // ---- Image effects (WndLayoutEffects.cpp) ----
    // Another effect from the effect library; its texts; none; its properties. Each does nothing
    // for an image without a resource of the newsletter.
    void ChangeImageEffect(std::optional<CHtmlElement> image);
    void ChangeImageText(std::optional<CHtmlElement> image);
    void ResetImageEffect(std::optional<CHtmlElement> image);
    void EditImageEffect(std::optional<CHtmlElement> image);
    // Appends the names of the document's bookmarks in document order; false without a document.
    bool GetBookmarkNames(QStringList& names);

protected:
    const MessageMap* GetMessageMap() const override;
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnSize(WPARAM, LPARAM);
    LRESULT OnBeforeNavigate(WPARAM id, LPARAM url);
    LRESULT OnDocumentComplete(WPARAM id, LPARAM);
    LRESULT OnScratchLoaded(WPARAM, LPARAM);
    LRESULT OnLoadSpamDatabase(WPARAM, LPARAM);
    // Waits for the browser's next completed load; false when none came before the deadline.
    bool WaitForDocumentComplete(const QDeadlineTimer& deadline);
    // Whether the browser's document is the page at the address.
    bool ShowsPage(const QString& url) const;
    LRESULT OnContextMenuEvent(WPARAM id, LPARAM);
    LRESULT OnShowContextMenu(WPARAM, LPARAM);
    LRESULT OnDoubleClickEvent(WPARAM id, LPARAM);
    LRESULT OnImageDoubleClicked(WPARAM withControl, LPARAM);
    LRESULT OnEditLayout(WPARAM, LPARAM);
    LRESULT OnSaveLayout(WPARAM, LPARAM);
    LRESULT OnCancelLayout(WPARAM, LPARAM);
    LRESULT OnHelp(WPARAM, LPARAM);
    // Rates the edited body for spam; nothing while not editing or with an empty body.
    LRESULT OnSpamCheck(WPARAM, LPARAM);
    void OnUpdateEditCommand(CCmdUI* cmdUI);
    // The engine's own paste or drop: the clipboard is pasted the editor's way.
    LRESULT OnBrowserPaste(WPARAM id, LPARAM plainText);
    LRESULT OnInsertLink(WPARAM, LPARAM);
    LRESULT OnInsertBookmark(WPARAM, LPARAM);
    LRESULT OnInsertImage(WPARAM, LPARAM);
    // Whether a chosen picture file can join the newsletter; otherwise says why.
    bool AcceptChosenImage(int result, const ndb::CNdbResource* chosen);

private:
    // ---- Editing commands (WndLayoutCommands.cpp) ----
    // Runs a command of the tables of simple, merge-field and text-style commands; false for an
    // id none of them holds.
    bool RunTableCommand(UINT id);
    static bool IsTableCommand(UINT id);
    void RunSimpleCommand(UINT id);
    void AlignParagraphs(UINT id);
    // Removes "align" from every div, table and td of the document.
    void RemoveAlignAttributes();
    void ApplyStyleByTag(const QString& tag);
    bool ApplyTextStyle(const QString& className);
    bool ApplyTextStyleToParagraphs(const QString& className);
    void ApplyChosenStyle();
    void ApplyChosenFont();
    void ApplyChosenFontSize();
    void InsertMergeField(int fieldCode, const QString& label);
    void InsertTable();
    // Reads the table's rows into the grid with the cell as its reference.
    bool BuildTableGrid(int tableRef, int cellRef, CTableGrid& grid);
    // Runs the changes in the named unit and draws the cell borders again from the table's own.
    bool ApplyTableEdits(const QString& title, int tableRef, const std::vector<TableEdit>& edits);
    // The cell border the table's border metadata and spacing ask for: the declaration (empty for
    // none) and the spacing; false when the table does not say.
    bool GetTableCellBorder(int tableRef, QString& border, int& spacing);
    bool SelectTableCell(bool next);
    void Paste();
    void PasteAsText();
    // The colour a toolbar colour button holds: a palette reference when it names a key, else
    // its fixed colour.
    static ndb::CNdbColor GetButtonColor(const CKVImageButton& button);
    // The popup colour grid below the button; a choice is stored in the button.
    void PickButtonColor(CKVImageButton* button);
    void ApplyButtonColor(UINT id);

    ndb::CNdbNewsletter* CurrentNewsletter() const;
    void LoadSpamDatabase();
    // Puts the newsletter's style sheet as it is now into the edit page.
    void ReplaceNewsletterCss();
    void ShowViewToolbar();
    // Leaves edit mode and shows the view page again.
    void EndEdit();
    void SendToMainWindow(UINT command);
    void ShowViewModeMenu(CMenu& menu, int x, int y);
    void ShowEditModeMenu(CMenu& menu, const CHtmlEventObj& event);
    // Runs a context-menu item of the element dialogs on the element under the pointer; false
    // for another item.
    bool RunElementCommand(UINT command, const CHtmlElement& source);
    // The newsletter resource the image shows, and its effect's key; null without one.
    const ndb::CNdbResource* FindImageResource(const std::optional<CHtmlElement>& image,
                                               QString& pipelineId) const;
    // Points the image at the resource under the effect in one undo unit.
    void PointImageAtEffect(CHtmlElement& image, const QString& resourceId, const QString& pipelineId,
                            const QString& undoTitle);

    // ---- Box and page commands (WndLayoutBox.cpp) ----
    LRESULT OnInsertBox(WPARAM, LPARAM);
    // The box sheet for the box, or for a new box at the selection without one.
    void EditBoxProperties(const std::optional<CHtmlElement>& box);
    void EditLayoutProperties();

    ILayoutContext* m_context;
    CToolbarLayout m_toolbar;
    CIEBrowser m_browser;
    CIEBrowser m_scratch;
    bool m_documentComplete = false;
    CNestedWait* m_pageWait = nullptr;
    bool m_waiting = false;
    bool m_scratchReady = false;
    bool m_spamDatabaseTried = false;
    // The page event of a context menu about to be shown.
    std::unique_ptr<CHtmlEventObj> m_menuEvent;
    static constexpr UINT UM_IMAGE_DOUBLE_CLICKED = WM_USER + 0x602;
    // The image of a double click whose dialog is about to open.
    std::optional<CHtmlElement> m_doubleClickedImage;
    bool m_imageDialogRunning = false;
};
