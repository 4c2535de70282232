#include "dialogs/GridView.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QTimer>

namespace {
Qt::Alignment alignmentOf(int flexAlignment) {
    switch (flexAlignment) {
        case FlexGrid::AlignCenterCenter: return Qt::AlignCenter;
        case FlexGrid::AlignLeftCenter: return Qt::AlignLeft | Qt::AlignVCenter;
        default: return Qt::AlignLeft | Qt::AlignVCenter;
    }
}
}  // namespace

// The data rows of the grid (rows 1 to last) as model rows 0 to last - 1.
class GridView::Model : public QAbstractTableModel {
public:
    Model(FlexGrid& grid, QWidget* palette) : grid_(grid), paletteOwner_(palette) {}

    std::function<QPixmap(int)> pictures;

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : std::max(grid_.rowCount() - 1, 0);
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : grid_.colCount();
    }

    QVariant data(const QModelIndex& index, int role) const override {
        const int row = index.row() + 1, col = index.column();
        const FlexGrid::Cell* cell = grid_.cell(row, col);
        if (!cell) return {};
        switch (role) {
            case Qt::DisplayRole: return cell->text;
            case Qt::TextAlignmentRole: return QVariant(alignmentOf(grid_.colAlignment(col)));
            case Qt::BackgroundRole:
                if (inGridSelection(row, col)) return paletteOwner_->palette().highlight();
                return brushOf(cell->back);
            case Qt::ForegroundRole:
                if (inGridSelection(row, col)) return paletteOwner_->palette().highlightedText();
                return brushOf(cell->fore);
            case Qt::DecorationRole:
                if (cell->picture > 0 && pictures) {
                    const QPixmap p = pictures(cell->picture);
                    if (!p.isNull()) return p;
                }
                return {};
            default: return {};
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal) return {};
        if (role == Qt::DisplayRole) return grid_.cellText(0, section);
        if (role == Qt::TextAlignmentRole) return QVariant(alignmentOf(grid_.colAlignment(section)));
        return {};
    }

    void reset() {
        beginResetModel();
        endResetModel();
    }
    void cellsChanged() {
        if (rowCount() > 0 && columnCount() > 0)
            emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
        emit headerDataChanged(Qt::Horizontal, 0, std::max(columnCount() - 1, 0));
    }

private:
    // The grid's own selection colouring: the cells of the selected range other than
    // the current cell, unless highlight is off.
    bool inGridSelection(int row, int col) const {
        if (grid_.highlight() == 0) return false;
        const int r0 = std::min(grid_.currentRow(), grid_.selectionEndRow()),
                  r1 = std::max(grid_.currentRow(), grid_.selectionEndRow());
        const int c0 = std::min(grid_.currentCol(), grid_.selectionEndCol()),
                  c1 = std::max(grid_.currentCol(), grid_.selectionEndCol());
        if (row < r0 || row > r1 || col < c0 || col > c1) return false;
        return !(row == grid_.currentRow() && col == grid_.currentCol());
    }

    QVariant brushOf(FlexGrid::Colour colour) const {
        const QPalette& p = paletteOwner_->palette();
        switch (colour) {
            case FlexGrid::kDefaultColour: return {};
            case FlexGrid::kSystemHighlight: return p.highlight();
            case FlexGrid::kSystemHighlightText: return p.highlightedText();
            case FlexGrid::kSystemWindowText: return p.windowText();
            default:
                if (colour & 0x80000000u) return {};  // another system colour: the default
                return QBrush(QColor(int((colour >> 16) & 0xFF), int((colour >> 8) & 0xFF),
                                     int(colour & 0xFF)));
        }
    }

    FlexGrid& grid_;
    QWidget* paletteOwner_;
};

