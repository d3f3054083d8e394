#include "ui/qt_host.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <utility>
#include <vector>

#include "model/context.h"
#include "ui/far_field_dialog.h"
#include "ui/frequency_dialog.h"
#include "ui/frequency_range_dialog.h"
#include "ui/ground_dialog.h"
#include "ui/near_field_dialog.h"
#include "ui/window_placement.h"

namespace qw {

namespace {

constexpr const char* kProgramName = "QUILLWORK";

QString Title(const std::string& title) { return title.empty() ? QString(kProgramName) : FromProgramText(title); }

// Message texts join their lines with CR LF.
QString MessageText(const std::string& text) {
    QString s = FromProgramText(text);
    s.replace("\r\n", "\n");
    return s;
}

struct ButtonChoice {
    QMessageBox::StandardButton button;
    MessageAnswer answer;
};

std::vector<ButtonChoice> ButtonsOf(MessageButtons buttons) {
    using B = QMessageBox;
    switch (buttons) {
    case MessageButtons::Ok:
        return {{B::Ok, MessageAnswer::Ok}};
    case MessageButtons::OkCancel:
        return {{B::Ok, MessageAnswer::Ok}, {B::Cancel, MessageAnswer::Cancel}};
    case MessageButtons::YesNo:
        return {{B::Yes, MessageAnswer::Yes}, {B::No, MessageAnswer::No}};
    case MessageButtons::YesNoCancel:
        return {{B::Yes, MessageAnswer::Yes}, {B::No, MessageAnswer::No}, {B::Cancel, MessageAnswer::Cancel}};
    case MessageButtons::RetryCancel:
        return {{B::Retry, MessageAnswer::Retry}, {B::Cancel, MessageAnswer::Cancel}};
    case MessageButtons::AbortRetryIgnore:
        return {{B::Abort, MessageAnswer::Abort}, {B::Retry, MessageAnswer::Retry}, {B::Ignore, MessageAnswer::Ignore}};
    }
    return {{B::Ok, MessageAnswer::Ok}};
}

QMessageBox::Icon IconOf(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// A busy pointer must not hide a question from the user.
class PointerForDialog {
public:
    PointerForDialog() : busy_(QApplication::overrideCursor() != nullptr) {
        if (busy_) QApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    ~PointerForDialog() {
        if (busy_) QApplication::restoreOverrideCursor();
    }
    PointerForDialog(const PointerForDialog&) = delete;
    PointerForDialog& operator=(const PointerForDialog&) = delete;

private:
    bool busy_;
};

std::optional<std::string> RunFileDialog(QWidget* parent, bool save, const std::string& title,
                                         const std::string& filter, const std::string& proposed) {
    PointerForDialog pointer;
    QFileDialog dialog(parent, Title(title));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const QStringList filters = QtNameFilters(filter);
    if (!filters.isEmpty()) dialog.setNameFilters(filters);
    if (save) dialog.setDefaultSuffix(DefaultSuffix(filter));
    if (!proposed.empty()) {
        const QFileInfo info(QString::fromStdString(proposed));
        if (info.isAbsolute()) dialog.setDirectory(info.absolutePath());
        dialog.selectFile(info.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}

// One of the program's request dialogs, shown modally with the values in
// force; what it hands back, or nothing when it was cancelled.
template <typename Dialog, typename Value>
auto RunProgramDialog(Context* ctx, QWidget* parent, const Value& current)
    -> std::optional<decltype(std::declval<Dialog&>().Result())> {
    if (!ctx) return std::nullopt;
    PointerForDialog pointer;
    Dialog dialog(*ctx, current, parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Result();
}

}  // namespace

QStringList QtNameFilters(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split('|');
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        description.remove(QRegularExpression("\\s*\\([^)]*\\)\\s*$"));
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(';', Qt::SkipEmptyParts)) {
            const QString p = pattern.trimmed();
            for (const QString& form : {p.toLower(), p.toUpper()})
                if (!patterns.contains(form)) patterns << form;
        }
        filters << description + " (" + patterns.join(' ') + ")";
    }
    return filters;
}

QString DefaultSuffix(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split('|');
    if (parts.size() < 2) return {};
    const QString pattern = parts[1].split(';').front().trimmed();
    const int dot = pattern.lastIndexOf('.');
    return dot >= 0 && pattern.indexOf('*', dot) < 0 ? pattern.mid(dot + 1).toLower() : QString();
}

void QtHost::Attach(Context* ctx, QWidget* parent, MainSurface* surface) {
    ctx_ = ctx;
    parent_ = parent;
    surface_ = surface;
}

MessageAnswer QtHost::ShowMessage(const Message& message) {
    PointerForDialog pointer;
    QMessageBox box(IconOf(message.icon), Title(message.title), MessageText(message.text), QMessageBox::NoButton,
                    parent_);
    const auto buttons = ButtonsOf(message.buttons);
    for (const ButtonChoice& b : buttons) box.addButton(b.button);
    const std::size_t defaultIndex = static_cast<std::size_t>(std::max(1, message.defaultButton) - 1);
    const ButtonChoice& preset = buttons[std::min(defaultIndex, buttons.size() - 1)];
    box.setDefaultButton(preset.button);
    // Closing the box with its close button or Esc answers as Cancel would,
    // or with the default when there is no Cancel.
    const auto pressed = static_cast<QMessageBox::StandardButton>(box.exec());
    for (const ButtonChoice& b : buttons)
        if (b.button == pressed) return b.answer;
    for (const ButtonChoice& b : buttons)
        if (b.answer == MessageAnswer::Cancel) return b.answer;
    return preset.answer;
}

std::optional<std::string> QtHost::InputBox(const std::string& prompt, const std::string& title,
                                            const std::string& proposed) {
    PointerForDialog pointer;
    QInputDialog dialog(parent_);
    dialog.setWindowTitle(Title(title));
    dialog.setLabelText(MessageText(prompt).trimmed());
    dialog.setTextValue(FromProgramText(proposed).trimmed());
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return ToProgramText(dialog.textValue());
}

std::optional<std::string> QtHost::OpenFileDialog(const std::string& title, const std::string& filter,
                                                  const std::string& proposed) {
    return RunFileDialog(parent_, false, title, filter, proposed);
}

std::optional<std::string> QtHost::SaveFileDialog(const std::string& title, const std::string& filter,
                                                  const std::string& proposed) {
    return RunFileDialog(parent_, true, title, filter, proposed);
}

void QtHost::AppendMainText(const std::string& line) {
    if (surface_) surface_->AppendText(line);
}

void QtHost::ClearMainText() {
    if (surface_) surface_->ClearText();
}

void QtHost::SetProgressBar(double fraction) {
    const double percent = std::clamp(fraction, 0.0, 1.0) * 100.0;
    if (surface_) surface_->SetProgress(static_cast<int>(percent));
}

void QtHost::ShowProgress(double fraction) {
    SetProgressBar(fraction);
    // Pending events run here: this is where a click on Stop is seen.
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtHost::SetStatusText(int panel, const std::string& text) {
    if (surface_) surface_->SetStatus(panel, text);
}

void QtHost::SetBusy(bool busy) {
    if (busy == busy_) return;
    busy_ = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void QtHost::EnableCommand(const std::string& command, bool enabled) {
    if (surface_) surface_->EnableCommand(command, enabled);
}

void QtHost::SetCommandCaption(const std::string& command, const std::string& caption) {
    if (surface_) surface_->SetCaption(command, caption);
}

void QtHost::CheckCommand(const std::string& command, bool checked) {
    if (surface_) surface_->CheckCommand(command, checked);
}

std::optional<float> QtHost::RequestFrequency(float current) {
    return RunProgramDialog<FrequencyDialog>(ctx_, parent_, current);
}

std::optional<GroundInput> QtHost::RequestGround(const GroundInput& current) {
    return RunProgramDialog<GroundDialog>(ctx_, parent_, current);
}

std::optional<FarFieldRequest> QtHost::RequestFarField(const FarFieldRequest& current) {
    return RunProgramDialog<FarFieldDialog>(ctx_, parent_, current);
}

std::optional<NearFieldRequest> QtHost::RequestNearField(const NearFieldRequest& current) {
    return RunProgramDialog<NearFieldDialog>(ctx_, parent_, current);
}

std::optional<SweepRange> QtHost::RequestFrequencyRange(const SweepRange& current) {
    return RunProgramDialog<FrequencyRangeDialog>(ctx_, parent_, current);
}

bool QtHost::TakeStopRequest() {
    const bool stop = stopPending_;
    stopPending_ = false;
    return stop;
}

void QtHost::RequestStop() {
    stopPending_ = true;
    if (ctx_) ctx_->stop.Request();
    // Every busy pointer goes, however many were stacked.
    busy_ = false;
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
    if (surface_) {
        surface_->SetStatus(1, "");
        surface_->SetProgress(0);
    }
}

}  // namespace qw
