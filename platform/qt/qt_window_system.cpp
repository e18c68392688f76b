#include "platform/qt/qt_window_system.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <map>
#include <new>

#include <QAbstractItemView>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QEventLoop>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include "platform/qt/program_icon.h"
#include "resources/dialog_template.h"
#include "resources/texts.h"

// Off unless enabled, e.g. QT_LOGGING_RULES="tallyshare.windows.info=true".
Q_LOGGING_CATEGORY(lcWindows, "tallyshare.windows", QtWarningMsg)

namespace ts::platform {

namespace {

using res::ControlKind;

// The closed combo box is as high as an edit; its template height also
// covers the dropped list.
constexpr int kClosedComboHeight = 14;

// Up-down positions are 16-bit values.
constexpr int kMinUpDownPosition = -32768;
constexpr int kMaxUpDownPosition = 32767;

QString toQString(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

std::u16string cutItemText(const QString& text) {
    std::u16string result = text.toStdU16String();
    if (result.size() > kMaxItemText) {
        result.resize(kMaxItemText);
    }
    return result;
}

// value * numerator / denominator rounded half away from zero, as dialog
// rectangles are mapped. Template values are small, so the product fits.
int mulDiv(int value, int numerator, int denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    const long long rounded =
        product >= 0 ? (product + half) / denominator : -((-product + half) / denominator);
    return static_cast<int>(std::clamp<long long>(rounded, INT_MIN, INT_MAX));
}

// A label that can report clicks (static texts and the icon).
class ClickableLabel final : public QLabel {
public:
    using QLabel::QLabel;
    std::function<void()> onClick;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (onClick && event->button() == Qt::LeftButton &&
            rect().contains(event->position().toPoint())) {
            onClick();
            event->accept();
            return;
        }
        QLabel::mouseReleaseEvent(event);
    }
};

// A free-standing pair of arrows. The up arrow lowers the position by one and
// the down arrow raises it, then the control reports the scroll.
class UpDownControl final : public QWidget {
public:
    UpDownControl(bool arrowKeys, QWidget* parent) : QWidget(parent), arrowKeys_(arrowKeys) {
        up_ = new QToolButton(this);
        up_->setObjectName(QStringLiteral("up"));
        up_->setArrowType(Qt::UpArrow);
        down_ = new QToolButton(this);
        down_->setObjectName(QStringLiteral("down"));
        down_->setArrowType(Qt::DownArrow);
        for (QToolButton* arrow : {up_, down_}) {
            arrow->setFocusPolicy(Qt::NoFocus);
            arrow->setAutoRepeat(true);
        }
        QObject::connect(up_, &QToolButton::clicked, this, [this] { step(-1); });
        QObject::connect(down_, &QToolButton::clicked, this, [this] { step(+1); });
    }

    std::function<void()> onScroll;
    int position() const { return position_; }
    void setPosition(int position) {
        position_ = std::clamp(position, kMinUpDownPosition, kMaxUpDownPosition);
    }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        const int upHeight = height() / 2;
        up_->setGeometry(0, 0, width(), upHeight);
        down_->setGeometry(0, upHeight, width(), height() - upHeight);
    }

    void keyPressEvent(QKeyEvent* event) override {
        if (arrowKeys_ && event->key() == Qt::Key_Up) {
            step(-1);
        } else if (arrowKeys_ && event->key() == Qt::Key_Down) {
            step(+1);
        } else {
            QWidget::keyPressEvent(event);
            return;
        }
        event->accept();
    }

private:
    void step(int delta) {
        setPosition(position_ + delta);
        if (onScroll) {
            onScroll();
        }
    }

