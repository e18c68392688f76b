#pragma once

#include <vector>

#include <QString>
#include <QTreeWidget>

#include "platform/window_system.h"

namespace ts::platform {

// The report-view list: single selection, text-only rows, a header that is
// not clickable, amounts right-aligned and the first column left-aligned.
class ReportListView final : public QTreeWidget, public ListView {
public:
    explicit ReportListView(QWidget* parent);

    int selectedRow() const override;
    void selectRow(int index) override;
    void deleteRow(int index) override;
    void deleteAllRows() override { clear(); }
    void deleteColumns(int count) override;
    // The role and the tone of a cell are not shown: the columns' titles
    // and the words of the balances say it.
    void insertColumn(int position, std::u16string_view title, int width,
                      std::string_view role) override;
    void setCell(std::u16string_view text, int subitem, int row, res::Tone tone) override;

protected:
    // Ctrl+C is left to the dialog (the list copies no single cell), and
    // Shift+F10 asks for the context menu as the Menu key does.
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct Column {
        QString title;
        int width;
    };

    void alignItem(QTreeWidgetItem* item) const;
    void applyColumns();

    std::vector<Column> columns_;
};

}  // namespace ts::platform
