#include "dialogs/DlgColorPicker.h"

#include "dialogs/ColorPainting.h"
#include "dialogs/ShowHelp.h"
#include "ndb/NdbHsv.h"
#include "platform/ui/Button.h"
#include "platform/ui/PaintDC.h"
#include "res/dialogs/ColorPicker.h"

#include <QApplication>
#include <QPalette>
#include <cmath>

using namespace ndb;

namespace
{
constexpr UINT TemplateId = IDD_COLOR_PICKER;
constexpr int ClientWidth = 520;
constexpr int ClientHeight = 350;
constexpr COLORREF Background = 0xE6E3E1;

enum ControlId : UINT
{
    IdH = IDC_H,
    IdS = IDC_S,
    IdV = IDC_V,
    IdR = IDC_R,
    IdG = IDC_G,
    IdB = IDC_B,
    IdHex = IDC_HEX,
    IdWebColors = IDC_WEB_COLORS,
    IdSeparator = IDC_COLOR_PICKER_SEPARATOR,
    IdHelp = IDC_HELP,
};

struct Placement
{
    UINT id;
    int x;
    int y;
    int width;
    int height;
};

constexpr Placement Placements[] = {
    {IDC_H_LABEL, 320, 35, 30, 24},  {IdH, 354, 32, 50, 24},           {IDC_S_LABEL, 320, 61, 30, 24},
    {IdS, 354, 58, 50, 24},          {IDC_S_PERCENT, 408, 61, 20, 24}, {IDC_V_LABEL, 320, 87, 30, 24},
    {IdV, 354, 84, 50, 24},          {IDC_V_PERCENT, 408, 87, 20, 24}, {IDC_R_LABEL, 320, 126, 30, 24},
    {IdR, 354, 123, 50, 24},         {IDC_G_LABEL, 320, 152, 30, 24},  {IdG, 354, 149, 50, 24},
    {IDC_B_LABEL, 320, 178, 30, 24}, {IdB, 354, 175, 50, 24},          {IDC_HEX_LABEL, 320, 217, 30, 24},
    {IdHex, 354, 214, 60, 24},       {IdWebColors, 354, 256, 120, 24},
};

quint8 WebSnap(int channel)
{
    return quint8((channel + 24) / 51 * 51);
}

QRgb PixelOf(float r, float g, float b, bool web)
{
    const int red = int(r);
    const int green = int(g);
    const int blue = int(b);
    return web ? qRgb(WebSnap(red), WebSnap(green), WebSnap(blue)) : qRgb(red, green, blue);
}

COLORREF SystemColor(QPalette::ColorRole role)
{
    const QColor c = QApplication::palette().color(role);
    return RGB(c.red(), c.green(), c.blue());
}

int HexDigitValue(QChar c)
{
    return c <= QLatin1Char('9') ? c.unicode() - '0' : c.unicode() - 'a' + 10;
}
} // namespace

const MessageMap* CDlgColorPicker::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnMessage(WM_PAINT, &CDlgColorPicker::OnPaint),
        OnControl(EN_CHANGE, IdH, &CDlgColorPicker::OnHsvChange),
        OnControl(EN_CHANGE, IdS, &CDlgColorPicker::OnHsvChange),
        OnControl(EN_CHANGE, IdV, &CDlgColorPicker::OnHsvChange),
        OnControl(EN_CHANGE, IdR, &CDlgColorPicker::OnRgbChange),
        OnControl(EN_CHANGE, IdG, &CDlgColorPicker::OnRgbChange),
        OnControl(EN_CHANGE, IdB, &CDlgColorPicker::OnRgbChange),
        OnControl(EN_CHANGE, IdHex, &CDlgColorPicker::OnHexChange),
        OnControl(BN_CLICKED, IdWebColors, &CDlgColorPicker::OnWebColors),
        OnMessage(WM_LBUTTONDOWN, &CDlgColorPicker::OnLButtonDown),
        OnMessage(WM_MOUSEMOVE, &CDlgColorPicker::OnMouseMove),
        OnMessage(WM_LBUTTONUP, &CDlgColorPicker::OnLButtonUp),
        OnMessage(WM_CANCELMODE, &CDlgColorPicker::OnCancelMode),
        OnMessage(WM_CAPTURECHANGED, &CDlgColorPicker::OnCaptureChanged),
        OnCommand(IdHelp, &CDlgColorPicker::OnHelp),
    };
    static const MessageMap map{CDialog::GetMessageMap(), entries};
    return &map;
}

