// The program's picture-taking mode: it computes the open project and saves
// PNG pictures of the main window and of every dialog into a folder, so
// that what a user sees can be looked at without a person at the screen.
#pragma once

#include <QString>

namespace qw {

struct Context;
class MainWindow;

// Takes the pictures; false when the folder cannot be made or a picture
// could not be written.
bool TakeScreenshots(MainWindow& window, Context& ctx, const QString& folder);

}  // namespace qw
