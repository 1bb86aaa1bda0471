#pragma once

#include "controls/NumberEditCtrl.h"
#include "platform/ui/Dialog.h"

// How images brought into a newsletter are sized: each axis keeps the image's own size, is
// limited to a maximum with the aspect ratio kept, or gets an exact size. Exact sizes go
// together: both axes are fixed or neither. The choice is the user's own and is offered again.
class CDlgImageImportOptions : public CDialog
{
public:
    enum SizeSetting
    {
        OriginalSize = 0,
        ConstrainSize = 1,
        FixedSize = 2,
    };

    // Reads the stored choice; what is not stored keeps its default.
    explicit CDlgImageImportOptions(CWnd* parent = nullptr);
    ~CDlgImageImportOptions() override;

    int m_constrainWidth = 400;
    int m_constrainHeight = 300;
    int m_fixedWidth = 400;
    int m_fixedHeight = 300;
    int m_widthSetting = OriginalSize;
    int m_heightSetting = OriginalSize;

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange* dx) override;
    const MessageMap* GetMessageMap() const override;
    LRESULT OnWidthClicked(WPARAM, LPARAM);
    LRESULT OnHeightClicked(WPARAM, LPARAM);
    LRESULT OnHelp(WPARAM, LPARAM);

private:
    void EnableEdits();

    CNumberEditCtrl m_constrainWidthEdit;
    CNumberEditCtrl m_fixedWidthEdit;
    CNumberEditCtrl m_constrainHeightEdit;
    CNumberEditCtrl m_fixedHeightEdit;
};
