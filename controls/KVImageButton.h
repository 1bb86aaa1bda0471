#pragma once

#include "controls/KVImage.h"
#include "controls/KVSystemFont.h"
#include "platform/ui/Wnd.h"

#include <memory>

// The program's push button: a child window drawn from a strip of four frames, with an optional
// icon strip, one line of text and a colour swatch. A click sends WM_COMMAND (wParam the control
// id, lParam 0) to the notify window; BM_SETCHECK shows it checked.
class CKVImageButton : public CWnd
{
public:
    static constexpr DWORD StyleAutoRepeat = 0x0004;
    static constexpr DWORD StyleThreeSlice = 0x0008;
    static constexpr DWORD StyleRepeatLastColumn = 0x0010;
    static constexpr DWORD StyleFillBackground = 0x0080;
    static constexpr DWORD StyleCenterText = 0x0100;
    static constexpr DWORD StyleSwatch = 0x0200;

    CKVImageButton();
    // Creates the button at once: no icon or text, style 0x0001, background 0xC0C0C0.
    CKVImageButton(UINT stateImageId, CWnd* parent, UINT id);
    ~CKVImageButton() override;

    bool Create(UINT stateImageId, UINT iconImageId, const QString& text, DWORD style, const CRect& rect,
                CWnd* parent, UINT id, CWnd* notifyWnd, COLORREF background);

    QString GetText() const { return m_text; }
    QString GetAltText() const { return m_altText; }
    CSize GetImageSize() const;
    CSize GetPreferredSize();

    // Set by the owner after creation; read at the next paint.
    COLORREF m_textColors[4] = {0x000000, 0x000000, 0x000000, 0x808080};
    CPoint m_textOffset;
    COLORREF m_swatchColor = 0x0000FF;
    CRect m_swatchRect{3, 16, 19, 20};
    QString m_altText;

protected:
    const MessageMap* GetMessageMap() const override;
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnLButtonDown(WPARAM, LPARAM);
    LRESULT OnLButtonUp(WPARAM, LPARAM lParam);
    LRESULT OnMouseMove(WPARAM, LPARAM lParam);
    LRESULT OnTimer(WPARAM timerId, LPARAM);
    LRESULT OnGetDlgCode(WPARAM, LPARAM);
    LRESULT OnSetCheck(WPARAM check, LPARAM);
    LRESULT OnCancelMode(WPARAM, LPARAM);
    LRESULT OnEnable(WPARAM, LPARAM);

private:
    static constexpr UINT_PTR HoverTimer = 1;
    static constexpr UINT_PTR RepeatTimer = 2;

    int ComputeState() const;
    void UpdateState();
    void SendCommand();
    void DrawFace(Gdiplus::Graphics& graphics, int frame, int clientWidth);

    CKVImage m_stateImage;
    CKVImage m_iconImage;
    QString m_text;
    DWORD m_style = 0;
    CWnd* m_parent = nullptr;
    UINT m_id = 0;
    CWnd* m_notifyWnd = nullptr;
    std::unique_ptr<CKVSystemFont> m_font;
    COLORREF m_background = 0xC0C0C0;
    int m_state = 0;
    bool m_hover = false;
    bool m_pressed = false;
    bool m_tracking = false;
};
