#pragma once

#include "gre/GreImage.h"
#include "platform/ui/GdiplusTypes.h"
#include "platform/ui/ScrollBars.h"
#include "platform/ui/Wnd.h"

// The preview pane of the image-effect dialogs: one picture at a zoom of 0.1 to 7, centred
// while it is smaller than the window, scrolled with the window's bars or by dragging while it
// is larger. The owner writes the picture into m_image and then calls Refresh or ZoomToFit.
class CGreImageCtrl : public CWnd
{
public:
    static constexpr double MinZoom = 0.1;
    static constexpr double MaxZoom = 7.0;
    static constexpr double ZoomStep = 0.2;

    CGreImageCtrl();
    ~CGreImageCtrl() override;

    // Out of range factors are clamped and reported by false.
    bool SetZoom(double factor);
    double GetZoom() const { return m_zoom; }
    void ZoomToFit();
    void Refresh();
    void UpdateScrollBars();
    int GetScaledWidth() const;
    int GetScaledHeight() const;
    int GetOffsetX() const;
    int GetOffsetY() const;
    CScrollBars& ScrollBars() { return m_scrollBars; }

    gre::CGreImage m_image;
    Gdiplus::ARGB m_background = 0xFFE0E0E0;

protected:
    const MessageMap* GetMessageMap() const override;
    bool TranslateEvent(QEvent* event, bool* result) override;
    // Zooms on the messages whose wParam is exactly 0x10000 (in) or 0x20000 (out).
    void PreTranslateMessage(WPARAM wParam);
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnSize(WPARAM, LPARAM);
    LRESULT OnLButtonDown(WPARAM, LPARAM);
    LRESULT OnMouseMove(WPARAM, LPARAM lParam);
    LRESULT OnLButtonUp(WPARAM, LPARAM);
    LRESULT OnCancelMode(WPARAM, LPARAM);
    LRESULT OnMouseWheel(WPARAM, LPARAM);
    LRESULT OnVScroll(WPARAM wParam, LPARAM);
    LRESULT OnHScroll(WPARAM wParam, LPARAM);

private:
    void Scroll(int bar, UINT code);
    bool Fits() const;

    CPoint m_lastDrag;
    bool m_dragging = false;
    double m_zoom = 1.0;
    int m_lineStepV = 20;
    int m_lineStepH = 20;
    CScrollBars m_scrollBars{this};
};
