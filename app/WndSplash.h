#pragma once

#include "platform/ui/Wnd.h"

#include <QImage>

// The start-up picture, shown while the main window builds itself: a see-through, topmost pop-up
// centred on the primary screen. It ends when its timer has run out and its owner is ready,
// whichever comes second: it closes and posts the end command to the owner, once.
//
// The owner creates it, names itself and the end command, starts the timer TimerId with
// TimerElapse ms on it, and calls SetReady when its own creation is complete.
class CWndSplash : public CWnd
{
public:
    static constexpr UINT_PTR TimerId = 4111;
    static constexpr UINT TimerElapse = 4000;
    static constexpr UINT PictureId = 322;

    CWndSplash() = default;
    ~CWndSplash() override;

    // Loads the picture, makes the window and shows it; false when the window cannot be made.
    virtual bool Create(CWnd* owner);
    void SetEndCommand(CWnd* owner, int command);
    // The owner's creation is complete. Ends the splash at once when its time has run out.
    void SetReady();

    bool IsReady() const { return m_ready != 0; }
    bool HasElapsed() const { return m_elapsed != 0; }
    // The picture as the window shows it, with premultiplied colour.
    const QImage& GetPicture() const { return m_picture; }

protected:
    const MessageMap* GetMessageMap() const override;
    LRESULT OnTimer(WPARAM, LPARAM);

private:
    // Closes the splash and posts the end command once both the timer and the owner are done.
    void EndWhenDue();

    BYTE m_ready = 0;
    BYTE m_elapsed = 0;
    CWnd* m_owner = nullptr;
    int m_endCommand = 0;
    QImage m_picture;
    bool m_ended = false;
};
