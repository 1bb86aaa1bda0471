#include "app/KVContext.h"

#include "mail/SpamRating.h"
#include "ndb/NdbMailGroup.h"
#include "ndb/NdbNewsletter.h"
#include "ndb/NdbResource.h"
#include "x2/X2Validator.h"

CKVContext::CKVContext() = default;

CKVContext::~CKVContext()
{
    m_document.reset();
    m_renderedImages.Clear();
    ClearWebStore();
}

void CKVContext::SetCurrentDocument(std::unique_ptr<ndb::CNdbBase> document)
{
    {
        std::unique_lock lock(m_documentMutex);
        m_document.swap(document);
        ++m_documentRevision;
        // Another newsletter may use the same image paths and pipelines for other pictures.
        m_renderedImages.Clear();
    }
    document.reset();
}

std::unique_lock<std::shared_mutex> CKVContext::WriteDocument()
{
    std::unique_lock lock(m_documentMutex);
    ++m_documentRevision;
    return lock;
}

void CKVContext::SetServerPort(int port)
{
    const auto lock = WriteDocument();
    m_serverPort = port;
}

void CKVContext::SetUnsubscribeText(const QString& text)
{
    const auto lock = WriteDocument();
    m_unsubscribeText = text;
}

ndb::CNdbNewsletter* CKVContext::GetCurrentNewsletter() const
{
    if (!m_document || m_document->GetKind() != ndb::NdbKindNewsletter)
        return nullptr;
    return static_cast<ndb::CNdbNewsletter*>(m_document.get());
}

ndb::CNdbMailGroup* CKVContext::GetOpenMailingList() const
{
    if (!m_document || m_document->GetKind() != ndb::NdbKindMailGroup)
        return nullptr;
    return static_cast<ndb::CNdbMailGroup*>(m_document.get());
}

void CKVContext::StoreInWebStore(const QString& name, const QByteArray& bytes, const QString& contentType)
{
    m_webStore.Store(name, bytes, contentType);
}

void CKVContext::PutPageInWebStore(const QString& name, const QString& page)
{
    const qsizetype nul = page.indexOf(QChar(0));
    StoreInWebStore(name, (nul < 0 ? page : page.left(nul)).toUtf8(),
                    QStringLiteral("text/html; charset=utf-8"));
}

std::shared_ptr<const WebStoreEntry> CKVContext::FindInWebStore(const QString& name) const
{
    return m_webStore.Find(name);
}

void CKVContext::ClearWebStore()
{
    m_webStore.Clear();
}

std::shared_ptr<const ndb::CNdbResource> CKVContext::GetRenderedImage(const QString& resourcePath,
                                                                      const QString& pipelineId)
{
    return m_renderedImages.GetRenderedImage(*this, resourcePath, pipelineId);
}

QString CKVContext::GetServerBaseUrl() const
{
    return QStringLiteral("http://localhost:%1/").arg(GetServerPort());
}

QString CKVContext::MakeServerUrl(const QString& path) const
{
    QString url = GetServerBaseUrl();
    if (path.isEmpty() || path.startsWith(u'/'))
        url.chop(1);
    return url + path;
}

bool CKVContext::RateSpam(const QString& page, int& rating)
{
    SpamFilter::TokenScoreMap tokens;
    return RateSpamWithTokens(page, rating, tokens);
}

bool CKVContext::RateSpamWithTokens(const QString& page, int& rating, SpamFilter::TokenScoreMap& tokens)
{
    try
    {
        CX2Validator document;
        // A page that does not parse completely is rated on what was read of it.
        document.ParseHtml(page);
        QString text;
        CollectSpamText(document.GetRoot(), text);
        return ScoreSpamText(text, rating, tokens);
    }
    catch (...)
    {
        return false;
    }
}

bool CKVContext::ScoreSpamText(const QString& text, int& rating, SpamFilter::TokenScoreMap& tokens)
{
    try
    {
        double score = 0;
        m_spamFilter.GetClassifier().Classify(text.toLower(), m_spamFilter.GetDatabase(), tokens, score);
        rating = SpamRatingOf(score, tokens);
        return true;
    }
    catch (...)
    {
        return false;
    }
}

void CKVContext::CollectSpamText(const CX2Element& node, QString& text)
{
    ::CollectSpamText(node, text);
}
