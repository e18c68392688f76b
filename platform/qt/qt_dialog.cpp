#include "platform/qt/qt_dialog.h"

#include <algorithm>
#include <climits>

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QEventLoop>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QValidator>

#include "platform/qt/program_icon.h"
#include "platform/qt/qt_controls.h"
#include "platform/qt/qt_list_view.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/qt_window_system.h"
#include "storage/text.h"

namespace ts::platform {

namespace {

using res::ControlKind;

// The closed combo box is as high as an edit; its template height also
// covers the dropped list.
constexpr int kClosedComboHeight = 14;

// value * numerator / denominator rounded half away from zero, as dialog
// rectangles are mapped. Template values are small, so the product fits.
int mulDiv(int value, int numerator, int denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    const long long rounded =
        product >= 0 ? (product + half) / denominator : -((-product + half) / denominator);
    return static_cast<int>(std::clamp<long long>(rounded, INT_MIN, INT_MAX));
}

// Keeps an edit field's text made of whole characters. QLineEdit cuts typed
// or pasted text at its length limit by UTF-16 units, which can split a
// surrogate pair; the half that is left is dropped again here.
class WholeCharacters final : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int& position) const override {
        std::u16string text = input.toStdU16String();
        std::size_t caret = static_cast<std::size_t>(std::max(position, 0));
        if (dropLoneSurrogates(text, caret)) {
            input = toQString(text);
            position = static_cast<int>(caret);
        }
        return Acceptable;
    }
};

}  // namespace

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
    const int left = mulDiv(x, units.x, 4);
    const int top = mulDiv(y, units.y, 8);
    const int right = mulDiv(x + width, units.x, 4);
    const int bottom = mulDiv(y + height, units.y, 8);
    return QRect(QPoint(left, top), QSize(right - left, bottom - top));
}

void TemplateDialog::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        // Edit fields copy their own selection; anywhere else Ctrl+C is the
        // dialog's.
        if (onMessage) {
            onMessage(Message{Message::Kind::Copy, 0});
        }
        event->accept();
        return;
    }
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
        case Qt::Key_F1:
            if (event->modifiers() == Qt::NoModifier) {
                if (onMessage) {
                    onMessage(Message{Message::Kind::Help, 0});
                }
                event->accept();
                return;
            }
            QDialog::keyPressEvent(event);
            return;
        default:
            QDialog::keyPressEvent(event);
    }
}

void TemplateDialog::closeEvent(QCloseEvent* event) {
    event->ignore();
    command(2);
}

void TemplateDialog::command(int id) {
    if (onMessage) {
        onMessage(Message{Message::Kind::Command, id});
    }
}

QtDialog::QtDialog(QtWindowSystem& system, const res::DialogTemplate& layout, DialogProc proc,
                   QtDialog* owner)
    : DialogCore(layout, std::move(proc)), system_(system), owner_(owner) {}

void QtDialog::close() {
    if (dialog_) {
        dialog_->hide();
    }
}

void QtDialog::invalidate() {
    if (dialog_) {
        dialog_->update();
    }
}

MessageAnswer QtDialog::messageBox(std::u16string_view text, std::u16string_view caption,
                                   MessageStyle style) {
    return system_.showMessageBox(text, caption, style, dialog_.get());
}

int QtDialog::runModal(int templateId, DialogProc proc) {
    return system_.runDialog(templateId, std::move(proc), this);
}

int QtDialog::showMenu(std::size_t index, std::span<const MenuEntry> entries) {
    QWidget* control = widgets_[index];
    QMenu menu(dialog_.get());
    for (const MenuEntry& entry : entries) {
        menu.addAction(toQString(entry.text))->setData(entry.command);
    }
    const QRect area(control->mapToGlobal(QPoint(0, 0)), control->size());
    const QPoint at = area.contains(menuAnchor_) ? menuAnchor_ : area.center();
    const QAction* chosen = system_.execMenu(menu, at);
    return chosen ? chosen->data().toInt() : 0;
}

bool QtDialog::setClipboardText(std::u16string_view text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard) {
        return false;
    }
    clipboard->setText(toQString(text));
    return true;
}

std::u16string QtDialog::askSavePath(std::u16string_view suggestedName,
                                     std::u16string_view typeName, std::u16string_view extension) {
    return system_.askSavePath(suggestedName, typeName, extension, dialog_.get());
}

