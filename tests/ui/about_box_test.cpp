// The about box names the program, its version and the Qt it runs on.
#include <gtest/gtest.h>

#include <QMessageBox>
#include <memory>

#include "ui/about_box.h"
#include "version.h"

namespace qw {
namespace {

TEST(AboutBox, NamesProgramVersionAndQt) {
    std::unique_ptr<QMessageBox> box(CreateAboutBox(nullptr));
    EXPECT_EQ(box->windowTitle(), "About QUILLWORK");
    EXPECT_TRUE(box->text().contains("QUILLWORK"));
    EXPECT_TRUE(box->text().contains(QStringLiteral("Version %1").arg(kVersionText)));
    EXPECT_TRUE(box->informativeText().contains(qVersion()));
}

}  // namespace
}  // namespace qw
