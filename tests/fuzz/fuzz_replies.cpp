// Datagram sequences from a server being queried: ordering, completion, both decoders
// and the writer, in both scan modes, with a buddy list that matches everything.
#include <QCoreApplication>

#include "FuzzSupport.h"
#include "query/MainGrids.h"
#include "query/ServerMonitor.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzSetUp();
    static MainState* s = nullptr;
    static ServerMonitor* monitor = nullptr;
    if (!s) {
        s = new MainState;
        monitor = new ServerMonitor(*s);
    }
    setUpServerGrid(*s);
    setUpPlayerGrid(*s);
    setUpBuddyGrid(*s);
    s->serverGrid.setCellText(1, 0, "1");
    s->serverGrid.setCellText(1, 2, "127.0.0.1");
    s->serverGrid.setCellText(1, 3, "47778");
    s->serverGrid.setCellText(1, 7, "UT3");
    s->buddyGrid.setCellText(1, 0, "**");
    s->buddyGrid.appendRow("Bob");
    if (size == 0) return 0;
    s->autoScanMode = data[0] & 1;
    s->scanRow = 1;
    ServerQuerier& q = monitor->querier();
    q.query({"127.0.0.1", 47778, "UT3"});
    QCoreApplication::processEvents();  // the query goes out
    // An empty probe reply from the game port moves the query on to "\status\".
    q.onDatagram(QByteArray("\x80\0\0\0\x01", 5), QStringLiteral("127.0.0.1"), 47769);
    // Datagrams are separated by the byte 0xFE; bit 1 of the first byte sends the
    // first one from the probe port.
    const QByteArray all(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    bool first = true;
    for (const QByteArray& datagram : all.split('\xfe')) {
        const int port = first && (data[0] & 2) ? 47769 : 47778;
        q.onDatagram(datagram, QStringLiteral("127.0.0.1"), port);
        first = false;
    }
    monitor->closeSocket();  // the next input starts with no query pending
    return 0;
}
