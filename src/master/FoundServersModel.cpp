#include "master/FoundServersModel.h"

#include <QColor>

namespace {
constexpr int kFlushMs = 100;
}

FoundServersModel::FoundServersModel(QObject* parent) : QAbstractTableModel(parent) {
    flushTimer_.setSingleShot(true);
    flushTimer_.setInterval(kFlushMs);
    connect(&flushTimer_, &QTimer::timeout, this, &FoundServersModel::flush);
}

void FoundServersModel::addServers(const QList<ServerAddress>& servers) {
    for (const ServerAddress& s : servers) {
        if (byKey_.contains(s.key())) continue;
        byKey_.insert(s.key(), int(rows_.size() + pendingRows_.size()));
        FoundServer f;
        f.server = s;
        pendingRows_ << f;
    }
    if (!flushTimer_.isActive()) flushTimer_.start();
}

void FoundServersModel::update(const FoundServer& answer) {
    pendingAnswers_.insert(answer.server.key(), answer);
    if (!flushTimer_.isActive()) flushTimer_.start();
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
        beginInsertRows({}, int(rows_.size()), int(rows_.size() + pendingRows_.size() - 1));
        rows_ += pendingRows_;
        pendingRows_.clear();
        endInsertRows();
    }
    if (pendingAnswers_.isEmpty()) return;
    int first = int(rows_.size()), last = -1;
    for (const FoundServer& a : std::as_const(pendingAnswers_)) {
        const int row = byKey_.value(a.server.key(), -1);
        if (row < 0) continue;
        if (a.answered && !rows_[row].answered) ++answered_;
        if (!a.answered && rows_[row].answered) --answered_;
        rows_[row] = a;
        first = std::min(first, row);
        last = std::max(last, row);
    }
    pendingAnswers_.clear();
    if (last >= 0) emit dataChanged(index(first, 0), index(last, kFoundColumnCount - 1));
}

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
    return foundLessThan(m->server(left.row()), m->server(right.row()), FoundColumn(left.column()));
}
