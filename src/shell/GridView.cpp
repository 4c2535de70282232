#include "shell/GridView.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPalette>

namespace {
constexpr int kTwipsPerPixel = 15;

QColor colourOf(FlexGrid::Colour c, const QPalette& palette) {
    switch (c) {
        case FlexGrid::kSystemHighlight: return palette.color(QPalette::Highlight);
        case FlexGrid::kSystemHighlightText: return palette.color(QPalette::HighlightedText);
        case FlexGrid::kSystemWindowText: return palette.color(QPalette::WindowText);
        default: return QColor::fromRgb(c);
    }
}
}  // namespace

class FlexGridModel : public QAbstractTableModel {
public:
    explicit FlexGridModel(FlexGrid& grid) : grid_(grid) {}
    std::function<QPixmap(int)> pictures;

    int rowCount(const QModelIndex& = {}) const override { return std::max(grid_.Rows() - 1, 0); }
    int columnCount(const QModelIndex& = {}) const override { return grid_.Cols(); }

    QVariant headerData(int section, Qt::Orientation o, int role) const override {
        if (o != Qt::Horizontal || role != Qt::DisplayRole) return {};
        return grid_.TextMatrix(0, section);
    }

    QVariant data(const QModelIndex& index, int role) const override {
        const FlexGrid::Cell* cell = grid_.cell(index.row() + 1, index.column());
        if (!cell) return {};
        switch (role) {
            case Qt::DisplayRole: return cell->text;
            case Qt::DecorationRole:
                if (cell->picture && pictures) return pictures(cell->picture);
                return {};
            case Qt::BackgroundRole:
                if (cell->back != FlexGrid::kDefaultColour) return colourOf(cell->back, qApp->palette());
                return {};
            case Qt::ForegroundRole:
                if (cell->fore != FlexGrid::kDefaultColour) return colourOf(cell->fore, qApp->palette());
                return {};
            case Qt::TextAlignmentRole:
                return int(grid_.ColAlignment(index.column()) == FlexGrid::AlignCenterCenter
                               ? Qt::AlignCenter
                               : Qt::AlignLeft | Qt::AlignVCenter);
            default: return {};
        }
    }

    void reset() { beginResetModel(); endResetModel(); }
    void cellsChanged() {
        if (rowCount() > 0 && columnCount() > 0)
            emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
        emit headerDataChanged(Qt::Horizontal, 0, std::max(columnCount() - 1, 0));
    }

private:
    FlexGrid& grid_;
};

GridView::GridView(FlexGrid& grid, QWidget* parent)
    : QTableView(parent), grid_(grid), model_(new FlexGridModel(grid)) {
    model_->setParent(this);
    setModel(model_);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(18);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    horizontalHeader()->setSectionsClickable(true);
    connect(horizontalHeader(), &QHeaderView::sectionPressed, this, [this](int col) {
        grid_.setMouseCell(0, col);
        if (click_) click_();
    });
    grid_.setListener([this](FlexGrid::Change change) {
        if (change == FlexGrid::Change::Layout) {
            model_->reset();
            applyLayout();
        } else {
            model_->cellsChanged();
        }
    });
    applyLayout();
}

GridView::~GridView() { grid_.setListener({}); }

void GridView::setPictureProvider(std::function<QPixmap(int)> provider) {
    model_->pictures = std::move(provider);
}

void GridView::applyLayout() {
    for (int c = 0; c < grid_.Cols(); ++c) {
        const int w = grid_.ColWidth(c);
        setColumnHidden(c, w == 0);
        if (w > 0) setColumnWidth(c, w / kTwipsPerPixel);
    }
    if (grid_.TopRow() >= 1 && grid_.TopRow() - 1 < model_->rowCount())
        scrollTo(model_->index(grid_.TopRow() - 1, 0), QAbstractItemView::PositionAtTop);
}

void GridView::mousePressEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    // A click below the last row counts as the last row, as the grid reports it.
    const int row = index.isValid() ? index.row() + 1 : grid_.Rows() - 1;
    const int col = index.isValid() ? index.column() : grid_.Col();
    grid_.setMouseCell(row, col);
    grid_.setRow(row);
    grid_.setCol(col);
    QTableView::mousePressEvent(event);
    if (click_) click_();
}
