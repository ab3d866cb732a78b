#pragma once

#include "support/testfolder.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QProcess>
#include <QString>
#include <memory>

// A small Gnutella network of tavrin-peer processes on 127.0.0.1, each node sharing a folder
// of its own. Nodes are stopped when the object goes.
class LocalNetwork final {
public:
    explicit LocalNetwork(QString peerProgram);
    ~LocalNetwork();

    // Starts an ultrapeer sharing files (name -> bytes), connected to the nodes given by
    // number; returns its number, or -1 when it did not come up.
    int addUltrapeer(const QMap<QString, QByteArray>& files, const QList<int>& connectTo = {});
    // Starts a leaf that shares files but does not listen, as behind a firewall: its files can
    // only be had by a push through the ultrapeer it is connected to.
    int addFirewalledLeaf(const QMap<QString, QByteArray>& files, int ultrapeer);
    quint16 port(int node) const { return m_nodes[node]->port; }
    QString address(int node) const { return QStringLiteral("127.0.0.1:%1").arg(port(node)); }

    // Runs a leaf that connects to a node, searches and returns its JSON result lines.
    QList<QByteArray> search(int node, const QString& text, int waitSeconds = 2) const;

    // Music files made in code: an MPEG stream under an ID3v2 tag, distinct by seed.
    static QByteArray musicFile(const QString& artist, const QString& title, int seed);

private:
    int start(const QMap<QString, QByteArray>& files, QStringList arguments, bool listens);

    struct Node {
        std::unique_ptr<QProcess> process;
        TestFolder shares;
        quint16 port = 0;
    };
    QString m_program;
    std::vector<std::unique_ptr<Node>> m_nodes;
};
