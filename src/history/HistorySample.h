#pragma once
#include <QStringList>

#include "history/HistoryTypes.h"
#include "query/ServerStatus.h"

// The sample one complete reply makes. Counts are kept only as whole numbers from 0 to
// 256: "255 of 0" keeps its 255 players and no maximum, a negative count or text none.
HistorySample historySample(const QueryTarget& target, const ServerStatus& status, qint64 time,
                            const QStringList& buddies);
