#pragma once
#include <QHash>
#include <QList>
#include <QPair>
#include <QString>

// Which buddy sightings are news. A player is announced when first seen on a server, and
// again only after not having been seen on any server for a while, so a buddy on many
// favourites, or moving between two, is told once. The news gathered between two
// messages goes out as one.
class BuddyAlerts {
public:
    static constexpr qint64 kForgetAfterMs = 10 * 60 * 1000;
    static constexpr int kNamedInOneMessage = 5;

    // A player matching the buddy list seen on a server now; true when it is news.
    bool seen(const QString& player, const QString& server, qint64 nowMs);
    bool hasNews() const { return !news_.isEmpty(); }
    // The message for the news since the last one (empty when none); the news is then told.
    QString takeMessage();
    // How long a player must go unseen before being announced again.
    void setForgetAfterMs(qint64 ms) { forgetAfterMs_ = ms; }
    qint64 forgetAfterMs() const { return forgetAfterMs_; }

private:
    QHash<QString, qint64> lastSeen_;  // by the player's name in lower case
    QList<QPair<QString, QString>> news_;
    qint64 forgetAfterMs_ = kForgetAfterMs;
};
