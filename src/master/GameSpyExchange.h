#pragma once
#include "master/MasterExchange.h"

// The GameSpy master protocol of UT: the master's "\basic\\secure\X" challenge, the
// validate answer and "\list\\gamename\G\final\", then "\ip\A.B.C.D:PORT" entries up to
// "\final\". The challenge's own "\final\" may come in a later read than the challenge.
class GameSpyExchange : public MasterExchange {
public:
    explicit GameSpyExchange(QByteArray gameName);
    Step feed(QByteArrayView bytes) override;
    void closed() override;

private:
    void readChallenge(Step& step);
    void readList(QByteArrayView bytes, Step& step);
    void takeReaderState(int servers);

    QByteArray gameName_;
    QByteArray greeting_;
    // The first bytes after the challenge, while they may still be its "\final\".
    QByteArray head_;
    bool listStarted_ = false;
    int servers_ = 0;
    MasterListReader reader_;
};
