#pragma once

#include "dialogs/ColorBoxCtrl.h"
#include "ndb/NdbColor.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/Static.h"

// The name and colour of one palette entry, for adding and editing it.
class CDlgPaletteAddColor : public CDialog
{
public:
    CDlgPaletteAddColor(const QString& caption, const ndb::CNdbColor& color, CWnd* parent = nullptr);
    ~CDlgPaletteAddColor() override;

    QString m_caption;
    ndb::CNdbColor m_color;
    CColorBoxCtrl m_colorBox{nullptr};
    // Set before the dialog runs; read after IDOK together with m_color.
    QString m_name;
    CStatic m_placeholder;

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange* dx) override;
    const MessageMap* GetMessageMap() const override;
    LRESULT OnHelp(WPARAM, LPARAM);
};