GridView::GridView(FlexGrid& grid, QWidget* parent)
    : QTableView(parent), grid_(grid), model_(new Model(grid, this)) {
    model_->setParent(this);
    setModel(model_);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setFocusPolicy(Qt::StrongFocus);
    setTabKeyNavigation(false);  // Tab goes to the next control, not the next cell
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setMinimumSectionSize(1);  // narrow columns keep their designed width
    setWordWrap(false);
    connect(horizontalHeader(), &QHeaderView::sectionPressed, this, &GridView::headerPressed);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int col, int, int width) { sectionDragged(col, width); });
    grid_.setListener([this](FlexGrid::Change change) { gridChanged(change); });
    applyColumns();
}

GridView::~GridView() { grid_.setListener({}); }

void GridView::setPictureProvider(std::function<QPixmap(int)> provider) {
    model_->pictures = std::move(provider);
    model_->cellsChanged();
}

void GridView::setUsualContent(int col, const QStringList& samples) {
    usualContent_[col] = samples;
    appliedTwips_.clear();  // lay the columns out again with the new least width
    applyColumns();
}

void GridView::setFillColumn(int col) {
    fillColumn_ = col;
    fitFillColumn();
}

void GridView::gridChanged(FlexGrid::Change change) {
    if (change == FlexGrid::Change::Layout) {
        model_->reset();
        applyColumns();
    } else {
        model_->cellsChanged();
    }
    // A round of replies changes many cells: the filter looks once they are in.
    if (!filterText_.isEmpty() && !filterPending_) {
        filterPending_ = true;
        QTimer::singleShot(0, this, [this] {
            filterPending_ = false;
            applyRowFilter();
        });
    }
    viewport()->update();
}

void GridView::setRowFilter(int col, const QString& text) {
    filterCol_ = col;
    filterText_ = text;
    applyRowFilter();
}

void GridView::applyRowFilter() {
    for (int r = 0; r < model_->rowCount(); ++r) {
        const bool shown = filterText_.isEmpty() ||
                           grid_.cellText(r + 1, filterCol_).contains(filterText_, Qt::CaseInsensitive);
        if (isRowHidden(r) == shown) setRowHidden(r, !shown);
    }
}

int GridView::leastWidth(int col) const {
    // The margins the item delegate leaves either side of a text, and the grid line.
    const int margin = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1) + 1;
    int least = horizontalHeader()->sectionSizeHint(col);
    for (const QString& sample : usualContent_.value(col))
        least = std::max(least, fontMetrics().horizontalAdvance(sample) + margin);
    return least;
}

void GridView::setWidth(int col, int width) {
    const bool wasApplying = applying_;
    applying_ = true;
    setColumnWidth(col, width);
    applying_ = wasApplying;
}

void GridView::applyColumns() {
    const int cols = grid_.colCount();
    appliedTwips_.resize(cols, -2);  // -2: never applied
    baseWidths_.resize(cols, 0);
    for (int c = 0; c < cols; ++c) {
        const int twips = grid_.colWidth(c);
        // A drag stays while the designed width stays: the players grid is set up again
        // for every reply, and that must not undo what the user chose.
        if (twips == appliedTwips_[c]) continue;
        appliedTwips_[c] = twips;
        setColumnHidden(c, twips == 0);
        if (twips == 0) continue;
        // A column without a designed width is as wide as its header and usual content.
        baseWidths_[c] = std::max(twips > 0 ? twipsToPixels(twips) : 0, leastWidth(c));
        setWidth(c, baseWidths_[c]);
    }
    fitFillColumn();
    if (grid_.topRow() != shownTopRow_ && grid_.topRow() >= 1 && grid_.topRow() < grid_.rowCount()) {
        shownTopRow_ = grid_.topRow();
        scrollTo(model_->index(shownTopRow_ - 1, 0), QAbstractItemView::PositionAtTop);
    }
}