    bool arrowKeys_;
    int position_ = 0;
    QToolButton* up_;
    QToolButton* down_;
};

// The report-view list: single selection, text-only rows, a header that is
// not clickable, amounts right-aligned and the first column left-aligned.
class ReportListView final : public QTreeWidget, public ListView {
public:
    explicit ReportListView(QWidget* parent) : QTreeWidget(parent) {
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

    int selectedRow() const override {
        const QModelIndexList rows = selectionModel()->selectedRows();
        int first = -1;
        for (const QModelIndex& index : rows) {
            if (first < 0 || index.row() < first) {
                first = index.row();
            }
        }
        return first;
    }

    void selectRow(int index) override {
        if (index < 0 || index >= topLevelItemCount()) {
            clearSelection();
            return;
        }
        QTreeWidgetItem* item = topLevelItem(index);
        setCurrentItem(item);
        item->setSelected(true);
        scrollToItem(item);
    }

    void deleteRow(int index) override {
        if (index < 0 || index >= topLevelItemCount()) {
            return;
        }
        // The selection stays with its row; deleting the selected row leaves
        // none selected rather than moving it to a neighbour.
        const int selected = selectedRow();
        QTreeWidgetItem* kept =
            selected >= 0 && selected != index ? topLevelItem(selected) : nullptr;
        QTreeWidgetItem* gone = takeTopLevelItem(index);
        clearSelection();
        if (kept) {
            kept->setSelected(true);
        }
        delete gone;
    }

    void deleteAllRows() override { clear(); }

    void deleteColumns(int count) override {
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

    void insertColumn(int position, std::u16string_view title, int width) override {
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

    void setCell(std::u16string_view text, int subitem, int row) override {
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

private:
    struct Column {
        QString title;
        int width;
    };

    static Qt::Alignment alignmentOf(int column) {
        return (column == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter;
    }

    void alignItem(QTreeWidgetItem* item) const {
        for (int c = 0; c < columnCount(); ++c) {
            item->setTextAlignment(c, alignmentOf(c));
        }
    }

    // Makes the header show columns_ and realigns every cell, so that the
    // leftmost column is always the left-aligned one.
    void applyColumns() {
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

    std::vector<Column> columns_;
};

// The QDialog of a template. It never closes by itself: Enter, Escape and the
// close box become commands for the procedure, and only endDialog ends it.
class TemplateDialog final : public QDialog {
public:
    using QDialog::QDialog;
    std::function<void(int)> onCommand;

    void accept() override { command(1); }
    void reject() override { command(2); }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        switch (event->key()) {
            case Qt::Key_Return:
            case Qt::Key_Enter:
                // A focused push button takes Enter as a click; anywhere else
                // Enter is the OK command.
                if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
                    button->click();
                } else {
                    command(1);
                }
                event->accept();
                return;
            case Qt::Key_Escape:
                command(2);
                event->accept();
                return;
            default:
                QDialog::keyPressEvent(event);
        }
    }

    void closeEvent(QCloseEvent* event) override {
        event->ignore();
        command(2);
    }

private:
    void command(int id) {
        if (onCommand) {
            onCommand(id);
        }
    }
};

struct Control {
    int id;
    ControlKind kind;
    std::uint32_t style;
    QWidget* widget;
};

}  // namespace

// One running dialog: the widgets of its template and its procedure.
class QtDialog final : public Dialog {
public:
    QtDialog(QtWindowSystem& system, const res::DialogTemplate& layout, DialogProc proc,
             QtDialog* owner)
        : system_(system), layout_(layout), proc_(std::move(proc)), owner_(owner) {}
    QtDialog(const QtDialog&) = delete;
    QtDialog& operator=(const QtDialog&) = delete;
    ~QtDialog() = default;

    // Builds the widgets and sends InitDialog; false when the procedure
    // ended the dialog already.
    bool open();
    // Shows the dialog and runs its modal loop until endDialog.
    void runLoop();
    void close() {
        if (dialog_) {
            dialog_->hide();
        }
    }
    int result() const { return result_; }
    TemplateDialog* widget() const { return dialog_.get(); }
    void dispatch(const Message& message);

    std::u16string itemText(int id) const override;
    void setItemText(int id, std::u16string_view text) override;
    void endDialog(int result) override;
    int messageBox(std::u16string_view text, std::u16string_view caption,
                   std::uint32_t style) override {
        return system_.showMessageBox(text, caption, style, dialog_.get());
    }
    int runModal(int templateId, DialogProc proc) override {
        return system_.runDialog(templateId, std::move(proc), this);
    }
    int upDownPosition(int id) const override;
    void setUpDownPosition(int id, int position) override;
    void insertComboEntry(int id, int position, std::u16string_view text) override;
    ListView* listView(int id) override;
    int screenWidth() const override;
    int screenHeight() const override;
    void placeWindow(int x, int y, int width, int height) override;
    void invalidate() override {
        if (dialog_) {
            dialog_->update();
        }
    }

private:
    QWidget* createControl(const res::ControlTemplate& control, const DialogBaseUnits& units);
    const Control* find(int id) const;
    void centre();

    QtWindowSystem& system_;
    const res::DialogTemplate& layout_;
    DialogProc proc_;
    QtDialog* owner_;
    std::unique_ptr<TemplateDialog> dialog_;
    std::vector<Control> controls_;
    std::map<int, std::size_t> byId_;
    bool ended_ = false;
    int result_ = 0;
    QEventLoop* loop_ = nullptr;
};

QFont dialogFont(std::u16string_view faceName, int pointSize) {
    const QStringList installed = QFontDatabase::families();
    const QStringList candidates{toQString(faceName),
                                 QStringLiteral("IPAGothic"),
                                 QStringLiteral("IPAゴシック"),
                                 QStringLiteral("IPAexGothic"),
                                 QStringLiteral("Noto Sans CJK JP"),
                                 QStringLiteral("VL Gothic"),
                                 QStringLiteral("TakaoGothic")};
    for (const QString& family : candidates) {
        if (!family.isEmpty() && installed.contains(family)) {
            QFont font(family);
            font.setPointSize(std::max(pointSize, 1));
            return font;
        }
    }
    QFont font = QApplication::font();
    font.setPointSize(std::max(pointSize, 1));
    return font;
}

DialogBaseUnits dialogBaseUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    // The average character width is taken over the 52 Latin letters,
    // halved and rounded: (width / 26 + 1) / 2.
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    DialogBaseUnits units;
    units.x = std::max((letters / 26 + 1) / 2, 1);
    units.y = std::max(metrics.height(), 1);
    return units;
}

QRect dialogRectToPixels(const DialogBaseUnits& units, int x, int y, int width, int height) {
    return QRect(mulDiv(x, units.x, 4), mulDiv(y, units.y, 8), mulDiv(width, units.x, 4),
                 mulDiv(height, units.y, 8));
}

bool QtDialog::open() {
    QWidget* parent = owner_ ? owner_->widget() : nullptr;
    dialog_ = std::make_unique<TemplateDialog>(parent);
    if (owner_) {
        dialog_->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
        dialog_->setWindowModality(Qt::ApplicationModal);
    } else {
        // The main window: a top-level window of its own that can be
        // minimised, but not resized.
        dialog_->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                                Qt::WindowCloseButtonHint);
    }
    dialog_->setWindowTitle(toQString(layout_.caption));
    dialog_->setWindowIcon(QIcon(programIcon()));
    dialog_->onCommand = [this](int id) { dispatch(Message{Message::Kind::Command, id}); };

    const QFont font = dialogFont(layout_.fontName, layout_.pointSize);
    dialog_->setFont(font);
    const DialogBaseUnits units = dialogBaseUnits(font);
    dialog_->setFixedSize(dialogRectToPixels(units, 0, 0, layout_.width, layout_.height).size());

    QWidget* previousStop = nullptr;
    std::vector<QWidget*> frames;
    for (const res::ControlTemplate& control : layout_.controls) {
        QWidget* widget = createControl(control, units);
        if (control.id != res::kNoId) {
            widget->setObjectName(QStringLiteral("control-%1").arg(control.id));
            widget->setProperty("controlId", control.id);
            byId_.emplace(control.id, controls_.size());  // the first control wins
        }
        controls_.push_back(Control{control.id, control.kind, control.style, widget});
        if ((control.style & res::kTabStop) != 0) {
            widget->setFocusPolicy(Qt::StrongFocus);
            if (previousStop) {
                QWidget::setTabOrder(previousStop, widget);
            }
            previousStop = widget;
        } else if (widget->focusPolicy() != Qt::NoFocus) {
            widget->setFocusPolicy(Qt::ClickFocus);
        }
        if (control.kind == ControlKind::GroupBox) {
            frames.push_back(widget);
        }
    }
    // Frames stay behind the controls they surround, so clicks reach those.
    for (QWidget* frame : frames) {
        frame->lower();
    }

    dispatch(Message{Message::Kind::InitDialog, 0});
    return !ended_;
}

QWidget* QtDialog::createControl(const res::ControlTemplate& control,
                                 const DialogBaseUnits& units) {
    QRect geometry = dialogRectToPixels(units, control.x, control.y, control.width, control.height);
    const QString text = toQString(control.text);
    const int id = control.id;
    QWidget* widget = nullptr;
    switch (control.kind) {
        case ControlKind::PushButton: {
            auto* button = new QPushButton(text, dialog_.get());
            button->setAutoDefault(false);
            button->setDefault(false);
            QObject::connect(button, &QPushButton::clicked, button, [this, id] {
                dispatch(Message{Message::Kind::Command, id});
            });
            widget = button;
            break;
        }
        case ControlKind::Edit: {
            auto* edit = new QLineEdit(text, dialog_.get());
            edit->setFrame((control.style & res::kBorder) != 0);
            edit->setMaxLength(32767);
            edit->setAlignment(
                ((control.style & res::kAlignRight) != 0 ? Qt::AlignRight : Qt::AlignLeft) |
                Qt::AlignVCenter);
            widget = edit;
            break;
        }
        case ControlKind::Static:
        case ControlKind::Icon: {
            auto* label = new ClickableLabel(dialog_.get());
            if (control.kind == ControlKind::Icon) {
                label->setPixmap(programIcon());
                label->setAlignment(Qt::AlignCenter);
            } else {
                label->setTextFormat(Qt::PlainText);
                label->setText(text);
                Qt::Alignment horizontal = Qt::AlignLeft;
                if ((control.style & res::kAlignCenter) != 0) {
                    horizontal = Qt::AlignHCenter;
                } else if ((control.style & res::kAlignRight) != 0) {
                    horizontal = Qt::AlignRight;
                }
                label->setAlignment(horizontal | Qt::AlignTop);
            }
            if ((control.style & res::kReportsClicks) != 0 && id != res::kNoId) {
                label->onClick = [this, id] { dispatch(Message{Message::Kind::Command, id}); };
            }
            widget = label;
            break;
        }
        case ControlKind::GroupBox: {
            auto* frame = new QGroupBox(dialog_.get());
            frame->setAttribute(Qt::WA_TransparentForMouseEvents);
            frame->setFocusPolicy(Qt::NoFocus);
            widget = frame;
            break;
        }
        case ControlKind::ListView:
            widget = new ReportListView(dialog_.get());
            break;
        case ControlKind::UpDown: {
            auto* arrows = new UpDownControl((control.style & res::kArrowKeys) != 0, dialog_.get());
            arrows->onScroll = [this, id] { dispatch(Message{Message::Kind::VScroll, id}); };
            widget = arrows;
            break;
        }
        case ControlKind::ComboBox: {
            auto* combo = new QComboBox(dialog_.get());
            combo->setEditable(true);
            combo->setInsertPolicy(QComboBox::NoInsert);
            combo->setCompleter(nullptr);
            combo->setCurrentIndex(-1);
            combo->setEditText(text);
            if (combo->view()) {
                combo->view()->setVerticalScrollBarPolicy((control.style & res::kVScroll) != 0
                                                              ? Qt::ScrollBarAsNeeded
                                                              : Qt::ScrollBarAlwaysOff);
            }
            geometry.setHeight(
                dialogRectToPixels(units, 0, 0, 0, std::min(control.height, kClosedComboHeight))
                    .height());
            widget = combo;
            break;
        }
    }
    widget->setGeometry(geometry);
    return widget;
}

const Control* QtDialog::find(int id) const {
    const auto found = byId_.find(id);
    return found == byId_.end() ? nullptr : &controls_[found->second];
}

void QtDialog::dispatch(const Message& message) {
    // After endDialog the procedure hears nothing more, even from events
    // that were queued before the loop noticed the end.
    if (ended_ || !proc_) {
        return;
    }
    try {
        proc_(*this, message);
    } catch (const std::bad_alloc&) {
        // Storage for a text or a list could not be had; the procedures
        // cannot go on half-done, and Qt's event loop must not see the
        // exception.
        system_.exitOutOfMemory();
    }
}

void QtDialog::endDialog(int result) {
    if (ended_) {
        return;
    }
    ended_ = true;
    result_ = result;
    if (loop_) {
        loop_->quit();
    }
}

void QtDialog::centre() {
    const QSize size = dialog_->frameGeometry().size();
    QScreen* screen = owner_ ? owner_->widget()->screen() : QGuiApplication::primaryScreen();
    const QRect area = owner_ ? owner_->widget()->frameGeometry()
                              : (screen ? screen->availableGeometry() : QRect());
    QPoint topLeft = area.center() - QPoint(size.width() / 2, size.height() / 2);
    if (screen) {
        // Keep the dialog on the screen when its owner is near an edge.
        const QRect available = screen->availableGeometry();
        topLeft.setX(std::max(available.left(),
                              std::min(topLeft.x(), available.right() + 1 - size.width())));
        topLeft.setY(std::max(available.top(),
                              std::min(topLeft.y(), available.bottom() + 1 - size.height())));
    }
    dialog_->move(topLeft);
}

void QtDialog::runLoop() {
    if (layout_.centred) {
        centre();
    }
    dialog_->show();
    QEventLoop loop;
    loop_ = &loop;
    // A quit request from the desktop may end the loop early; only
    // endDialog ends the dialog.
    while (!ended_) {
        loop.exec(QEventLoop::DialogExec);
    }
    loop_ = nullptr;
}

std::u16string QtDialog::itemText(int id) const {
    const Control* control = find(id);
    if (!control) {
        return {};
    }
    switch (control->kind) {
        case ControlKind::PushButton:
            return cutItemText(static_cast<QPushButton*>(control->widget)->text());
        case ControlKind::Edit:
            return cutItemText(static_cast<QLineEdit*>(control->widget)->text());
        case ControlKind::Static:
            return cutItemText(static_cast<QLabel*>(control->widget)->text());
        case ControlKind::GroupBox:
            return cutItemText(static_cast<QGroupBox*>(control->widget)->title());
        case ControlKind::ComboBox:
            return cutItemText(static_cast<QComboBox*>(control->widget)->currentText());
        case ControlKind::ListView:
        case ControlKind::Icon:
        case ControlKind::UpDown:
            break;
    }
    return {};
}

void QtDialog::setItemText(int id, std::u16string_view text) {
    const Control* control = find(id);
    if (!control) {
        return;
    }
    const QString value = toQString(text);
    switch (control->kind) {
        case ControlKind::PushButton:
            static_cast<QPushButton*>(control->widget)->setText(value);
            break;
        case ControlKind::Edit:
            static_cast<QLineEdit*>(control->widget)->setText(value);
            break;
        case ControlKind::Static:
            static_cast<QLabel*>(control->widget)->setText(value);
            break;
        case ControlKind::GroupBox:
            static_cast<QGroupBox*>(control->widget)->setTitle(value);
            break;
        case ControlKind::ComboBox:
            static_cast<QComboBox*>(control->widget)->setEditText(value);
            break;
        case ControlKind::ListView:
        case ControlKind::Icon:
        case ControlKind::UpDown:
            break;
    }
}

int QtDialog::upDownPosition(int id) const {
    const Control* control = find(id);
    if (!control || control->kind != ControlKind::UpDown) {
        return 0;
    }
    return static_cast<UpDownControl*>(control->widget)->position();
}

void QtDialog::setUpDownPosition(int id, int position) {
    const Control* control = find(id);
    if (control && control->kind == ControlKind::UpDown) {
        static_cast<UpDownControl*>(control->widget)->setPosition(position);
    }
}

void QtDialog::insertComboEntry(int id, int position, std::u16string_view text) {
    const Control* control = find(id);
    if (!control || control->kind != ControlKind::ComboBox) {
        return;
    }
    auto* combo = static_cast<QComboBox*>(control->widget);
    // Inserting into an empty list would select the new entry and replace
    // the field's text; the list only offers choices.
    const QString field = combo->currentText();
    const int current = combo->currentIndex();
    const int at = (position < 0 || position > combo->count()) ? combo->count() : position;
    combo->insertItem(at, toQString(text));
    combo->setCurrentIndex(current < 0 ? -1 : (current >= at ? current + 1 : current));
    combo->setEditText(field);
}

ListView* QtDialog::listView(int id) {
    const Control* control = find(id);
    if (!control || control->kind != ControlKind::ListView) {
        return nullptr;
    }
    return static_cast<ReportListView*>(control->widget);
}

int QtDialog::screenWidth() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().width() : 0;
}

int QtDialog::screenHeight() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().height() : 0;
}

