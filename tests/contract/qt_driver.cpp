// The contract against Qt's widgets on the offscreen platform.
#include <stdexcept>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include "platform/qt/qt_controls.h"
#include "platform/qt/qt_window_system.h"
#include "tests/contract/window_system_contract.h"

namespace ts::test {
namespace {

using platform::Dialog;

std::u16string u16(const QString& text) {
    return text.toStdU16String();
}

class QtDriver final : public WindowSystemDriver {
public:
    int run(int templateId, platform::DialogProc proc, std::function<void(Dialog&)> user) override {
        Dialog* running = nullptr;
        windows_.setDialogObserver([&](QDialog* shown, int id) {
            if (id != templateId || running == nullptr) {
                return;
            }
            shown_ = shown;
            try {
                user(*running);
            } catch (const std::exception& e) {
                ADD_FAILURE() << e.what();  // never into Qt's event loop
            }
            // A failed check may leave it open; it must end all the same.
            QTimer::singleShot(0, shown, [running] { running->endDialog(-99); });
        });
        return windows_.runModal(templateId, [&](Dialog& dialog, const platform::Message& m) {
            running = &dialog;
            proc(dialog, m);
        });
    }

    void click(Dialog&, int id) override { widget<QPushButton>(id)->click(); }
    void pressUpArrow(Dialog&, int id) override { arrow(id, "up")->click(); }
    void pressDownArrow(Dialog&, int id) override { arrow(id, "down")->click(); }
    void pasteInto(Dialog&, int id, std::u16string_view text) override {
        auto* field = widget<QLineEdit>(id);
        field->setFocus();
        field->clear();
        QGuiApplication::clipboard()->setText(
            QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())));
        field->paste();
    }

    // Steps through the list with the arrow keys, as a keyboard user does.
    void choose(Dialog&, int id, int index) override {
        auto* combo = widget<QComboBox>(id);
        combo->setFocus();
        for (int guard = 0; combo->currentIndex() != index && guard < combo->count() + 1; ++guard) {
            QKeyEvent press(QEvent::KeyPress,
                            combo->currentIndex() < index ? Qt::Key_Down : Qt::Key_Up,
                            Qt::NoModifier);
            QApplication::sendEvent(combo, &press);
        }
    }

    std::u16string shownText(Dialog&, int id) override {
        QWidget* control = widget<QWidget>(id);
        if (auto* field = qobject_cast<QLineEdit*>(control)) {
            return u16(field->text());
        }
        if (auto* button = qobject_cast<QPushButton*>(control)) {
            return u16(button->text());
        }
        if (auto* label = qobject_cast<QLabel*>(control)) {
            return u16(label->text());
        }
        if (auto* combo = qobject_cast<QComboBox*>(control)) {
            return u16(combo->currentText());
        }
        return {};
    }
    std::u16string spokenName(Dialog&, int id) override {
        return u16(widget<QWidget>(id)->accessibleName());
    }
    std::vector<std::u16string> choices(Dialog&, int id) override {
        auto* combo = widget<QComboBox>(id);
        std::vector<std::u16string> texts;
        for (int i = 0; i < combo->count(); ++i) {
            texts.push_back(u16(combo->itemText(i)));
        }
        return texts;
    }
    std::vector<std::u16string> columns(Dialog&, int id) override {
        auto* tree = widget<QTreeWidget>(id);
        std::vector<std::u16string> titles;
        for (int c = 0; c < tree->columnCount(); ++c) {
            titles.push_back(u16(tree->headerItem()->text(c)));
        }
        return titles;
    }
    std::vector<std::vector<std::u16string>> rows(Dialog&, int id) override {
        auto* tree = widget<QTreeWidget>(id);
        std::vector<std::vector<std::u16string>> rows;
        for (int r = 0; r < tree->topLevelItemCount(); ++r) {
            std::vector<std::u16string>& row = rows.emplace_back();
            for (int c = 0; c < tree->columnCount(); ++c) {
                row.push_back(u16(tree->topLevelItem(r)->text(c)));
            }
        }
        return rows;
    }

private:
    template <typename Widget>
    Widget* widget(int id) const {
        auto* found = shown_->findChild<Widget*>(QStringLiteral("control-%1").arg(id));
        if (found == nullptr) {
            throw std::logic_error("no such control");
        }
        return found;
    }
    QToolButton* arrow(int id, const char* which) const {
        return widget<platform::UpDownControl>(id)->findChild<QToolButton*>(QLatin1String(which));
    }

    platform::QtWindowSystem windows_;
    QDialog* shown_ = nullptr;
};

INSTANTIATE_TEST_SUITE_P(Qt, WindowSystemContract, ::testing::Values(DriverFactory([] {
                             return std::unique_ptr<WindowSystemDriver>(new QtDriver);
                         })));

}  // namespace
}  // namespace ts::test

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
