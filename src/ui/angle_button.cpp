#include "ui/angle_button.h"

#include <QMouseEvent>

namespace qw {

AngleButton::AngleButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {}

void AngleButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    QPushButton::mousePressEvent(event);
}

void AngleButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        event->accept();
        if (isEnabled() && rect().contains(event->position().toPoint()) && onRightClick) onRightClick();
        return;
    }
    QPushButton::mouseReleaseEvent(event);
}

}  // namespace qw