void QtDialog::placeWindow(int x, int y, int width, int height) {
    if (!dialog_) {
        return;
    }
    dialog_->move(x, y);
    dialog_->setFixedSize(std::clamp(width, 0, QWIDGETSIZE_MAX),
                          std::clamp(height, 0, QWIDGETSIZE_MAX));
}

// --- QtWindowSystem -------------------------------------------------------

namespace {

// The self-pipe through which the signal handler reaches the event loop.
int quitPipe[2] = {-1, -1};
constexpr int kQuitSignals[] = {SIGTERM, SIGHUP, SIGINT};

extern "C" void onQuitSignal(int) {
    const int savedErrno = errno;
    const char byte = 'q';
    if (::write(quitPipe[1], &byte, 1) < 0) {
        // The pipe is full: a quit request is already on its way.
    }
    errno = savedErrno;
}

}  // namespace

QtWindowSystem::QtWindowSystem() = default;

QtWindowSystem::~QtWindowSystem() {
    if (quitNotifier_) {
        for (int signalNumber : kQuitSignals) {
            ::signal(signalNumber, SIG_DFL);
        }
        quitNotifier_.reset();
        ::close(quitPipe[0]);
        ::close(quitPipe[1]);
        quitPipe[0] = quitPipe[1] = -1;
    }
}

