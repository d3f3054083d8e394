// The picture commands the plot windows share: save as BMP or PNG, save
// as SVG, export to PDF, print and copy. Each asks for its file through the
// context's host and tells the user when it could not be done.
#pragma once

#include <QImage>

#include "model/context.h"

class QPrinter;
class QWidget;

namespace qw {

class PictureCanvas;

// "Save Picture": a .png name writes PNG, any other BMP; the old file is
// replaced only once the new one is complete.
void SavePictureAs(Context& ctx, const QImage& picture);
// "Save as SVG": the primitives the canvas recorded; nothing when the
// picture cannot be replayed (a loaded bitmap).
void SavePictureSvg(Context& ctx, const PictureCanvas& canvas);
// "Export to PDF": the picture on one page, scaled to it.
void ExportPicturePdf(Context& ctx, const QImage& picture);
// The print dialog, then the picture on one page; `title` heads the
// message when it could not be printed.
void PrintPicture(Context& ctx, QPrinter& printer, const QImage& picture, QWidget* parent, const char* title);
// The picture on the clipboard.
void CopyPicture(const QImage& picture);

// The picture scaled to the page with its aspect ratio kept, at the page's
// top left. False when the page could not be painted.
bool PaintPictureOnPage(QPrinter& printer, const QImage& picture);

}  // namespace qw
