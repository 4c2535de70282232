#pragma once
#include <QAbstractTableModel>
#include <QHash>
#include <QSortFilterProxyModel>
#include <QTimer>

#include "master/FoundServers.h"

// The rows of "Find Servers": every listed server, filled in as it answers. Changes are
// gathered and shown a few times a second, so thousands of answers never hold up the
// window.
class FoundServersModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit FoundServersModel(QObject* parent = nullptr);

    void addServers(const QList<ListedServer>& servers);
    void update(const FoundServer& answer);
    void clear();
    // The history's usual players in this hour, by ServerAddress::key().
    void setUsuallyBusy(const QHash<quint64, double>& byServer);
    // Shows the next share of what has been gathered, without waiting for the timer.
    void flush();
    // Everything gathered is shown.
    bool settled() const;

    const QList<FoundServer>& servers() const { return rows_; }
    const FoundServer& server(int row) const { return rows_[row]; }
    int rowOf(const ServerAddress& s) const { return byKey_.value(s.key(), -1); }
    int answeredCount() const { return answered_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QList<FoundServer> rows_;
    QHash<quint64, int> byKey_;
    QList<FoundServer> pendingRows_;
    QHash<quint64, FoundServer> pendingAnswers_;
    QTimer flushTimer_;
    int answered_ = 0;
};

// The filters and the sort of the list.
class FoundServersFilter : public QSortFilterProxyModel {
    Q_OBJECT
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;
    void setFilter(const FoundFilter& f);
    const FoundFilter& filter() const { return filter_; }

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    FoundFilter filter_;
};
