// The pattern window's angle button: a push button that reports a right
// click apart from a left one (left: the take-off angle, right: the lobe
// angle).
#pragma once

#include <QPushButton>
#include <QString>
#include <functional>

class QMouseEvent;

namespace qw {

class AngleButton : public QPushButton {
public:
    // Called when the right button is released over the enabled button.
    std::function<void()> onRightClick;

    AngleButton(const QString& text, QWidget* parent);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace qw
