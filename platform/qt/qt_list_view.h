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

    TS_LIST_VIEW_CALLS;

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