int QtWindowSystem::runModal(int templateId, DialogProc proc) {
    return runDialog(templateId, std::move(proc), nullptr);
}

void QtWindowSystem::exitOutOfMemory() {
    std::set_new_handler(nullptr);
    try {
        showMessageBox(text::kOutOfMemory, text::kAppName, MB_OK | MB_ICONEXCLAMATION, nullptr);
    } catch (...) {
        // Not even the box could be shown: end all the same.
    }
    std::_Exit(1);
}

int QtWindowSystem::messageBox(std::u16string_view text, std::u16string_view caption,
                               std::uint32_t style) {
    return showMessageBox(text, caption, style, nullptr);
}

void QtWindowSystem::setMessageBoxResponder(MessageBoxResponder responder) {
    responder_ = std::move(responder);
}

void QtWindowSystem::setDialogObserver(DialogObserver observer) {
    observer_ = std::move(observer);
}

int QtWindowSystem::runDialog(int templateId, DialogProc proc, QtDialog* owner) {
    const res::DialogTemplate* layout = res::findDialogTemplate(templateId);
    if (!layout) {
        return -1;
    }
    QtDialog dialog(*this, *layout, std::move(proc), owner);
    modals_.push_back(Modal{&dialog, nullptr, false});
    if (dialog.open()) {
        QTimer::singleShot(0, dialog.widget(),
                           [templateId] { qCInfo(lcWindows, "dialog %d is shown", templateId); });
        if (quitPending_) {
            // A quit asked for before this dialog was shown reaches it once
            // its loop runs.
            QTimer::singleShot(0, &context_, [this] { continueQuit(); });
        }
        if (observer_) {
            // The observer sees the dialog once it is on the screen.
            QDialog* widget = dialog.widget();
            QTimer::singleShot(0, widget, [this, widget, templateId] {
                // A copy: the observer may replace itself while it runs.
                const DialogObserver observer = observer_;
                if (observer) {
                    observer(widget, templateId);
                }
            });
        }
        dialog.runLoop();
        dialog.close();
    }
    modals_.pop_back();
    modalEnded();
    return dialog.result();
}

