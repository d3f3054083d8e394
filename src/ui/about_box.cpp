#include "ui/about_box.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <QPixmap>
#include <QtGlobal>

#include "version.h"

namespace qw {

namespace {

// The program's icon at size x size; the picture bundled with the guide
// when the SVG icon cannot be drawn (Qt without its SVG plug-in).
QPixmap ProgramIcon(int size) {
    QPixmap pixmap = QIcon(QStringLiteral(":/icons/quillwork.svg")).pixmap(size, size);
    if (pixmap.isNull()) pixmap = QPixmap(QStringLiteral(":/help/images/quillwork.png"));
    if (pixmap.isNull()) pixmap = QApplication::windowIcon().pixmap(size, size);
    return pixmap;
}

}  // namespace

QMessageBox* CreateAboutBox(QWidget* parent) {
    auto* box = new QMessageBox(parent);
    box->setWindowTitle(QStringLiteral("About QUILLWORK"));
    box->setObjectName(QStringLiteral("AboutBox"));
    box->setTextFormat(Qt::RichText);
    box->setText(QStringLiteral("<h2>QUILLWORK</h2><p>Version %1</p>").arg(QString::fromLatin1(kVersionText)));
    box->setInformativeText(
        QStringLiteral("<p>A thin-wire antenna simulator: impedance, SWR, currents, far and near fields, "
                       "radiation patterns and frequency sweeps of wire antennas.</p>"
                       "<p>Built with Qt %1, running on Qt %2.</p>")
            .arg(QStringLiteral(QT_VERSION_STR), QString::fromLatin1(qVersion())));
    const QPixmap icon = ProgramIcon(64);
    if (!icon.isNull()) box->setIconPixmap(icon);
    box->setStandardButtons(QMessageBox::Ok);
    return box;
}

void ShowAboutBox(QWidget* parent) {
    QMessageBox* box = CreateAboutBox(parent);
    box->exec();
    delete box;
}

}  // namespace qw
