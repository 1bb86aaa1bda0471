#pragma once

#include "controls/KVImage.h"
#include "mail/KVSmtpServer.h"
#include "platform/ui/Dialog.h"
#include "webserver/NewsletterPage.h"

#include <QString>

#include <map>
#include <memory>
#include <vector>

class ISendContext;
class QPainter;
namespace ndb
{
class CNdbNewsletter;
class CNdbUser;
} // namespace ndb

// Posted to the window for the engine's progress reports: after every take of a queue entry,
// after every result and when a worker ends.
constexpr UINT WM_SENDPROGRESS = WM_USER + 2300;
// Posted during a throttle pause: wParam 1 with lParam 0 when it begins and k / 5 every 500 ms,
// wParam 0 when it ends.
constexpr UINT WM_SENDPAUSE = WM_USER + 2301;

// "Send Status": carries out one send of the open newsletter. Selects the recipients that still
// need the message, publishes the web view when it is on, prepares the message, runs the send
// engine, shows its progress on a drawn panel and writes every address's outcome into the
// newsletter's send log when it closes (not for a test send). Abort stops the job; the window
// stays, responsive, until the deliveries under way have ended, and only then writes the log.
class CDlgSendStatus : public CDialog, private ISendObserver
{
public:
    static constexpr UINT IDD = 237;
    static constexpr UINT ID_SENDNOW = 1642;
    static constexpr UINT BackgroundImageId = 313;
    static constexpr UINT BarImageId = 314;
    static constexpr int BarWidth = 452;

    // Rendered image reference ("img/<name>.<ext>?pid=<id>") -> static file name.
    using RenderedImageMap = std::map<QString, QString>;

    // Without a list the newsletter's own recipients are taken.
    CDlgSendStatus(ISendContext* context, const std::vector<ndb::CNdbUser*>* list, bool testSend,
                   CWnd* parent = nullptr);
    ~CDlgSendStatus() override;

    ndb::CNdbNewsletter* GetCurrentNewsletter() const;
    const std::vector<ndb::CNdbUser*>& GetRecipients() const { return m_recipients; }
    CKVSmtpServer& GetEngine() { return *m_engine; }
    QString GetUnsubscribeAddress() const { return m_unsubscribeAddress; }

    // Builds the message from the e-mail page and starts the engine; false, nothing started, when
    // the trackers, the page or an inline image fail.
    bool PrepareMessageAndStart(bool linkImagesToSite, bool trackLinks);
    // Registers the newsletter's external links with the statistics service of the user's site.
    bool RegisterLinkTrackers(LinkTrackerMap& trackers);
    // Finds every effect-rendered image reference inside one double-quoted value of the page.
    static bool CollectRenderedImages(QString page, RenderedImageMap& images);
    // Publishes the web page, the embedded files it names and its rendered images over FTP;
    // false, with the step and the file that failed in GetUploadFailure, when it cannot.
    bool UploadWebView(bool trackLinks);
    QString GetUploadFailure() const { return m_uploadFailure; }

    // The panel as it stands, for the window and its tests.
    QString GetPanelTitle() const { return m_panelTitle; }
    QString GetCurrentLine() const { return m_currentLine; }
    // The counters the panel shows.
    int GetSentCount() const { return m_sent; }
    int GetFailedCount() const { return m_failed; }
    int GetDeferredCount() const { return m_deferred; }
    void DrawStatusPanel(QPainter& painter) const;

    // A name a file may be stored under below the web-view folder: no "..", no leading "/", no
    // "\" and no control character.
    static bool IsSafeRemoteName(const QString& name);

protected:
    bool OnInitDialog() override;
    void OnCancel() override;

    const MessageMap* GetMessageMap() const override;
    // The engine reports from its workers; the window takes the reports on its own thread.
    void SendProgressed() override { PostMessage(WM_SENDPROGRESS, 0, 0); }
    void SendPaused(bool paused, int step) override { PostMessage(WM_SENDPAUSE, paused ? 1 : 0, step); }
    LRESULT OnSendProgress(WPARAM, LPARAM);
    LRESULT OnSendPause(WPARAM wParam, LPARAM lParam);
    LRESULT OnSendNow(WPARAM, LPARAM);
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnTimer(WPARAM id, LPARAM);

private:
    void SelectRecipients(const std::vector<ndb::CNdbUser*>& list);
    // Reads the engine's progress into the panel and ends the job when it is over.
    void ShowProgress();
    void ComposeUnsubscribeAddress();
    bool GeneratePage(NewsletterPageKind kind, QString& page, MergeFieldSet* fields,
                      const LinkTrackerMap& trackers);
    bool AddInlineParts(CVexaMail& message, QString& page);
    void WriteSendLog();
    QString StoppingLine();
    void ShowFinished();
    void EndStopped();
    void EndAfterLoginRefusal();
    void CloseWithLog();
    bool FailUpload(int step, const QString& file);
    void RepaintPanel();
    void ShowSendingLayout();

    ISendContext* m_context;
    std::vector<ndb::CNdbUser*> m_recipients;
    bool m_testSend;
    QString m_unsubscribeAddress;
    QString m_panelTitle;
    QString m_currentLine;
    QString m_uploadFailure;
    // The picture whose download stopped the message being built, for the error box.
    QString m_unfetchedImage;
    bool m_sendingLayout{false};
    int m_processed{0};
    int m_sent{0};
    int m_failed{0};
    int m_deferred{0};
    int m_barDone{0};
    int m_barTotal{100};
    CKVImage m_background;
    CKVImage m_bar;
    std::shared_ptr<CKVSmtpServer> m_engine{std::make_shared<CKVSmtpServer>()};
    bool m_logWritten{false};
    bool m_stopping{false};
    bool m_finished{false};
    bool m_progressScheduled{false};
};
