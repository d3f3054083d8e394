// The console host: its output, default answers and Ctrl+C.
#include <gtest/gtest.h>

#include <sstream>

#include "model/context.h"
#include "platform/console_host.h"
#include "platform/scripted_host.h"

namespace qw {
namespace {

TEST(Host, ConsoleShowsUtf8AndAnswersWithDefaults) {
    std::ostringstream out, err;
    ConsoleHost host(out, err);
    Context ctx(host);
    host.AppendMainText("Diameter 2 \xB5m");  // Windows-1252 micro sign
    EXPECT_EQ(out.str(), "Diameter 2 \xC2\xB5m\n");
    const auto answer = host.ShowMessage({"Ground Parameters are incorrect\r\nGround set to Perfect", "Geometry File",
                                          MessageIcon::Critical, MessageButtons::YesNoCancel, 2});
    EXPECT_EQ(answer, MessageAnswer::No);
    EXPECT_EQ(err.str(), "Geometry File: Ground Parameters are incorrect\nGround set to Perfect\n");
    host.inputAnswers.push_back("queued");
    EXPECT_EQ(host.InputBox("p", "t", "proposed"), "queued");
    EXPECT_EQ(host.InputBox("p", "t", "proposed"), "proposed");
    EXPECT_EQ(host.OpenFileDialog("Read Geometry File", "", ""), std::nullopt);

    // Ctrl+C: the signal handler's request becomes the stop request once.
    ConsoleHost::RequestStop();
    ShowProgress(ctx, 0.5);
    EXPECT_TRUE(ctx.stop.Requested());
    EXPECT_FALSE(ctx.AbortFlag);  // a stop is not a failure
    ctx.stop.Reset();
    ShowProgress(ctx, 0.6);
    EXPECT_FALSE(ctx.stop.Requested());
}

}  // namespace
}  // namespace qw