CDlgColorPicker::CDlgColorPicker(CWnd* parent) : CDialog(TemplateId, parent) {}

CDlgColorPicker::~CDlgColorPicker()
{
    DestroyWindow();
}

void CDlgColorPicker::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IdH, m_editH);
    DDX_Control(dx, IdS, m_editS);
    DDX_Control(dx, IdV, m_editV);
    DDX_Control(dx, IdR, m_editR);
    DDX_Control(dx, IdG, m_editG);
    DDX_Control(dx, IdB, m_editB);
    DDX_Control(dx, IdHex, m_editHex);
    DDX_Check(dx, IdWebColors, m_onlyWebColors);
}

bool CDlgColorPicker::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_editHex.m_hexadecimal = true;
    m_editHex.SetLimitText(6);
    // Sized only: a dialog that was not placed is centred over its owner when it is shown.
    SetWindowPos(nullptr, 0, 0, ClientWidth, ClientHeight, SWP_NOMOVE | SWP_NOZORDER);
    PlaceControls();
    const std::pair<CNumberEditCtrl*, int> ranges[] = {{&m_editH, 360}, {&m_editS, 100}, {&m_editV, 100},
                                                       {&m_editR, 255}, {&m_editG, 255}, {&m_editB, 255}};
    for (const auto& [edit, maximum] : ranges)
    {
        edit->SetLimitText(3);
        edit->SetupSpin(0, maximum);
    }
    m_openingColor = m_color;
    PositionsFromColor();
    WriteEdits(false);
    BuildFieldBitmap();
    BuildBarBitmap();
    Invalidate();
    return true;
}

void CDlgColorPicker::PlaceControls()
{
    for (const Placement& p : Placements)
    {
        if (CWnd* control = GetDlgItem(int(p.id)))
            control->MoveWindow(p.x, p.y, p.width, p.height, false);
    }
    if (CWnd* separator = GetDlgItem(IdSeparator))
    {
        CRect rect;
        separator->GetClientRect(&rect);
        separator->MoveWindow(10, 310, 500, rect.Height(), false);
    }
    CRect help;
    if (CWnd* button = GetDlgItem(IdHelp))
        button->GetClientRect(&help);
    const int w = help.Width();
    const int h = help.Height();
    const std::pair<int, int> buttons[] = {{IDOK, 480 - 3 * w}, {IDCANCEL, 490 - 2 * w}, {IdHelp, 500 - w}};
    for (const auto& [id, x] : buttons)
    {
        if (CWnd* button = GetDlgItem(id))
            button->MoveWindow(x, 320, w, h, false);
    }
}

void CDlgColorPicker::PositionsFromColor()
{
    const CNdbHsv hsv(m_color);
    m_barPosition = int(std::trunc(hsv.hue * 255 / 360));
    m_fieldX = int(std::trunc(hsv.saturation * 255));
    m_fieldY = int(std::trunc(hsv.value * 255));
}

void CDlgColorPicker::ColorFromPositions()
{
    m_color = CNdbRgba(CNdbHsv(m_barPosition * 360.0 / 255, m_fieldX / 255.0, m_fieldY / 255.0, 255));
}

void CDlgColorPicker::WriteEdits(bool skipFocused)
{
    const auto focused = [skipFocused](std::initializer_list<const CWnd*> group)
    {
        return skipFocused && std::any_of(group.begin(), group.end(),
                                          [](const CWnd* e) { return e->GetSafeHwnd()->hasFocus(); });
    };
    m_writingEdits = true;
    if (!focused({&m_editHex}))
        m_editHex.SetWindowText(RgbHexText(m_color));
    if (!focused({&m_editH, &m_editS, &m_editV}))
    {
        const CNdbHsv hsv(m_color);
        m_editH.SetValue(int(std::trunc(hsv.hue)));
        m_editS.SetValue(int(std::trunc(hsv.saturation * 100)));
        m_editV.SetValue(int(std::trunc(hsv.value * 100)));
    }
    if (!focused({&m_editR, &m_editG, &m_editB}))
    {
        m_editR.SetValue(m_color.red);
        m_editG.SetValue(m_color.green);
        m_editB.SetValue(m_color.blue);
    }
    m_writingEdits = false;
}