bool QtDialog::quitRequested() const {
    return system_.quitRequested();
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
    dialog_->setWindowTitle(toQString(layout().caption));
    dialog_->setWindowIcon(programIcons());
    dialog_->onMessage = [this](const Message& message) { dispatch(message); };

    const QString& face = system_.dialogFace();
    const QFont font = face.isEmpty() ? dialogFont(layout().fontName, layout().pointSize)
                                      : dialogFont(face.toStdU16String(), layout().pointSize);
    dialog_->setFont(font);
    const DialogBaseUnits units = dialogBaseUnits(font);
    templateSize_ = dialogRectToPixels(units, 0, 0, layout().width, layout().height).size();
    dialog_->setFixedSize(templateSize_);

    QWidget* previousStop = nullptr;
    std::vector<QWidget*> frames;
    for (const res::ControlTemplate& control : layout().controls) {
        QWidget* widget = createControl(control, units);
        if (control.id != res::kNoId) {
            widget->setObjectName(QStringLiteral("control-%1").arg(control.id));
            widget->setProperty("controlId", control.id);
        }
        widgets_.push_back(widget);
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
    nameControls();

    dispatch(Message{Message::Kind::InitDialog, 0});
    return !ended();
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
        case ControlKind::ListView: {
            auto* list = new ReportListView(dialog_.get());
            list->setContextMenuPolicy(Qt::CustomContextMenu);
            QObject::connect(list, &QWidget::customContextMenuRequested, list,
                             [this, list, id](const QPoint& at) {
                                 menuAnchor_ = list->viewport()->mapToGlobal(at);
                                 dispatch(Message{Message::Kind::ContextMenu, id});
                             });
            widget = list;
            break;
        }
        case ControlKind::UpDown: {
            auto* arrows = new UpDownControl((control.style & res::kArrowKeys) != 0, dialog_.get());
            arrows->onScroll = [this, id] { dispatch(Message{Message::Kind::VScroll, id}); };
            widget = arrows;
            break;
        }
        case ControlKind::ComboBox: {
            auto* combo = new QComboBox(dialog_.get());
            if ((control.style & res::kListOnly) != 0) {
                // Only the user's choice is a command, not the program's.
                QObject::connect(combo, &QComboBox::activated, combo, [this, id] {
                    dispatch(Message{Message::Kind::Command, id});
                });
            } else {
                combo->setEditable(true);
                combo->setInsertPolicy(QComboBox::NoInsert);
                combo->setCompleter(nullptr);
                combo->setCurrentIndex(-1);
                combo->setEditText(text);
            }
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

void QtDialog::setSpokenName(std::size_t index, std::u16string_view name) {
    QWidget* widget = widgets_[index];
    widget->setAccessibleName(toQString(name));
    if (control(index).kind == ControlKind::ComboBox) {
        // Its field is a child of its own that screen readers may reach.
        if (QLineEdit* field = static_cast<QComboBox*>(widget)->lineEdit()) {
            field->setAccessibleName(toQString(name));
        }
    }
}

void QtDialog::outOfMemory() {
    // Storage for a text or a list could not be had; Qt's event loop must
    // not see the exception.
    system_.exitOutOfMemory();
}

void QtDialog::ending(int /*result*/) {
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
    if (layout().centred) {
        centre();
    }
    dialog_->show();
    QEventLoop loop;
    loop_ = &loop;
    // A quit request from the desktop may end the loop early; only
    // endDialog ends the dialog.
    while (!ended()) {
        loop.exec(QEventLoop::DialogExec);
    }
    loop_ = nullptr;
}

std::u16string QtDialog::controlText(std::size_t index) const {
    QWidget* widget = widgets_[index];
    switch (control(index).kind) {
        case ControlKind::PushButton:
            return static_cast<QPushButton*>(widget)->text().toStdU16String();
        case ControlKind::Edit:
            return static_cast<QLineEdit*>(widget)->text().toStdU16String();
        case ControlKind::Static:
            return static_cast<QLabel*>(widget)->text().toStdU16String();
        case ControlKind::GroupBox:
            return static_cast<QGroupBox*>(widget)->title().toStdU16String();
        case ControlKind::ComboBox:
            return static_cast<QComboBox*>(widget)->currentText().toStdU16String();
        case ControlKind::ListView:
        case ControlKind::Icon:
        case ControlKind::UpDown:
            break;
    }
    return {};
}

void QtDialog::setControlText(std::size_t index, std::u16string_view text) {
    QWidget* widget = widgets_[index];
    const QString value = toQString(text);
    switch (control(index).kind) {
        case ControlKind::PushButton:
            static_cast<QPushButton*>(widget)->setText(value);
            break;
        case ControlKind::Edit:
            static_cast<QLineEdit*>(widget)->setText(value);
            break;
        case ControlKind::Static:
            static_cast<QLabel*>(widget)->setText(value);
            break;
        case ControlKind::GroupBox:
            static_cast<QGroupBox*>(widget)->setTitle(value);
            break;
        case ControlKind::ComboBox:
            if (static_cast<QComboBox*>(widget)->isEditable()) {
                static_cast<QComboBox*>(widget)->setEditText(value);
            }
            break;
        case ControlKind::ListView:
        case ControlKind::Icon:
        case ControlKind::UpDown:
            break;
    }
}

QLineEdit* QtDialog::fieldAt(std::size_t index) const {
    QWidget* widget = widgets_[index];
    return control(index).kind == ControlKind::ComboBox
               ? static_cast<QComboBox*>(widget)->lineEdit()
               : static_cast<QLineEdit*>(widget);
}

std::size_t QtDialog::fieldCaret(std::size_t index) const {
    const QLineEdit* field = fieldAt(index);
    return field ? static_cast<std::size_t>(std::max(field->cursorPosition(), 0)) : 0;
}

void QtDialog::setFieldText(std::size_t index, std::u16string_view text, std::size_t caret) {
    if (QLineEdit* field = fieldAt(index)) {
        field->setText(toQString(text));
        field->setCursorPosition(static_cast<int>(std::min(caret, text.size())));
    }
}

int QtDialog::limitField(std::size_t index, int units) {
    auto* edit = static_cast<QLineEdit*>(widgets_[index]);
    // The validator first, so that a text the new limit cuts is mended too.
    if (edit->validator() == nullptr) {
        edit->setValidator(new WholeCharacters(edit));
    }
    edit->setMaxLength(units);
    return units;
}

int QtDialog::upDownAt(std::size_t index) const {
    return static_cast<UpDownControl*>(widgets_[index])->position();
}

void QtDialog::setUpDownAt(std::size_t index, int position) {
    static_cast<UpDownControl*>(widgets_[index])->setPosition(position);
}

void QtDialog::insertChoice(std::size_t index, int position, std::u16string_view text) {
    auto* combo = static_cast<QComboBox*>(widgets_[index]);
    // Inserting into an empty list would select the new entry and replace
    // the field's text; the list only offers choices.
    const QString field = combo->currentText();
    const int current = combo->currentIndex();
    const int at = (position < 0 || position > combo->count()) ? combo->count() : position;
    combo->insertItem(at, toQString(text));
    combo->setCurrentIndex(current < 0 ? -1 : (current >= at ? current + 1 : current));
    if (combo->isEditable()) {
        combo->setEditText(field);
    }
}

void QtDialog::clearChoices(std::size_t index) {
    auto* combo = static_cast<QComboBox*>(widgets_[index]);
    const QString field = combo->currentText();
    combo->clear();
    if (combo->isEditable()) {
        combo->setEditText(field);
    }
}

int QtDialog::choiceAt(std::size_t index) const {
    return static_cast<QComboBox*>(widgets_[index])->currentIndex();
}

void QtDialog::selectChoice(std::size_t index, int position) {
    static_cast<QComboBox*>(widgets_[index])->setCurrentIndex(position);
}

int QtDialog::choiceCount(std::size_t index) const {
    return static_cast<QComboBox*>(widgets_[index])->count();
}

ListView* QtDialog::listAt(std::size_t index) {
    return static_cast<ReportListView*>(widgets_[index]);
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
    QSize size(std::min(std::max(width, templateSize_.width()), QWIDGETSIZE_MAX),
               std::min(std::max(height, templateSize_.height()), QWIDGETSIZE_MAX));
    QPoint topLeft(x, y);
    const QScreen* screen = dialog_->screen();
    if (!screen) {
        screen = QGuiApplication::primaryScreen();
    }
    if (screen) {
        const QRect area = screen->availableGeometry();
        // The caption and borders, once the window system has added them.
        const QSize frame =
            (dialog_->frameGeometry().size() - dialog_->size()).expandedTo(QSize(0, 0));
        size = size.boundedTo((area.size() - frame).expandedTo(QSize(0, 0)));
        const QSize outer = size + frame;
        topLeft.setX(
            std::clamp(x, area.left(), std::max(area.left(), area.right() + 1 - outer.width())));
        topLeft.setY(
            std::clamp(y, area.top(), std::max(area.top(), area.bottom() + 1 - outer.height())));
    }
    dialog_->move(topLeft);
    dialog_->setFixedSize(size);
}

void QtDialog::showControl(std::size_t index, bool shown) {
    widgets_[index]->setVisible(shown);
}

}  // namespace ts::platform