int QtWindowSystem::showMessageBox(std::u16string_view text, std::u16string_view caption,
                                   std::uint32_t style, QWidget* owner) {
    if (responder_) {
        return responder_(text, caption, style);
    }
    QMessageBox box(owner);
    box.setWindowTitle(toQString(caption));
    box.setTextFormat(Qt::PlainText);
    box.setText(toQString(text));
    box.setWindowIcon(QIcon(programIcon()));
    switch (style & 0xF0u) {
        case MB_ICONEXCLAMATION:
            box.setIcon(QMessageBox::Warning);
            break;
        case MB_ICONINFORMATION:
            box.setIcon(QMessageBox::Information);
            break;
        default:
            box.setIcon(QMessageBox::NoIcon);
    }
    if ((style & 0x0Fu) == MB_OKCANCEL) {
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Cancel);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
        box.setDefaultButton(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Ok);
    }
    modals_.push_back(Modal{nullptr, &box, false});
    const int answer = box.exec();
    const bool quitAnswered = modals_.back().quitAsked;
    modals_.pop_back();
    modalEnded();
    if (quitAnswered || answer == QMessageBox::Cancel) {
        return IDCANCEL;
    }
    return IDOK;
}

QDialog* QtWindowSystem::innermostDialog() const {
    for (auto it = modals_.rbegin(); it != modals_.rend(); ++it) {
        if (it->dialog) {
            return it->dialog->widget();
        }
    }
    return nullptr;
}

