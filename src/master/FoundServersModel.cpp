#include "master/FoundServersModel.h"

#include <QColor>

namespace {
constexpr int kFlushMs = 100;
// Rows and answers shown in one go; the rest follow on the next turns of the event loop.
constexpr qsizetype kFlushRows = 1000;
constexpr qsizetype kFlushAnswers = 2000;
}

FoundServersModel::FoundServersModel(QObject* parent) : QAbstractTableModel(parent) {
    flushTimer_.setSingleShot(true);
    flushTimer_.setInterval(kFlushMs);
    connect(&flushTimer_, &QTimer::timeout, this, &FoundServersModel::flush);
}

void FoundServersModel::addServers(const QList<ListedServer>& servers) {
    for (const ListedServer& s : servers) {
        if (byKey_.contains(s.server.key())) continue;
        byKey_.insert(s.server.key(), int(rows_.size() + pendingRows_.size()));
        pendingRows_ << foundServerListed(s);
    }
    if (!flushTimer_.isActive()) flushTimer_.start(kFlushMs);
}

void FoundServersModel::update(const FoundServer& answer) {
    pendingAnswers_.insert(answer.server.key(), answer);
    if (!flushTimer_.isActive()) flushTimer_.start(kFlushMs);
}

void FoundServersModel::clear() {
    beginResetModel();
    rows_.clear();
    byKey_.clear();
    pendingRows_.clear();
    pendingAnswers_.clear();
    answered_ = 0;
    endResetModel();
}

void FoundServersModel::flush() {
    flushTimer_.stop();
    if (!pendingRows_.isEmpty()) {
        const qsizetype n = std::min(kFlushRows, pendingRows_.size());
        beginInsertRows({}, int(rows_.size()), int(rows_.size() + n - 1));
        rows_ += pendingRows_.first(n);
        pendingRows_.remove(0, n);
        endInsertRows();
    }
    int first = int(rows_.size()), last = -1;
    qsizetype taken = 0;
    for (auto it = pendingAnswers_.begin(); it != pendingAnswers_.end() && taken < kFlushAnswers;) {
        const int row = byKey_.value(it.key(), -1);
        if (row < 0 || row >= rows_.size()) {
            ++it;  // its row is still on its way
            continue;
        }
        const FoundServer& a = it.value();
        if (a.answered && !rows_[row].answered) ++answered_;
        if (!a.answered && rows_[row].answered) --answered_;
        if (a.answered || !rows_[row].fromMaster) {
            const double usuallyBusy = rows_[row].usuallyBusy;  // the history's, not the reply's
            rows_[row] = a;
            rows_[row].usuallyBusy = usuallyBusy;
        } else {
            // Silent now: what its master said of it still stands.
            rows_[row].answered = false;
            rows_[row].ping = -1;
        }
        first = std::min(first, row);
        last = std::max(last, row);
        it = pendingAnswers_.erase(it);
        ++taken;
    }
    if (last >= 0) emit dataChanged(index(first, 0), index(last, kFoundColumnCount - 1));
    if (!pendingRows_.isEmpty() || taken == kFlushAnswers) flushTimer_.start(0);
}

void FoundServersModel::setUsuallyBusy(const QHash<quint64, double>& byServer) {
    int first = int(rows_.size()), last = -1;
    for (auto it = byServer.begin(); it != byServer.end(); ++it) {
        const int row = byKey_.value(it.key(), -1);
        if (row < 0) continue;
        if (row >= rows_.size()) {
            pendingRows_[row - rows_.size()].usuallyBusy = it.value();
            continue;
        }
        rows_[row].usuallyBusy = it.value();
        first = std::min(first, row);
        last = std::max(last, row);
    }
    const int column = int(FoundColumn::UsuallyBusy);
    if (last >= 0) emit dataChanged(index(first, column), index(last, column));
}

bool FoundServersModel::settled() const { return pendingRows_.isEmpty() && pendingAnswers_.isEmpty(); }

int FoundServersModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rows_.size());
}

int FoundServersModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kFoundColumnCount;
}

QVariant FoundServersModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows_.size()) return {};
    const FoundServer& s = rows_[index.row()];
    if (role == Qt::DisplayRole) return foundCellText(s, FoundColumn(index.column()));
    if (role == Qt::ToolTipRole) return s.server.text();
    if (role == Qt::ForegroundRole && !s.answered) return QColor(Qt::gray);
    return {};
}

QVariant FoundServersModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    return foundColumnHeader(FoundColumn(section));
}

void FoundServersFilter::setFilter(const FoundFilter& f) {
    filter_ = f;
    invalidateFilter();
}

bool FoundServersFilter::filterAcceptsRow(int sourceRow, const QModelIndex&) const {
    const auto* m = static_cast<const FoundServersModel*>(sourceModel());
    return foundPasses(m->server(sourceRow), filter_);
}

bool FoundServersFilter::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    const auto* m = static_cast<const FoundServersModel*>(sourceModel());
    const FoundServer& a = m->server(left.row());
    const FoundServer& b = m->server(right.row());
    // Servers that have not answered stay last in either direction.
    if (a.answered != b.answered) return sortOrder() == Qt::AscendingOrder ? a.answered : b.answered;
    return foundLessThan(a, b, FoundColumn(left.column()));
}
