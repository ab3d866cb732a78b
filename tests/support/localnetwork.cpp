#include "support/localnetwork.h"

#include "support/mp3builder.h"

#include <QJsonDocument>
#include <QJsonObject>

LocalNetwork::LocalNetwork(QString peerProgram) : m_program(std::move(peerProgram)) {}

LocalNetwork::~LocalNetwork()
{
    for (auto& node : m_nodes) {
        node->process->terminate();
        if (!node->process->waitForFinished(3000))
            node->process->kill();
        node->process->waitForFinished(1000);
    }
}

int LocalNetwork::addUltrapeer(const QMap<QString, QByteArray>& files, const QList<int>& connectTo)
{
    QStringList arguments{QStringLiteral("--ultrapeer"), QStringLiteral("--listen"), QStringLiteral("127.0.0.1:0")};
    for (int other : connectTo)
        arguments << QStringLiteral("--connect") << address(other);
    return start(files, arguments, true);
}

int LocalNetwork::addFirewalledLeaf(const QMap<QString, QByteArray>& files, int ultrapeer)
{
    return start(files, {QStringLiteral("--connect"), address(ultrapeer)}, false);
}

int LocalNetwork::start(const QMap<QString, QByteArray>& files, QStringList arguments, bool listens)
{
    auto node = std::make_unique<Node>();
    for (auto it = files.cbegin(); it != files.cend(); ++it)
        node->shares.write(it.key(), it.value());
    arguments << QStringLiteral("--share") << node->shares.path();
    node->process = std::make_unique<QProcess>();
    node->process->setProcessChannelMode(QProcess::SeparateChannels);
    node->process->start(m_program, arguments);
    if (!node->process->waitForStarted(5000) || !node->process->waitForReadyRead(10000))
        return -1;
    const QJsonObject ready = QJsonDocument::fromJson(node->process->readLine()).object();
    node->port = quint16(ready.value(QStringLiteral("port")).toInt());
    if (listens && node->port == 0)
        return -1;
    m_nodes.push_back(std::move(node));
    return int(m_nodes.size()) - 1;
}

QList<QByteArray> LocalNetwork::search(int node, const QString& text, int waitSeconds) const
{
    QProcess leaf;
    leaf.start(m_program, {QStringLiteral("--connect"), address(node), QStringLiteral("--search"),
                           text, QStringLiteral("--wait"), QString::number(waitSeconds)});
    leaf.waitForFinished((waitSeconds + 15) * 1000);
    QList<QByteArray> lines = leaf.readAllStandardOutput().split('\n');
    lines.removeAll(QByteArray());
    // The first line only says the node is ready.
    if (!lines.isEmpty())
        lines.removeFirst();
    return lines;
}

QByteArray LocalNetwork::musicFile(const QString& artist, const QString& title, int seed)
{
    mp3::Header header;
    header.bitRateIndex = uint8_t(9 + seed % 4);
    return mp3::id3v2(3, {{"TIT2", mp3::latin1Text(title.toLatin1())},
                          {"TPE1", mp3::latin1Text(artist.toLatin1())}}) +
           mp3::stream(header, 200000 + seed * 4177);
}
