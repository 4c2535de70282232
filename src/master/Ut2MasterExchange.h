#pragma once
#include "master/CdKey.h"
#include "master/MasterExchange.h"
#include "master/Ut2Wire.h"
#include "state/Games.h"

// One server record of a UT2003/UT2004 master's list: the address (its four bytes in
// order), game port and query port, then name, map, game type, players, maximum and
// flags. Favourites keep such a server's query port as the game port + 10. Nothing
// for a record too short to hold the ports, or one naming no usable server (0.0.0.0,
// port 0); the master's texts are left out when they run past the record.
std::optional<ListedServer> decodeUt2Record(QByteArrayView body, Game game);

// A filter item of the list query: a field, a value and how they compare (0 equal,
// 4 not equal).
struct Ut2Filter {
    QByteArray field, value;
    quint8 comparison = 0;
};

// The UT2003/UT2004 master protocol, as the games speak it: the master sends a
// challenge; the client answers with the hex MD5 of its CD key, the MD5 of the key and
// the challenge, its name ("UT2K4CLIENT", or "CLIENT" for UT2003), version, OS,
// language and (UT2004) a few hardware numbers; the master says "APPROVED" (anything
// else refuses the key); UT2004 sends a verification string and gets "VERIFIED"; the
// client asks for the list; the master sends the number of servers and one record
// packet per server.
class Ut2MasterExchange : public MasterExchange {
public:
    // The longest packet any master sends: a record is well under a kilobyte.
    static constexpr quint32 kMaxPacket = 4096;

    Ut2MasterExchange(Game game, CdKey key, QList<Ut2Filter> filters = {});
    Step feed(QByteArrayView bytes) override;
    void closed() override;

    // The number of servers the master announced (0 before it did).
    quint32 announced() const { return announced_; }

private:
    void take(const QByteArray& body, Step& step);

    enum class Stage { Challenge, Review, Verify, Count, Records };
    Game game_;
    CdKey key_;
    QList<Ut2Filter> filters_;
    Ut2PacketSplitter packets_{kMaxPacket};
    Stage stage_ = Stage::Challenge;
    quint32 announced_ = 0;
    quint32 received_ = 0;
    int servers_ = 0;
};