QDialog* QtWindowSystem::widgetOf(Dialog& dialog) {
    auto* qtDialog = dynamic_cast<QtDialog*>(&dialog);
    return qtDialog ? qtDialog->widget() : nullptr;
}

void QtWindowSystem::requestQuit() {
    quitPending_ = true;
    if (modals_.empty()) {
        return;  // the next dialog to open gets the request
    }
    // A repeated request closes the innermost window again, even if it was
    // asked before.
    modals_.back().quitAsked = false;
    continueQuit();
}

void QtWindowSystem::continueQuit() {
    if (!quitPending_ || modals_.empty()) {
        return;
    }
    Modal& innermost = modals_.back();
    if (innermost.quitAsked) {
        return;  // it was asked already; what it opens meanwhile is its own
    }
    innermost.quitAsked = true;
    if (innermost.box) {
        innermost.box->done(QMessageBox::Cancel);
    } else if (innermost.dialog) {
        innermost.dialog->dispatch(Message{Message::Kind::Command, 2});
    }
}

void QtWindowSystem::modalEnded() {
    if (!quitPending_) {
        return;
    }
    if (modals_.empty()) {
        quitPending_ = false;
        return;
    }
    // The next window out is closed once control is back in its loop.
    QTimer::singleShot(0, &context_, [this] { continueQuit(); });
}

void QtWindowSystem::installQuitHandlers() {
    if (quitNotifier_) {
        return;
    }
    if (quitPipe[0] < 0 && ::pipe2(quitPipe, O_CLOEXEC | O_NONBLOCK) == 0) {
        quitNotifier_ = std::make_unique<QSocketNotifier>(quitPipe[0], QSocketNotifier::Read);
        QObject::connect(quitNotifier_.get(), &QSocketNotifier::activated, &context_, [this] {
            char bytes[16];
            while (::read(quitPipe[0], bytes, sizeof bytes) > 0) {
            }
            requestQuit();
        });
        struct sigaction action {};
        action.sa_handler = onQuitSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        for (int signalNumber : kQuitSignals) {
            ::sigaction(signalNumber, &action, nullptr);
        }
    }
#ifndef QT_NO_SESSIONMANAGER
    if (auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        QObject::connect(application, &QGuiApplication::commitDataRequest, &context_,
                         [this](QSessionManager&) { requestQuit(); });
    }
#endif
}

}  // namespace ts::platform
