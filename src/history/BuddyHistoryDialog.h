#pragma once
#include <QDialog>

#include "history/HistoryTypes.h"

class QLabel;
class QTreeWidget;
class WeekStrip;

// Where and when one buddy was seen: the servers, the most hours first, and the hours of
// the week.
class BuddyHistoryDialog : public QDialog {
    Q_OBJECT
public:
    explicit BuddyHistoryDialog(QWidget* parent = nullptr);
    void setHistory(const QString& name, const BuddyHistory& history);

    QLabel* summary() const { return summary_; }
    QTreeWidget* servers() const { return servers_; }
    WeekStrip* weekStrip() const { return strip_; }

private:
    QLabel* summary_;
    QLabel* stripCaption_;
    QTreeWidget* servers_;
    WeekStrip* strip_;
};
