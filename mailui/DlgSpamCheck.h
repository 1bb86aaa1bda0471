#pragma once

#include "controls/KVImage.h"
#include "mail/FilterBayesian.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/ListCtrl.h"
#include "platform/ui/Static.h"

class ISpamRater;

// "Spam Check (content screening)": rates the page when it opens and shows one of three lamps
// and the words that weigh most towards spam.
class CDlgSpamCheck : public CDialog
{
public:
    static constexpr UINT IDD = 230;
    static constexpr UINT BannerImageId = 317;
    static constexpr double ListThreshold = 0.6;

    CDlgSpamCheck(ISpamRater* rater, const QString& html, CWnd* parent = nullptr);

    // Rows of the word list: by probability, lowest first.
    static bool CompareSpamRows(double first, double second) { return first < second; }

    CListCtrl& GetWordList() { return m_words; }
    // The icon id each lamp shows: high, medium, low.
    const UINT* GetLampIcons() const { return m_lampIcons; }
    void DrawBanner(QPainter& painter) const;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;

    const MessageMap* GetMessageMap() const override;
    LRESULT OnHelp(WPARAM, LPARAM);
    LRESULT OnPaint(WPARAM, LPARAM);

private:
    void FillWords();
    void LightLamp(int rating);

    SpamFilter::TokenScoreMap m_tokenScores;
    QString m_html;
    CListCtrl m_words;
    CStatic m_lamps[3];
    UINT m_lampIcons[3]{0, 0, 0};
    CKVImage m_banner;
    ISpamRater* m_rater;
};