bool CDlgColorPicker::AcceptsTyping(WPARAM command) const
{
    const CWnd* edit = GetDlgItem(LOWORD(command));
    return !m_writingEdits && edit && edit->GetSafeHwnd() && edit->GetSafeHwnd()->hasFocus();
}

void CDlgColorPicker::TakeTypedColor(const CNdbRgba& typed)
{
    if (typed == m_color)
        return;
    m_color = typed;
    WriteEdits(true);
    PositionsFromColor();
    BuildFieldBitmap();
    BuildBarBitmap();
    Invalidate();
}

LRESULT CDlgColorPicker::OnHsvChange(WPARAM wParam, LPARAM)
{
    if (AcceptsTyping(wParam))
        TakeTypedColor(CNdbRgba(
            CNdbHsv(m_editH.GetValue(), m_editS.GetValue() / 100.0, m_editV.GetValue() / 100.0, 255)));
    return 0;
}

LRESULT CDlgColorPicker::OnRgbChange(WPARAM wParam, LPARAM)
{
    if (AcceptsTyping(wParam))
        TakeTypedColor(CNdbRgba(quint8(m_editR.GetValue()), quint8(m_editG.GetValue()),
                                quint8(m_editB.GetValue()), 255));
    return 0;
}

LRESULT CDlgColorPicker::OnHexChange(WPARAM wParam, LPARAM)
{
    if (!AcceptsTyping(wParam))
        return 0;
    // A short text counts from the right: "ff" is blue.
    const QString text = (QStringLiteral("000000") + m_editHex.GetWindowText()).right(6).toLower();
    const auto channel = [&text](int i)
    { return quint8(HexDigitValue(text[i]) * 16 + HexDigitValue(text[i + 1])); };
    TakeTypedColor(CNdbRgba(channel(0), channel(2), channel(4), 255));
    return 0;
}

LRESULT CDlgColorPicker::OnWebColors(WPARAM, LPARAM)
{
    UpdateData(true);
    BuildFieldBitmap();
    BuildBarBitmap();
    Invalidate();
    return 0;
}

void CDlgColorPicker::BuildFieldBitmap()
{
    const bool web = m_onlyWebColors != 0;
    const CNdbRgba hue(CNdbHsv(m_barPosition * 360.0 / 255, 1, 1));
    m_fieldBitmap = QImage(256, 256, QImage::Format_RGB32);
    // Each row runs from its left colour to its right one; both columns run down to black.
    float left[3] = {255, 255, 255};
    float right[3] = {float(hue.red), float(hue.green), float(hue.blue)};
    const float leftStep[3] = {-255.0f / 256, -255.0f / 256, -255.0f / 256};
    const float rightStep[3] = {-right[0] / 256, -right[1] / 256, -right[2] / 256};
    for (int y = 0; y < 256; ++y)
    {
        float c[3] = {left[0], left[1], left[2]};
        const float step[3] = {(right[0] - left[0]) / 256, (right[1] - left[1]) / 256,
                               (right[2] - left[2]) / 256};
        auto* line = reinterpret_cast<QRgb*>(m_fieldBitmap.scanLine(y));
        for (int x = 0; x < 256; ++x)
        {
            line[x] = PixelOf(c[0], c[1], c[2], web);
            for (int k = 0; k < 3; ++k)
                c[k] += step[k];
        }
        for (int k = 0; k < 3; ++k)
        {
            left[k] += leftStep[k];
            right[k] += rightStep[k];
        }
    }
}

void CDlgColorPicker::BuildBarBitmap()
{
    const bool web = m_onlyWebColors != 0;
    m_barBitmap = QImage(30, 256, QImage::Format_RGB32);
    for (int y = 0; y < 256; ++y)
    {
        const CNdbRgba c(CNdbHsv(y * 360.0 / 256, 1, 1));
        const QRgb pixel = PixelOf(c.red, c.green, c.blue, web);
        auto* line = reinterpret_cast<QRgb*>(m_barBitmap.scanLine(y));
        std::fill(line, line + 30, pixel);
    }
}

