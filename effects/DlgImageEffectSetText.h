#pragma once

#include "platform/ui/Dialog.h"

#include <array>

// Up to five texts of an image's effect, one per visible text layer, changed without the effect
// editor. The caller sets the count of text layers it found and their texts; rows beyond the
// count are disabled, and a note says when there are more layers than rows.
class CDlgImageEffectSetText : public CDialog
{
public:
    static constexpr int RowCount = 5;

    explicit CDlgImageEffectSetText(CWnd* parent = nullptr);
    ~CDlgImageEffectSetText() override;

    int m_count = RowCount;
    std::array<QString, RowCount> m_texts;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
};
