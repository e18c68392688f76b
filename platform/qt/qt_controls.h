#pragma once

#include <functional>

#include <QLabel>
#include <QWidget>

class QToolButton;

namespace ts::platform {

// A label that can report clicks (static texts and the icon).
class ClickableLabel final : public QLabel {
public:
    using QLabel::QLabel;
    std::function<void()> onClick;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// A free-standing pair of arrows. The up arrow lowers the position by one and
// the down arrow raises it, then the control reports the scroll. Positions
// are 16-bit values, as the native control keeps them.
// Screen readers know it as a spin button whose two arrows raise and lower
// the value of the field beside it.
class UpDownControl final : public QWidget {
    Q_OBJECT

public:
    UpDownControl(bool arrowKeys, QWidget* parent);

    std::function<void()> onScroll;
    int position() const { return position_; }
    void setPosition(int position);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void step(int delta);

    bool arrowKeys_;
    int position_ = 0;
    QToolButton* up_;
    QToolButton* down_;
};

}  // namespace ts::platform
