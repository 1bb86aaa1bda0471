#pragma once

#include "controls/KVImage.h"
#include "controls/KVImageButton.h"
#include "controls/KVListRow.h"
#include "controls/KVSplitterSeparator.h"
#include "platform/ui/ScrollBars.h"
#include "platform/ui/Wnd.h"

#include <QFont>
#include <memory>
#include <vector>

class CDC;

// The owner-drawn multi-column list of the recipients: sortable, resizable columns, a live
// filter, marking with the mouse and Ctrl+A, and the window's own scroll bars. Only the rows in
// view are painted, and sorting and filtering move row pointers, never the rows.
class CKVList : public CWnd
{
public:
    static constexpr UINT NotifyDoubleClick = 0x600;
    static constexpr UINT NotifyRightClick = 0x601;
    static constexpr UINT NotifyMarking = 0x602;
    static constexpr UINT ControlId = 4701;
    static constexpr int HeaderHeight = 20;
    static constexpr int RowHeight = 20;

    CKVList();
    ~CKVList() override;

    bool Create(const CRect& rect, CWnd* parent);
    void AddColumn(const QString& title, int width);
    void EnableCheckBoxes();
    void SetFilter(const QString& text);
    QString GetFilterText() const { return m_filterText; }
    void SortByColumn(int column, bool ascending);
    void UpdateScrollBars(bool repaint);
    int GetRowCount() const { return int(m_visibleRows.size()); }
    CKVListRow* GetRow(int index) const { return m_visibleRows[size_t(index)]; }
    void SetAllChecked(bool checked);
    int GetCheckedCount() const;
    void DeleteAllRows();
    void DeleteRow(CKVListRow* row);

    int GetColumnCount() const { return int(m_headers.size()); }
    int GetColumnWidth(int column) const;
    int GetSortColumn() const { return m_sortColumn; }
    bool IsSortAscending() const { return m_ascending; }
    int GetTotalColumnWidth() const;
    int RowAtPoint(const CPoint& point) const;
    int ColumnBorderAt(const CPoint& point) const;
    bool CellAtPoint(const CPoint& point, int* row, int* column, CRect* cell) const;
    CRect GetListClientRect() const { return m_scrollBars.GetClientRect(); }
    CScrollBars& ScrollBars() { return m_scrollBars; }
    // The tooltip of a client point: -1 without a cell, else the point as the tool id.
    INT_PTR OnToolHitTest(const CPoint& point, CRect* toolRect) const;
    QString GetToolTipText(INT_PTR toolId) const;

    CKVImage m_headerImage;
    Gdiplus::ARGB m_headerFill = 0xFFE6E9ED;
    int m_iconColumn = -1;
    CKVImage m_iconImage;
    int m_iconFrameWidth = 0;
    // Owned: the owner appends new rows and then calls SetFilter.
    std::vector<CKVListRow*> m_rows;

protected:
    const MessageMap* GetMessageMap() const override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool TranslateEvent(QEvent* event, bool* result) override;
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnLButtonDown(WPARAM keys, LPARAM lParam);
    LRESULT OnMouseMove(WPARAM, LPARAM lParam);
    LRESULT OnLButtonUp(WPARAM, LPARAM lParam);
    LRESULT OnCancelMode(WPARAM, LPARAM);
    LRESULT OnCaptureChanged(WPARAM, LPARAM);
    LRESULT OnSize(WPARAM, LPARAM);
    LRESULT OnMouseWheel(WPARAM wParam, LPARAM);
    LRESULT OnLButtonDblClk(WPARAM, LPARAM lParam);
    LRESULT OnRButtonDown(WPARAM keys, LPARAM lParam);
    LRESULT OnVScroll(WPARAM wParam, LPARAM);
    LRESULT OnHScroll(WPARAM wParam, LPARAM);
    LRESULT OnSetFocus(WPARAM, LPARAM);
    LRESULT OnKillFocus(WPARAM, LPARAM);
    LRESULT OnKeyDown(WPARAM key, LPARAM);

private:
    enum MouseMode
    {
        MouseNone = 0,
        MouseResize = 1,
        MouseSweep = 2
    };

    void OnHeaderClick(int column);
    bool SelectAt(WPARAM keys, bool right, const CPoint& point);
    void LayoutHeaders();
    int ColumnLeft(int column) const;
    int AreaHeight() const;
    void PaintHeaderFill(CDC& dc);
    void PaintRows(CDC& dc, int top, int bottom);
    void PaintRow(CDC& dc, int index);
    void DrawCellText(CDC& dc, const CRect& cell, const QString& text, bool marked);
    void RepaintRow(int index);
    void SetChecked(int index, bool checked);
    void ScrollByKey(UINT code, bool vertical);
    void ScrollVertTo(int pos);
    void ScrollHorzTo(int pos);
    bool IsResizable(int column) const;
    Gdiplus::ARGB RowColor(int index, bool marked, bool sortColumn) const;

    std::vector<std::unique_ptr<CKVImageButton>> m_headers;
    int m_sortColumn = 0;
    bool m_ascending = true;
    int m_checkColumn = -1;
    CKVImage m_checkImage;
    int m_checkFrameWidth = 0;
    std::vector<CKVListRow*> m_visibleRows;
    QString m_filterText;
    int m_anchor = 0;
    std::unique_ptr<QFont> m_font;
    bool m_focused = false;
    MouseMode m_mouseMode = MouseNone;
    CPoint m_pressPoint;
    int m_resizeDistance = 0;
    int m_resizeColumn = -1;
    int m_resizeMinX = 0;
    int m_sweepAnchor = -1;
    int m_sweepLast = -1;
    CKVSplitterSeparator m_marker;
    CScrollBars m_scrollBars{this};
};
