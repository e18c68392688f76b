#include "platform/qt/qt_list_view.h"

#include <algorithm>

#include <QAbstractItemView>
#include <QHeaderView>
#include <QKeyEvent>

#include "platform/qt/qt_text.h"

namespace ts::platform {

namespace {

Qt::Alignment alignmentOf(int column) {
    return (column == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter;
}

}  // namespace

ReportListView::ReportListView(QWidget* parent) : QTreeWidget(parent) {
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSortingEnabled(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setAllColumnsShowFocus(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setFrameShape(QFrame::StyledPanel);
    header()->setSectionsClickable(false);
    header()->setSectionsMovable(false);
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(QHeaderView::Interactive);
    // The selection stays visible when the list has no focus.
    QPalette colours = palette();
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText}) {
        colours.setColor(QPalette::Inactive, role, colours.color(QPalette::Active, role));
    }
    setPalette(colours);
    setColumnCount(0);
}

int ReportListView::selectedRow() const {
    const QModelIndexList rows = selectionModel()->selectedRows();
    int first = -1;
    for (const QModelIndex& index : rows) {
        if (first < 0 || index.row() < first) {
            first = index.row();
        }
    }
    return first;
}

void ReportListView::selectRow(int index) {
    if (index < 0 || index >= topLevelItemCount()) {
        clearSelection();
        return;
    }
    QTreeWidgetItem* item = topLevelItem(index);
    setCurrentItem(item);
    item->setSelected(true);
    scrollToItem(item);
}

void ReportListView::deleteRow(int index) {
    if (index < 0 || index >= topLevelItemCount()) {
        return;
    }
    // The selection stays with its row; deleting the selected row leaves
    // none selected rather than moving it to a neighbour.
    const int selected = selectedRow();
    QTreeWidgetItem* kept = selected >= 0 && selected != index ? topLevelItem(selected) : nullptr;
    QTreeWidgetItem* gone = takeTopLevelItem(index);
    clearSelection();
    if (kept) {
        kept->setSelected(true);
    }
    delete gone;
}

void ReportListView::deleteColumns(int count) {
    for (int i = 0; i < count && !columns_.empty(); ++i) {
        columns_.erase(columns_.begin());
        for (int row = 0; row < topLevelItemCount(); ++row) {
            QTreeWidgetItem* item = topLevelItem(row);
            for (int c = 0; c + 1 < columnCount(); ++c) {
                item->setText(c, item->text(c + 1));
            }
        }
        applyColumns();
    }
}

void ReportListView::deleteAllRows() {
    clear();
}

void ReportListView::insertColumn(int position, std::u16string_view title, int width,
                                  std::string_view /*role*/) {
    const int count = static_cast<int>(columns_.size());
    const int at = std::clamp(position, 0, count);
    columns_.insert(columns_.begin() + at, Column{toQString(title), std::max(width, 0)});
    applyColumns();
    for (int row = 0; row < topLevelItemCount(); ++row) {
        QTreeWidgetItem* item = topLevelItem(row);
        for (int c = count; c > at; --c) {
            item->setText(c, item->text(c - 1));
        }
        item->setText(at, QString());
    }
}

void ReportListView::setCell(std::u16string_view text, int subitem, int row, res::Tone /*tone*/) {
    if (subitem == 0) {
        if (row < 0) {
            return;
        }
        auto* item = new QTreeWidgetItem;
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren);
        insertTopLevelItem(std::min(row, topLevelItemCount()), item);
        alignItem(item);
        item->setText(0, toQString(text));
        return;
    }
    if (row < 0 || row >= topLevelItemCount() || subitem < 0 || subitem >= columnCount()) {
        return;
    }
    topLevelItem(row)->setText(subitem, toQString(text));
}

void ReportListView::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        event->ignore();
        return;
    }
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
        QTreeWidgetItem* current = currentItem();
        const QRect row = current ? visualItemRect(current) : QRect();
        emit customContextMenuRequested(row.isValid() ? row.center() : QPoint(0, 0));
        event->accept();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void ReportListView::alignItem(QTreeWidgetItem* item) const {
    for (int c = 0; c < columnCount(); ++c) {
        item->setTextAlignment(c, alignmentOf(c));
    }
}

// Makes the header show columns_ and realigns every cell, so that the
// leftmost column is always the left-aligned one.
void ReportListView::applyColumns() {
    const int count = static_cast<int>(columns_.size());
    setColumnCount(count);
    QTreeWidgetItem* head = headerItem();
    for (int c = 0; c < count; ++c) {
        head->setText(c, columns_[static_cast<std::size_t>(c)].title);
        head->setTextAlignment(c, alignmentOf(c));
        header()->resizeSection(c, columns_[static_cast<std::size_t>(c)].width);
    }
    for (int row = 0; row < topLevelItemCount(); ++row) {
        alignItem(topLevelItem(row));
    }
}

}  // namespace ts::platform