void GridView::fitFillColumn() {
    const int fill = fillColumn_;
    if (fill < 0 || fill >= grid_.colCount() || isColumnHidden(fill) || fill >= baseWidths_.size()) return;
    int others = 0;
    for (int c = 0; c < grid_.colCount(); ++c)
        if (c != fill && !isColumnHidden(c)) others += columnWidth(c);
    setWidth(fill, std::max(baseWidths_[fill], viewport()->width() - others));
}

void GridView::sectionDragged(int col, int width) {
    if (applying_ || col < 0 || col >= baseWidths_.size() || col == fillColumn_) return;
    baseWidths_[col] = width;
    fitFillColumn();
}

void GridView::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    fitFillColumn();
}

void GridView::changeEvent(QEvent* event) {
    QTableView::changeEvent(event);
    if (event->type() != QEvent::FontChange) return;
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    appliedTwips_.clear();  // every width again for the new font
    applyColumns();
}

void GridView::headerPressed(int col) {
    grid_.setMouseCell(0, col);
    if (clickHandler_) clickHandler_();
}

void GridView::mousePressEvent(QMouseEvent* event) {
    QTableView::mousePressEvent(event);
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid()) {
        keyedRow_ = index.row();
        const int row = index.row() + 1;
        grid_.setMouseCell(row, index.column());
        grid_.setCurrentRow(row);
        grid_.setCurrentCol(index.column());
    } else {
        grid_.setMouseCell(-1, columnAt(int(event->position().x())));
    }
    viewport()->update();
    // A right press opens a row's menu; on a grid where a click does more than select
    // (a player becomes a buddy) it does nothing else.
    if (event->button() == Qt::RightButton && !keysSelectRows_) return;
    if (clickHandler_) clickHandler_();
}

void GridView::mouseDoubleClickEvent(QMouseEvent* event) {
    QTableView::mouseDoubleClickEvent(event);
    if (indexAt(event->position().toPoint()).isValid() && activateHandler_) activateHandler_();
}

void GridView::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (!activateHandler_ || grid_.currentRow() < 1 || grid_.currentRow() >= grid_.rowCount()) break;
            activateHandler_();
            return;
        case Qt::Key_Delete:
            if (!deleteHandler_) break;
            deleteHandler_();
            return;
        case Qt::Key_Space:
            if (!keysSelectRows_ || !currentIndex().isValid()) break;
            selectRowByKey(currentIndex());
            return;
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Home:
        case Qt::Key_End: {
            // After the rows were laid out again the frame starts from the grid's current row.
            const int from = grid_.currentRow() - 1;
            if (!currentIndex().isValid() && from >= 0 && from < model_->rowCount())
                setCurrentIndex(model_->index(from, 0));
            const QModelIndex before = currentIndex();
            // A frame put there by the focus alone: the first key takes that row.
            if (before.isValid() && before.row() != keyedRow_) {
                selectRowByKey(before);
                return;
            }
            QTableView::keyPressEvent(event);
            const QModelIndex now = currentIndex();
            if (now.isValid() && (!before.isValid() || now.row() != before.row())) selectRowByKey(now);
            return;
        }
        default: break;
    }
    QTableView::keyPressEvent(event);
}

void GridView::selectRowByKey(const QModelIndex& index) {
    keyedRow_ = index.row();
    const int row = index.row() + 1;
    grid_.setCurrentRow(row);
    grid_.setCurrentCol(index.column());
    viewport()->update();
    if (!keysSelectRows_) return;
    grid_.setMouseCell(row, index.column());
    if (clickHandler_) clickHandler_();
}

QList<int> GridView::columnWidths() const { return QList<int>(baseWidths_.begin(), baseWidths_.end()); }

void GridView::setColumnWidths(const QList<int>& widths) {
    for (int c = 0; c < std::min(int(widths.size()), int(baseWidths_.size())); ++c) {
        if (isColumnHidden(c) || c == fillColumn_ || widths[c] <= 0) continue;
        baseWidths_[c] = widths[c];
        setWidth(c, baseWidths_[c]);
    }
    fitFillColumn();
}
