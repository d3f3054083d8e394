// The log viewer: the log file, read-only, in a window of the program.
#pragma once

#include <QString>
#include <QWidget>

class QLabel;
class QPlainTextEdit;

namespace qw {

class LogViewer : public QWidget {
    Q_OBJECT
public:
    explicit LogViewer(QWidget* parent = nullptr);

    // (Re)reads the file, shows its end, and shows and raises the window.
    // A file that cannot be read is said so in the window.
    void ShowFile(const QString& path);
    // Reads the file shown again and scrolls to its end.
    void Reload();

    QString Path() const { return path_; }
    QPlainTextEdit* TextView() const { return text_; }

    // Largest part of a log shown: the end of a longer log.
    static constexpr qint64 kMaxShownBytes = 32 * 1024 * 1024;

private:
    void Load();
    void ScrollToEnd();

    QString path_;
    QLabel* pathLabel_ = nullptr;
    QPlainTextEdit* text_ = nullptr;
};

}  // namespace qw