LRESULT CDlgColorPicker::OnPaint(WPARAM, LPARAM)
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(client, Background);
    DrawField(dc);
    QPainter* painter = dc.Painter();
    painter->drawImage(BarRect.left, BarRect.top, m_barBitmap);
    painter->setPen(Qt::black);
    painter->drawLine(BarRect.left, BarRect.top + m_barPosition, BarRect.right - 1,
                      BarRect.top + m_barPosition);
    const int half = PreviewRect.Height() / 2;
    dc.FillSolidRect(CRect(PreviewRect.left, PreviewRect.top, PreviewRect.right, PreviewRect.top + half),
                     ColorRefOf(m_openingColor));
    dc.FillSolidRect(CRect(PreviewRect.left, PreviewRect.top + half, PreviewRect.right, PreviewRect.bottom),
                     ColorRefOf(m_color));
    return 0;
}

void CDlgColorPicker::DrawField(CDC& dc)
{
    for (int inflate = 1; inflate <= 2; ++inflate)
    {
        CRect frame = FieldRect;
        frame.InflateRect(inflate, inflate);
        dc.Draw3dRect(frame, SystemColor(QPalette::Dark), SystemColor(QPalette::Light));
    }
    QPainter* painter = dc.Painter();
    painter->drawImage(FieldRect.left, FieldRect.top, m_fieldBitmap);
    const int x = FieldRect.left + m_fieldX;
    const int y = FieldRect.top + (255 - m_fieldY);
    const QRgb under = m_fieldBitmap.pixel(m_fieldX, 255 - m_fieldY);
    const bool light = (qRed(under) + qGreen(under) + qBlue(under) + 20) / 3 > 128;
    painter->save();
    painter->setClipRect(FieldRect.ToQRect());
    painter->setPen(light ? Qt::black : Qt::white);
    painter->drawLine(x - 10, y, x + 10, y);
    painter->drawLine(x, y - 10, x, y + 10);
    painter->restore();
}

LRESULT CDlgColorPicker::OnLButtonDown(WPARAM, LPARAM lParam)
{
    const CPoint point(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    if (FieldRect.PtInRect(point))
        m_dragState = FieldDrag;
    else if (BarRect.PtInRect(point))
        m_dragState = BarDrag;
    else
        return Default();
    SetCapture();
    DragTo(point);
    return 0;
}

LRESULT CDlgColorPicker::OnMouseMove(WPARAM, LPARAM lParam)
{
    if (m_dragState != NoDrag)
        DragTo(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
    return 0;
}

void CDlgColorPicker::DragTo(const CPoint& point)
{
    if (m_dragState == FieldDrag)
    {
        m_fieldX = std::clamp(point.x - FieldRect.left, 0, 255);
        m_fieldY = 255 - std::clamp(point.y - FieldRect.top, 0, 255);
    }
    else
    {
        const int position = std::clamp(point.y - BarRect.top, 0, 255);
        if (position == m_barPosition)
            return;
        m_barPosition = position;
        BuildFieldBitmap();
    }
    ColorFromPositions();
    WriteEdits(false);
    Invalidate();
}

LRESULT CDlgColorPicker::OnLButtonUp(WPARAM, LPARAM)
{
    if (GetCapture() != this)
        return 0;
    m_dragState = NoDrag;
    ReleaseCapture();
    Invalidate();
    return 0;
}

LRESULT CDlgColorPicker::OnCancelMode(WPARAM, LPARAM)
{
    m_dragState = NoDrag;
    return Default();
}

LRESULT CDlgColorPicker::OnCaptureChanged(WPARAM, LPARAM lParam)
{
    if (reinterpret_cast<CWnd*>(lParam) != this)
        m_dragState = NoDrag;
    return 0;
}

LRESULT CDlgColorPicker::OnHelp(WPARAM, LPARAM)
{
    PostHelpRequest(TemplateId);
    return 0;
}
