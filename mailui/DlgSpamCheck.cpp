#include "mailui/DlgSpamCheck.h"

#include "dialogs/ShowHelp.h"
#include "mail/SpamRater.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/PaintDC.h"
#include "platform/ui/StandardIcons.h"

#include <QPainter>

#include <algorithm>
#include <vector>

namespace
{
constexpr int IDC_WORDS = 1116;
constexpr int IDC_HELP = 1212;
constexpr int LampIds[] = {1595, 1596, 1597};
constexpr int RiskTextIds[] = {1592, 1593, 1594};
constexpr UINT LitIcons[] = {310, 312, 309};
constexpr UINT UnlitIcon = 311;
// Probabilities travel as the rows' item data in millionths.
constexpr double SortScale = 1e6;
} // namespace

const MessageMap* CDlgSpamCheck::GetMessageMap() const
{
    static const MessageMapEntry entries[] = {
        OnCommand(IDC_HELP, &CDlgSpamCheck::OnHelp),
        OnMessage(WM_PAINT, &CDlgSpamCheck::OnPaint),
    };
    static const MessageMap map{CDialog::GetMessageMap(), entries};
    return &map;
}

CDlgSpamCheck::CDlgSpamCheck(ISpamRater* rater, const QString& html, CWnd* parent)
    : CDialog(IDD, parent), m_html(html), m_rater(rater)
{
}

void CDlgSpamCheck::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_WORDS, m_words);
    for (int i = 0; i < 3; ++i)
        DDX_Control(dx, LampIds[i], m_lamps[i]);
}

bool CDlgSpamCheck::OnInitDialog()
{
    CDialog::OnInitDialog();
    int rating = 0;
    if (!m_rater || !m_rater->RateSpamWithTokens(m_html, rating, m_tokenScores))
        m_tokenScores.clear();
    m_banner.LoadFromResource(BannerImageId);
    CRect client;
    GetClientRect(&client);
    m_words.InsertColumn(0, QString(), LVCFMT_LEFT, client.Width() - 35);
    FillWords();
    LightLamp(rating);
    return true;
}

void CDlgSpamCheck::FillWords()
{
    std::vector<std::pair<double, QString>> rows;
    for (const auto& [token, probability] : m_tokenScores)
        if (probability >= ListThreshold && !token.isEmpty())
            rows.emplace_back(probability, token.left(1).toUpper() + token.mid(1));
    std::stable_sort(rows.begin(), rows.end(),
                     [](const auto& first, const auto& second)
                     { return CompareSpamRows(first.first, second.first); });
    for (const auto& [probability, word] : rows)
    {
        const int row = m_words.InsertItem(m_words.GetItemCount(), word);
        m_words.SetItemData(row, UINT_PTR(probability * SortScale));
    }
}

void CDlgSpamCheck::LightLamp(int rating)
{
    const int lit = rating == 2 ? 0 : rating == 1 ? 1 : 2;
    for (int i = 0; i < 3; ++i)
    {
        m_lampIcons[i] = i == lit ? LitIcons[i] : UnlitIcon;
        m_lamps[i].SetIcon(LoadProgramIcon(m_lampIcons[i]));
        if (CWnd* text = GetDlgItem(RiskTextIds[i]))
            text->EnableWindow(i == lit);
    }
    // A page of low risk lists no words, whatever the tokens weighed.
    if (lit == 2)
        m_words.DeleteAllItems();
}

LRESULT CDlgSpamCheck::OnHelp(WPARAM, LPARAM)
{
    PostHelpRequest(IDD);
    return 0;
}

LRESULT CDlgSpamCheck::OnPaint(WPARAM, LPARAM)
{
    CPaintDC dc(this);
    DrawBanner(*dc.Painter());
    return 0;
}

void CDlgSpamCheck::DrawBanner(QPainter& painter) const
{
    if (m_banner.HasImage())
        painter.drawImage(0, 0, m_banner.GetBitmap()->Image());
}
