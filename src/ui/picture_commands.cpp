#include "ui/picture_commands.h"

#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QSaveFile>

#include "platform/host.h"
#include "ui/picture_canvas.h"
#include "ui/svg_replay.h"
#include "ui/window_placement.h"

namespace qw {

namespace {
constexpr const char* kPictureFilter = "Bitmap (*.bmp)|*.bmp|PNG Picture (*.png)|*.png";
}

bool PaintPictureOnPage(QPrinter& printer, const QImage& picture) {
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    const QRect page = painter.viewport();
    const QSize shown = picture.size().scaled(page.size(), Qt::KeepAspectRatio);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(page.topLeft(), shown), picture);
    return painter.end();
}

void PrintPicture(Context& ctx, QPrinter& printer, const QImage& picture, QWidget* parent, const char* title) {
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Print"));
    if (dialog.exec() != QDialog::Accepted) return;
    if (!PaintPictureOnPage(printer, picture))
        ctx.host->Notify("The picture could not be printed.", title, MessageIcon::Critical);
}

void SavePictureAs(Context& ctx, const QImage& picture) {
    const auto path = ctx.host->SaveFileDialog("Save Picture", kPictureFilter, "");
    if (!path || path->empty()) return;
    const QString name = QString::fromStdString(*path);
    const char* format = QFileInfo(name).suffix().compare("png", Qt::CaseInsensitive) == 0 ? "PNG" : "BMP";
    // Written beside the old file and put in its place only when complete.
    QSaveFile file(name);
    if (!file.open(QIODevice::WriteOnly) || !picture.save(&file, format) || !file.commit())
        ctx.host->Notify("The picture could not be written:\r\n" + *path +
                             (file.errorString().isEmpty() ? "" : "\r\n" + ToProgramText(file.errorString())),
                         "Save Picture", MessageIcon::Critical);
}

void SavePictureSvg(Context& ctx, const PictureCanvas& canvas) {
    if (!canvas.Replayable()) return;
    const auto path = ctx.host->SaveFileDialog("Save as SVG", "SVG Picture (*.svg)|*.svg", "");
    if (!path || path->empty()) return;
    SvgReplay svg(canvas.Width(), canvas.Height());
    svg.Play(canvas.Ops());
    const std::string why = svg.Save(*path);
    if (!why.empty())
        ctx.host->Notify("The picture could not be written:\r\n" + *path + "\r\n" + why, "Save as SVG",
                         MessageIcon::Critical);
}

void ExportPicturePdf(Context& ctx, const QImage& picture) {
    const auto path = ctx.host->SaveFileDialog("Export to PDF", "PDF Document (*.pdf)|*.pdf", "");
    if (!path || path->empty()) return;
    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setOutputFileName(QString::fromStdString(*path));
    if (!PaintPictureOnPage(pdf, picture) || !QFileInfo::exists(QString::fromStdString(*path)))
        ctx.host->Notify("The PDF file could not be written:\r\n" + *path, "Export to PDF", MessageIcon::Critical);
}

void CopyPicture(const QImage& picture) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setImage(picture);
}

}  // namespace qw
