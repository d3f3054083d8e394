// The pattern window's picture area: shows the picture scaled to the widget
// with its aspect ratio kept, centred on the window's background.
#pragma once

#include <QImage>
#include <QWidget>

class QPaintEvent;

namespace qw {

// The smallest picture area, in pixels each way; a new picture is never
// smaller than this either.
inline constexpr int kSmallestPicture = 200;

class PictureBox : public QWidget {
public:
    explicit PictureBox(QWidget* parent);
    // Shows `image` (kept by the caller, may be null) from the next paint on.
    void Show(const QImage* image);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    const QImage* image_ = nullptr;
};

}  // namespace qw
