#include "state/FlexGrid.h"

#include <algorithm>

namespace {
bool isDigit(QChar c) { return c >= '0' && c <= '9'; }
}  // namespace

double leadingNumber(const QString& text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (text[i] == ' ' || text[i] == '\t')) ++i;
    const qsizetype start = i;
    if (i < n && (text[i] == '-' || text[i] == '+')) ++i;
    while (i < n && isDigit(text[i])) ++i;
    if (i < n && text[i] == '.') {
        ++i;
        while (i < n && isDigit(text[i])) ++i;
    }
    bool ok = false;
    const double value = text.mid(start, i - start).toDouble(&ok);
    return ok ? value : 0.0;
}

FlexGrid::FlexGrid(int rows, int cols) {
    setColCount(cols);
    setRowCount(rows);
}

void FlexGrid::setRowCount(int rows) {
    rows = std::max(rows, 0);
    const int oldRows = rowCount();
    cells_.resize(rows);
    // Only the new rows need their cells: growing a row at a time stays linear.
    for (int r = oldRows; r < rows; ++r) cells_[r].resize(cols_);
    if (row_ >= rows) row_ = std::max(rows - 1, 0);
    if (rowSel_ >= rows) rowSel_ = row_;
    notify(Change::Layout);
}

void FlexGrid::setColCount(int cols) {
    cols_ = std::max(cols, 0);
    for (auto& r : cells_) r.resize(cols_);
    widths_.resize(cols_, -1);
    alignments_.resize(cols_, 0);
    if (col_ >= cols_) col_ = std::max(cols_ - 1, 0);
    if (colSel_ >= cols_) colSel_ = col_;
    notify(Change::Layout);
}

void FlexGrid::clear() {
    for (auto& r : cells_)
        for (auto& c : r) c = Cell{};
    notify(Change::Cells);
}

const FlexGrid::Cell* FlexGrid::cell(int row, int col) const {
    if (row < 0 || row >= rowCount() || col < 0 || col >= cols_) return nullptr;
    return &cells_[row][col];
}

FlexGrid::Cell* FlexGrid::cellAt(int row, int col) {
    return const_cast<Cell*>(std::as_const(*this).cell(row, col));
}

QString FlexGrid::cellText(int row, int col) const {
    const Cell* c = cell(row, col);
    return c ? c->text : QString();
}

void FlexGrid::setCellText(int row, int col, const QString& text) {
    if (Cell* c = cellAt(row, col)) {
        c->text = text;
        notify(Change::Cells);
    }
}

int FlexGrid::colWidth(int col) const { return col >= 0 && col < cols_ ? widths_[col] : -1; }

void FlexGrid::setColWidth(int col, int twips) {
    if (col < 0 || col >= cols_) return;
    widths_[col] = twips;
    notify(Change::Layout);
}

int FlexGrid::colAlignment(int col) const { return col >= 0 && col < cols_ ? alignments_[col] : 0; }

void FlexGrid::setColAlignment(int col, int alignment) {
    if (col < 0 || col >= cols_) return;
    alignments_[col] = alignment;
    notify(Change::Cells);
}

void FlexGrid::appendRow(const QString& text) {
    QVector<Cell> row(cols_);
    const QStringList parts = text.split('\t');
    for (int c = 0; c < cols_ && c < parts.size(); ++c) row[c].text = parts[c];
    cells_.append(row);
    notify(Change::Layout);
}

bool FlexGrid::removeRow(int row) {
    if (row < fixedRows_ || row >= rowCount()) return false;
    if (rowCount() - fixedRows_ <= 1) return false;
    cells_.removeAt(row);
    if (row_ >= rowCount()) row_ = rowCount() - 1;
    if (rowSel_ >= rowCount()) rowSel_ = rowCount() - 1;
    if (topRow_ >= rowCount()) topRow_ = std::max(fixedRows_, rowCount() - 1);
    notify(Change::Layout);
    return true;
}

void FlexGrid::setCurrentRow(int row) {
    if (row < 0 || row >= rowCount()) return;
    row_ = rowSel_ = row;
}

void FlexGrid::setCurrentCol(int col) {
    if (col < 0 || col >= cols_) return;
    col_ = colSel_ = col;
}

FlexGrid::Colour FlexGrid::cellBackColour() const {
    const Cell* c = cell(row_, col_);
    return c ? c->back : kDefaultColour;
}

void FlexGrid::setCellBackColour(Colour colour) {
    if (Cell* c = cellAt(row_, col_)) {
        c->back = colour;
        notify(Change::Cells);
    }
}

FlexGrid::Colour FlexGrid::cellForeColour() const {
    const Cell* c = cell(row_, col_);
    return c ? c->fore : kDefaultColour;
}

void FlexGrid::setCellForeColour(Colour colour) {
    if (Cell* c = cellAt(row_, col_)) {
        c->fore = colour;
        notify(Change::Cells);
    }
}

int FlexGrid::cellPicture() const {
    const Cell* c = cell(row_, col_);
    return c ? c->picture : 0;
}

void FlexGrid::setCellPicture(int picture) {
    if (Cell* c = cellAt(row_, col_)) {
        c->picture = picture;
        notify(Change::Cells);
    }
}

void FlexGrid::setTopRow(int row) {
    if (row < fixedRows_ || row >= rowCount()) return;
    topRow_ = row;
    notify(Change::Layout);
}

int FlexGrid::compareNumeric(const QString& a, const QString& b) {
    const double x = leadingNumber(a), y = leadingNumber(b);
    return x < y ? -1 : (x > y ? 1 : 0);
}

void FlexGrid::sort(int mode) {
    if (mode != SortNumericAscending && mode != SortNumericDescending &&
        mode != SortStringAscending && mode != SortStringDescending)
        return;
    if (rowCount() - fixedRows_ < 2) return;
    const int first = std::min(col_, colSel_), last = std::max(col_, colSel_);
    const bool numeric = mode == SortNumericAscending || mode == SortNumericDescending;
    const bool descending = mode == SortNumericDescending || mode == SortStringDescending;
    auto less = [&](const QVector<Cell>& a, const QVector<Cell>& b) {
        for (int c = first; c <= last && c < cols_; ++c) {
            const int cmp = numeric ? compareNumeric(a[c].text, b[c].text)
                                    : a[c].text.compare(b[c].text, Qt::CaseSensitive);
            if (cmp != 0) return descending ? cmp > 0 : cmp < 0;
        }
        return false;
    };
    std::stable_sort(cells_.begin() + fixedRows_, cells_.end(), less);
    notify(Change::Cells);
}

void FlexGrid::setRedraw(bool on) {
    redraw_ = on;
    if (on && pendingLayout_) notify(Change::Layout);
}

void FlexGrid::notify(Change change) {
    if (!redraw_) {
        pendingLayout_ = true;
        return;
    }
    pendingLayout_ = false;
    if (listener_) listener_(change);
}
