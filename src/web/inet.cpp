#include "web/inet.h"

#include <curl/curl.h>

const char* const TInet::DefaultUserAgent = "Mozilla/4.0 (compatible; MSIE 5.0; Windows 98; DigExt)";

namespace {

constexpr size_t kPiece = 1024;
constexpr long kConnectTimeoutSeconds = 20;

struct Transfer {
    TInet* worker;
    const std::atomic<bool>* stop;
    const QString* name;
    int64_t total = 0;
};

size_t onBody(char* data, size_t size, size_t count, void* user)
{
    auto* transfer = static_cast<Transfer*>(user);
    const size_t length = size * count;
    // Returning less than given makes the transfer end with an error: a stop request.
    if (transfer->stop->load())
        return 0;
    for (size_t at = 0; at < length; at += kPiece) {
        const size_t piece = std::min(kPiece, length - at);
        transfer->total += int64_t(piece);
        if (transfer->worker->OnData)
            transfer->worker->OnData(*transfer->name, QByteArray(data + at, qsizetype(piece)));
    }
    return length;
}

int onProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    return static_cast<Transfer*>(user)->stop->load() ? 1 : 0;
}

} // namespace

TInet::TInet(QString name) : Name(std::move(name)) {}

TInet::~TInet()
{
    Stop();
    Wait();
}

void TInet::Wait()
{
    if (m_thread.joinable())
        m_thread.join();
}

TInet::Address TInet::SplitAddress(const QString& url)
{
    QString rest = url;
    if (rest.startsWith(QStringLiteral("http://"), Qt::CaseInsensitive))
        rest.remove(0, 7);
    const qsizetype slash = rest.indexOf(QLatin1Char('/'));
    if (slash < 0)
        return {rest, QString()};
    return {rest.left(slash), rest.mid(slash + 1)};
}

void TInet::Start(const QString& url, const QString& userAgent, const QString& referrer)
{
    const QString agent = userAgent.isEmpty() ? QString::fromLatin1(DefaultUserAgent) : userAgent;
    m_thread = std::thread(&TInet::run, this, url, agent, referrer);
}

void TInet::run(QString url, QString userAgent, QString referrer)
{
    static const CURLcode initialised = curl_global_init(CURL_GLOBAL_DEFAULT);
    bool complete = false;
    // Names under .invalid never resolve: they fail here, without asking any name server.
    const QString host = SplitAddress(url).host.section(QLatin1Char(':'), 0, 0).toLower();
    const bool invalid = host == QLatin1String("invalid") || host.endsWith(QLatin1String(".invalid"));
    CURL* curl = initialised == CURLE_OK && !invalid ? curl_easy_init() : nullptr;
    if (curl) {
        const Address address = SplitAddress(url);
        // The host up to a colon: a port written into the address is not used.
        const QByteArray target = "http://" + host.toUtf8() + "/" + address.path.toUtf8();
        const QByteArray agent = userAgent.toUtf8();
        const QByteArray referer = referrer.toUtf8();
        Transfer transfer{this, &m_stop, &Name};
        curl_slist* headers = curl_slist_append(nullptr, "Pragma: no-cache");
        headers = curl_slist_append(headers, "Cache-Control: no-cache");
        curl_easy_setopt(curl, CURLOPT_URL, target.constData());
        curl_easy_setopt(curl, CURLOPT_PORT, long(Port));
        curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http");
        curl_easy_setopt(curl, CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_0));
        curl_easy_setopt(curl, CURLOPT_USERAGENT, agent.constData());
        if (!referer.isEmpty())
            curl_easy_setopt(curl, CURLOPT_REFERER, referer.constData());
        curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
        curl_easy_setopt(curl, CURLOPT_BUFFERSIZE, long(kPiece));
        curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &onBody);
        curl_easy_setopt(curl, CURLOPT_WRITEDATA, &transfer);
        curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
        curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &onProgress);
        curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &transfer);
        curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds);
        curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
        const CURLcode result = curl_easy_perform(curl);
        curl_off_t contentLength = -1;
        curl_easy_getinfo(curl, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &contentLength);
        // A missing Content-Length counts as 0, so only an empty body is complete without one.
        const int64_t expected = contentLength < 0 ? 0 : int64_t(contentLength);
        complete = result == CURLE_OK && !m_stop.load() && transfer.total == expected;
        curl_easy_cleanup(curl);
        curl_slist_free_all(headers);
    }
    if (complete) {
        if (OnComplete)
            OnComplete(Name);
    } else if (OnFailure) {
        OnFailure(Name);
    }
}
