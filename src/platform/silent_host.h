// A Host that shows nothing and asks nobody: every message box gives its
// default button, every dialog and input box is cancelled, and nothing is
// drawn. The host of a computation that works on its own beside another (a
// sweep worker, an optimizer trial), whose faults come back as results.
#pragma once

#include <string>

#include "platform/host.h"

namespace qw {

class SilentHost : public Host {
public:
    MessageAnswer ShowMessage(const Message& m) override { return DefaultAnswer(m); }
    std::optional<std::string> InputBox(const std::string&, const std::string&, const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> OpenFileDialog(const std::string&, const std::string&, const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> SaveFileDialog(const std::string&, const std::string&, const std::string&) override {
        return std::nullopt;
    }
    void AppendMainText(const std::string&) override {}
    void ShowProgress(double) override {}
    void SetStatusText(int, const std::string&) override {}
    void SetBusy(bool) override {}
    void EnableCommand(const std::string&, bool) override {}
    void SetCommandCaption(const std::string&, const std::string&) override {}
    void CheckCommand(const std::string&, bool) override {}
    std::optional<float> RequestFrequency(float) override { return std::nullopt; }
    std::optional<GroundInput> RequestGround(const GroundInput&) override { return std::nullopt; }
    std::optional<FarFieldRequest> RequestFarField(const FarFieldRequest&) override { return std::nullopt; }
    std::optional<NearFieldRequest> RequestNearField(const NearFieldRequest&) override { return std::nullopt; }
    std::optional<SweepRange> RequestFrequencyRange(const SweepRange&) override { return std::nullopt; }
};

}  // namespace qw
