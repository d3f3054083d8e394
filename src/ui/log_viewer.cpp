#include "ui/log_viewer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QShortcut>
#include <QVBoxLayout>
#include <string>

#include "ui/window_placement.h"

namespace qw {

namespace {

// The log's text for the screen: Windows-1252 bytes, CR LF line ends.
QString ScreenText(const QByteArray& bytes) {
    QString text = FromProgramText(std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (text.endsWith(QLatin1Char('\n'))) text.chop(1);  // no empty line after the last one
    return text;
}

}  // namespace

LogViewer::LogViewer(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("LogViewer"));
    setWindowTitle(QStringLiteral("Log"));
    resize(820, 560);

    pathLabel_ = new QLabel;
    pathLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* reload = new QPushButton(QStringLiteral("&Reload"));
    reload->setToolTip(QStringLiteral("Read the log file again (F5)"));
    auto* close = new QPushButton(QStringLiteral("&Close"));
    auto* top = new QHBoxLayout;
    top->addWidget(pathLabel_, 1);
    top->addWidget(reload);
    top->addWidget(close);

    text_ = new QPlainTextEdit;
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);  // the reports are tables
    text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    text_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(text_, 1);

    connect(reload, &QPushButton::clicked, this, &LogViewer::Reload);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    auto* f5 = new QShortcut(QKeySequence(QKeySequence::Refresh), this);
    connect(f5, &QShortcut::activated, this, &LogViewer::Reload);
}

void LogViewer::ShowFile(const QString& path) {
    path_ = path;
    setWindowTitle(QStringLiteral("Log - ") + QFileInfo(path).fileName());
    pathLabel_->setText(QDir::toNativeSeparators(path));
    if (isMinimized()) showNormal();
    show();
    Load();
    raise();
    activateWindow();
}

void LogViewer::Reload() {
    if (!path_.isEmpty()) Load();
}

void LogViewer::Load() {
    const QFileInfo info(path_);
    QFile file(path_);
    QString text;
    if (!info.exists()) {
        text = QStringLiteral("The log file %1 does not exist.").arg(QDir::toNativeSeparators(path_));
    } else if (info.isDir()) {
        text = QStringLiteral("%1 is a folder, not a log file.").arg(QDir::toNativeSeparators(path_));
    } else if (!file.open(QIODevice::ReadOnly)) {
        text = QStringLiteral("The log file %1 cannot be read: %2.")
                   .arg(QDir::toNativeSeparators(path_), file.errorString());
    } else {
        const qint64 size = file.size();
        QByteArray bytes;
        if (size > kMaxShownBytes) {
            // Only the end of a very long log: from the first whole line.
            file.seek(size - kMaxShownBytes);
            bytes = file.read(kMaxShownBytes);
            const qsizetype lineEnd = bytes.indexOf('\n');
            if (lineEnd >= 0) bytes.remove(0, lineEnd + 1);
            text = QStringLiteral("(The log is %1 MB long; its last %2 MB are shown.)\n")
                       .arg(size / (1024 * 1024))
                       .arg(kMaxShownBytes / (1024 * 1024));
        } else {
            bytes = file.readAll();
        }
        text += ScreenText(bytes);
    }
    text_->setPlainText(text);
    text_->moveCursor(QTextCursor::End);
    ScrollToEnd();
    // The window's first layout may still change the scroll range: the end
    // is brought into view again once pending events have run.
    QTimer::singleShot(0, this, [this] { ScrollToEnd(); });
}

void LogViewer::ScrollToEnd() {
    text_->ensureCursorVisible();
    text_->verticalScrollBar()->setValue(text_->verticalScrollBar()->maximum());
    text_->horizontalScrollBar()->setValue(0);
}

}  // namespace qw
