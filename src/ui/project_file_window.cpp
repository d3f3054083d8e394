#include "ui/project_file_window.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/number_box.h"
#include "ui/window_placement.h"

namespace qw {

ProjectFileWindow::ProjectFileWindow(Context& ctx, QWidget* parent)
    : QDialog(parent), ctx_(ctx), view_(OpenProjectFileWindow(ctx)) {
    setObjectName(QStringLiteral("GeoFile"));
    setWindowTitle(FromProgramText(view_.caption));

    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("FileText"));
    text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setPlainText(FromProgramText(view_.text));

    wires_ = new QLabel(FromProgramText(view_.wireCountLabel), this);
    wires_->setObjectName(QStringLiteral("WireCount"));
    auto* info = new QHBoxLayout;
    info->addWidget(new QLabel(QStringLiteral("Wires:"), this));
    info->addWidget(wires_);
    info->addStretch(1);

    auto* main = new QVBoxLayout(this);
    main->addWidget(text_, 1);
    main->addLayout(info);
    const DialogButtons buttons = AddDialogButtons(*this, *main, QStringLiteral("OK"), QStringLiteral("Cancel"));
    buttons.ok->setDefault(false);  // Enter makes a new line in the text
    buttons.ok->setAutoDefault(false);
    buttons.cancel->setAutoDefault(false);
    connect(buttons.ok, &QPushButton::clicked, this, [this] { Ok(); });
    connect(text_, &QPlainTextEdit::textChanged, this, [this] { changed_ = true; });

    // Room for about 80 columns and 30 lines; the window can be resized.
    const QFontMetrics m(text_->font());
    resize(m.horizontalAdvance(QLatin1Char('0')) * 84 + 40, m.lineSpacing() * 30 + 80);
    text_->setFocus();
}

void ProjectFileWindow::Ok() {
    if (!view_.loaded && !changed_) {  // nothing was read and nothing written: nothing to accept
        reject();
        return;
    }
    // The file's lines end with CR LF, as every file of the program.
    QString text = text_->toPlainText();
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    if (CloseProjectFileWindow(ctx_, true, changed_, ToProgramText(text), view_.truncated)) accept();
}

void ProjectFileWindow::reject() {
    CloseProjectFileWindow(ctx_, false, changed_, std::string(), view_.truncated);
    QDialog::reject();
}

}  // namespace qw
