#include "ui/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "commands/window_position.h"
#include "platform/text_encoding.h"

namespace qw {

namespace {

QRect ScreenArea(const QWidget& window) {
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

}  // namespace

void RestorePlacement(QWidget& window, const Context& ctx, const std::string& key, bool resizable) {
    const QRect area = ScreenArea(window);
    const WindowGeometry g = RestoreWindowPosition(StoredWindowPosition(ctx, key), static_cast<float>(area.width()),
                                                   static_cast<float>(area.height()), resizable);
    const QPoint topLeft(area.left() + static_cast<int>(g.left), area.top() + static_cast<int>(g.top));
    switch (g.kind) {
    case WindowPlacement::None:
        break;
    case WindowPlacement::Moved:
        window.move(topLeft);
        break;
    case WindowPlacement::MovedAndSized:
        window.setGeometry(QRect(topLeft, QSize(static_cast<int>(g.width), static_cast<int>(g.height))));
        break;
    case WindowPlacement::Maximised:
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
        break;
    }
}

void SavePlacement(const QWidget& window, Context& ctx, const std::string& key) {
    const QRect area = ScreenArea(window);
    QRect r = window.isMaximized() ? window.normalGeometry() : window.geometry();
    if (window.isMaximized()) r.setHeight(area.height());
    StoreWindowPosition(ctx, key, static_cast<float>(r.left() - area.left()), static_cast<float>(r.top() - area.top()),
                        static_cast<float>(r.width()), static_cast<float>(r.height()));
}

PlacedDialog::PlacedDialog(Context& ctx, const char* key, QWidget* parent)
    : QDialog(parent), ctx_(ctx), key_(key) {}

void PlacedDialog::RestorePlace() { RestorePlacement(*this, ctx_, key_, false); }

void PlacedDialog::done(int result) {
    SavePlacement(*this, ctx_, key_);
    QDialog::done(result);
}

QString FromProgramText(const std::string& bytes) { return QString::fromStdString(Cp1252ToUtf8(bytes)); }

std::string ToProgramText(const QString& text) { return Utf8ToCp1252(text.toStdString()); }

}  // namespace qw
