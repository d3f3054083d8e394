// The pictures of the source and load window: a source, a load and a
// trash can, drawn by the program itself.
#pragma once

#include <QPixmap>

namespace qw {

inline constexpr int kPlacementIconSize = 32;  // pixels

QPixmap SourceIcon();
QPixmap LoadIcon();
QPixmap TrashIcon();

}  // namespace qw
