// A download in a process of its own, for tests that kill it mid-transfer.
// Arguments: partials folder, music folder, source port, urn, size, limit in KB/s.
// Prints the bytes received after every change, one number a line.

#include "gnutella/transfer/downloadmanager.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const QStringList args = application.arguments();
    if (args.size() != 7)
        return 2;
    gnutella::DownloadManager manager;
    manager.setFolders(args[1], args[2]);
    manager.setLimits(30, args[6].toDouble());
    QObject::connect(&manager, &gnutella::DownloadManager::changed, [](const gnutella::TransferFigures& f) {
        std::printf("%lld\n", static_cast<long long>(f.received));
        std::fflush(stdout);
    });
    gnutella::Transfer t;
    t.id = 21;
    t.name = QStringLiteral("song.mp3");
    t.size = args[5].toLongLong();
    t.urn = args[4].toLatin1();
    t.sources.push_back({gnutella::HostAddress{(127u << 24) | 1u, quint16(args[3].toUInt())}, 1,
                         QStringLiteral("song.mp3")});
    manager.add(t);
    return application.exec();
}
