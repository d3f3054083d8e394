// Customising the toolbar: which buttons it shows and in what order.
#pragma once

#include <QDialog>
#include <QIcon>
#include <string>
#include <vector>

class QListWidget;

namespace qw {

class ToolbarDialog : public QDialog {
public:
    // every: all button keys in their built-in order; shown: the keys on the
    // toolbar now, in its order.
    ToolbarDialog(const std::vector<std::string>& every, const std::vector<std::string>& shown,
                  QWidget* parent = nullptr);

    // The text and picture a key is listed with (the key itself otherwise).
    void SetButtonText(const std::string& key, const QString& text, const QIcon& icon);
    // The checked keys in the listed order.
    std::vector<std::string> Keys() const;

private:
    void Fill(const std::vector<std::string>& order, const std::vector<std::string>& checked);
    void MoveCurrent(int by);

    std::vector<std::string> every_;
    QListWidget* list_;
};

}  // namespace qw
