#include "ui/picture_box.h"

#include <QPainter>

namespace qw {

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Picture"));
    setMinimumSize(kSmallestPicture, kSmallestPicture);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void PictureBox::Show(const QImage* image) {
    image_ = image;
    update();
}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    if (!image_ || image_->isNull()) return;
    const QSize shown = image_->size().scaled(size(), Qt::KeepAspectRatio);
    const QRect target(QPoint((width() - shown.width()) / 2, (height() - shown.height()) / 2), shown);
    p.setRenderHint(QPainter::SmoothPixmapTransform, shown != image_->size());
    p.drawImage(target, *image_);
}

}  // namespace qw
