#include "ui/toolbar_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace qw {

namespace {

constexpr int kKeyRole = Qt::UserRole;

bool Contains(const std::vector<std::string>& keys, const std::string& key) {
    return std::find(keys.begin(), keys.end(), key) != keys.end();
}

}  // namespace

ToolbarDialog::ToolbarDialog(const std::vector<std::string>& every, const std::vector<std::string>& shown,
                             QWidget* parent)
    : QDialog(parent), every_(every), list_(new QListWidget(this)) {
    setWindowTitle("Customize Toolbar");
    list_->setObjectName("ToolbarButtons");
    list_->setDragDropMode(QAbstractItemView::InternalMove);
    auto* up = new QPushButton("Move &Up", this);
    auto* down = new QPushButton("Move &Down", this);
    auto* reset = new QPushButton("&Reset", this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(up, &QPushButton::clicked, this, [this] { MoveCurrent(-1); });
    connect(down, &QPushButton::clicked, this, [this] { MoveCurrent(1); });
    connect(reset, &QPushButton::clicked, this, [this] { Fill(every_, every_); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* side = new QVBoxLayout;
    side->addWidget(up);
    side->addWidget(down);
    side->addWidget(reset);
    side->addStretch();
    auto* row = new QHBoxLayout;
    row->addWidget(list_);
    row->addLayout(side);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);

    // The buttons shown first, in their order; the hidden ones after them.
    std::vector<std::string> order;
    for (const std::string& key : shown)
        if (Contains(every_, key) && !Contains(order, key)) order.push_back(key);
    for (const std::string& key : every_)
        if (!Contains(order, key)) order.push_back(key);
    Fill(order, shown);
}

void ToolbarDialog::Fill(const std::vector<std::string>& order, const std::vector<std::string>& checked) {
    // Texts and pictures already given survive a reset.
    std::vector<std::pair<QString, QIcon>> looks;
    for (const std::string& key : order) {
        QString text = QString::fromStdString(key);
        QIcon icon;
        for (int i = 0; i < list_->count(); ++i)
            if (list_->item(i)->data(kKeyRole).toString().toStdString() == key) {
                text = list_->item(i)->text();
                icon = list_->item(i)->icon();
            }
        looks.emplace_back(text, icon);
    }
    list_->clear();
    for (std::size_t i = 0; i < order.size(); ++i) {
        auto* item = new QListWidgetItem(looks[i].second, looks[i].first, list_);
        item->setData(kKeyRole, QString::fromStdString(order[i]));
        item->setFlags((item->flags() | Qt::ItemIsUserCheckable | Qt::ItemIsDragEnabled) & ~Qt::ItemIsDropEnabled);
        item->setCheckState(Contains(checked, order[i]) ? Qt::Checked : Qt::Unchecked);
    }
}

void ToolbarDialog::SetButtonText(const std::string& key, const QString& text, const QIcon& icon) {
    for (int i = 0; i < list_->count(); ++i) {
        QListWidgetItem* item = list_->item(i);
        if (item->data(kKeyRole).toString().toStdString() != key) continue;
        item->setText(text);
        item->setIcon(icon);
    }
}

std::vector<std::string> ToolbarDialog::Keys() const {
    std::vector<std::string> keys;
    for (int i = 0; i < list_->count(); ++i)
        if (list_->item(i)->checkState() == Qt::Checked)
            keys.push_back(list_->item(i)->data(kKeyRole).toString().toStdString());
    return keys;
}

void ToolbarDialog::MoveCurrent(int by) {
    const int from = list_->currentRow();
    const int to = from + by;
    if (from < 0 || to < 0 || to >= list_->count()) return;
    QListWidgetItem* item = list_->takeItem(from);
    list_->insertItem(to, item);
    list_->setCurrentRow(to);
}

}  // namespace qw
