#pragma once

#include "controls/KVImage.h"
#include "platform/ui/Dialog.h"
#include "res/dialogs/EasterEgg.h"

// The credits: a picture in a window that drops in from above the screen and swings to rest in
// its centre.
class CDlgEasterEgg : public CDialog
{
public:
    static constexpr UINT IDD = IDD_EASTER_EGG;
    static constexpr UINT TimerId = 4711;
    static constexpr UINT TimerMs = 50;

    // Variant 0 shows the first credits picture, 1 the second.
    explicit CDlgEasterEgg(BYTE variant, CWnd* parent = nullptr);

    BYTE GetVariant() const { return m_variant; }
    // The window's top at an animation step, with the amplitude of that step.
    static int TopAtStep(int restTop, int step, int steps, float amplitude);

protected:
    bool OnInitDialog() override;

    const MessageMap* GetMessageMap() const override;
    LRESULT OnTimer(WPARAM, LPARAM);
    LRESULT OnPaint(WPARAM, LPARAM);

private:
    void Step();

    BYTE m_variant;
    CKVImage m_picture;
    int m_step = 0;
    int m_steps = 35;
    float m_amplitude = 0;
    int m_left = 0;
    int m_restTop = 0;
};
