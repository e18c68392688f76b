#include "platform/qt/qt_controls.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QToolButton>

#include "platform/dialog_core.h"
#include "platform/qt/qt_text.h"
#include "resources/texts.h"

namespace ts::platform {

namespace {

QAccessibleInterface* upDownAccessible(const QString& className, QObject* object) {
    if (object != nullptr && object->isWidgetType() &&
        className == QLatin1String(UpDownControl::staticMetaObject.className())) {
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::SpinBox);
    }
    return nullptr;
}

}  // namespace

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (onClick && event->button() == Qt::LeftButton &&
        rect().contains(event->position().toPoint())) {
        onClick();
        event->accept();
        return;
    }
    QLabel::mouseReleaseEvent(event);
}

UpDownControl::UpDownControl(bool arrowKeys, QWidget* parent)
    : QWidget(parent), arrowKeys_(arrowKeys) {
    QAccessible::installFactory(upDownAccessible);  // installed once however often asked
    up_ = new QToolButton(this);
    up_->setObjectName(QStringLiteral("up"));
    up_->setArrowType(Qt::UpArrow);
    up_->setAccessibleName(toQString(text::kArrowUp));
    down_ = new QToolButton(this);
    down_->setObjectName(QStringLiteral("down"));
    down_->setArrowType(Qt::DownArrow);
    down_->setAccessibleName(toQString(text::kArrowDown));
    for (QToolButton* arrow : {up_, down_}) {
        arrow->setFocusPolicy(Qt::NoFocus);
        arrow->setAutoRepeat(true);
    }
    QObject::connect(up_, &QToolButton::clicked, this, [this] { step(-1); });
    QObject::connect(down_, &QToolButton::clicked, this, [this] { step(+1); });
}

void UpDownControl::setPosition(int position) {
    position_ = clampUpDownPosition(position);
}

void UpDownControl::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int upHeight = height() / 2;
    up_->setGeometry(0, 0, width(), upHeight);
    down_->setGeometry(0, upHeight, width(), height() - upHeight);
}

void UpDownControl::keyPressEvent(QKeyEvent* event) {
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

void UpDownControl::step(int delta) {
    setPosition(position_ + delta);
    if (onScroll) {
        onScroll();
    }
}

}  // namespace ts::platform
