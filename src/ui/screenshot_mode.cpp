#include "ui/screenshot_mode.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QCheckBox>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "commands/log_commands.h"
#include "commands/project_dialogs.h"
#include "model/context.h"
#include "ui/antenna_form.h"
#include "ui/geometry_window.h"
#include "ui/source_load_window.h"
#include "ui/help_window.h"
#include "ui/log_viewer.h"
#include "ui/main_window.h"
#include "ui/pattern_window.h"
#include "ui/plot_limits_dialog.h"
#include "ui/picture_canvas.h"
#include "ui/project_file_window.h"
#include "ui/toolbar_dialog.h"
#include "ui/optimizer_window.h"
#include "ui/view3d_window.h"

namespace qw {

namespace {

void Settle() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

// A modal window cannot be driven from outside: a timer grabs whatever
// modal window is up and closes it, while `open` waits in its exec().
bool GrabModal(const QString& path, const std::function<void()>& open) {
    bool saved = false;
    QTimer::singleShot(400, [&] {
        QWidget* w = QApplication::activeModalWidget();
        if (!w) return;
        saved = w->grab().save(path);
        w->close();
    });
    open();
    return saved;
}

// A computation (a pattern cut too) runs as a job: its report and its
// picture are there once it has ended.
void WaitForJob(const MainWindow& window) {
    while (window.Computing()) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    Settle();
}

bool Grab(QWidget& w, const QString& path) {
    w.show();
    w.raise();
    Settle();
    return w.grab().save(path);
}

}  // namespace

bool TakeScreenshots(MainWindow& window, Context& ctx, const QString& folder) {
    QDir dir(folder);
    if (!dir.mkpath(".")) return false;
    auto file = [&dir](const char* name) { return dir.filePath(name); };
    bool ok = true;
    Settle();
    if (QAction* compute = window.Command("CtlCompZ")) compute->trigger();
    WaitForJob(window);
    ok &= window.grab().save(file("main.png"));

    Host& host = *ctx.host;
    ok &= GrabModal(file("ground.png"), [&] { host.RequestGround(GroundInputOf(ctx.project.Env)); });
    ok &= GrabModal(file("frequency.png"), [&] { host.RequestFrequency(ctx.project.Frequency); });
    ok &= GrabModal(file("far_field.png"), [&] { host.RequestFarField(ctx.farField); });
    ok &= GrabModal(file("near_field.png"), [&] { host.RequestNearField(ctx.nearField); });
    ok &= GrabModal(file("frequency_range.png"), [&] { host.RequestFrequencyRange({14, 15, 0.1f}); });
    ok &= GrabModal(file("height.png"), [&] { window.Command("CtlHeight")->trigger(); });
    ok &= GrabModal(file("coax.png"), [&] { window.Command("CtOpCoax")->trigger(); });
    ok &= GrabModal(file("about.png"), [&] { window.Command("CtlAbout")->trigger(); });
    ok &= GrabModal(file("message.png"), [&] {
        host.ShowMessage({"Save changes to dipole.qlk ?", "Project was modified", MessageIcon::Critical,
                          MessageButtons::YesNoCancel, 2});
    });
    if (QAction* plot = window.Command("Ctl_PlotFF")) plot->trigger();
    Settle();
    if (PatternWindow* pattern = window.Pattern()) {
        pattern->resize(1000, 840);
        Settle();
        // An azimuth cut 30 degrees above the horizon, and the zenith cut
        // through the x axis.
        auto* angle = pattern->findChild<QLineEdit*>("Ctl_Angle");
        angle->setText("30");
        angle->setModified(true);
        pattern->Command("Azim")->trigger();
        WaitForJob(window);
        ok &= Grab(*pattern, file("pattern_azimuth.png"));
        angle->setText("0");
        angle->setModified(true);
        pattern->Command("Zen")->trigger();
        WaitForJob(window);
        ok &= Grab(*pattern, file("pattern_zenith.png"));
        ok &= GrabModal(file("plot_options.png"), [&] { pattern->Command("Options")->trigger(); });
        pattern->close();
    }

    // The 2D view in its three planes, a point read out in the first; then
    // the pulses with their numbers.
    if (QAction* view = window.Command("Ctl_2D")) view->trigger();
    Settle();
    if (auto* form = window.findChild<AntennaForm*>(QString(), Qt::FindDirectChildrenOnly)) {
        form->resize(800, 640);
        Settle();
        form->ClickAt(QPoint(form->Picture().Width() / 3, form->Picture().Height() / 3));
        ok &= Grab(*form, file("view2d_xy.png"));
        for (const char* name : {"view2d_yz.png", "view2d_xz.png"}) {
            form->Command("btnxyz")->trigger();
            Settle();
            ok &= Grab(*form, file(name));
        }
        form->Command("btnxyz")->trigger();
        form->Command("btnpulses")->trigger();
        form->Command("btnpulsenumber")->trigger();
        Settle();
        ok &= Grab(*form, file("view2d_pulses.png"));
        form->close();
    }

    // The sweep plots over the band around the project's frequency, and the
    // impedance on the Smith chart.
    if (ctx.project.Frequency > 0) {
        ProgramOptions& o = ctx.options;
        const float f0 = ctx.project.Frequency;
        o.ResonanceLow = f0 * 0.8f, o.ResonanceHi = f0 * 1.2f, o.ResonanceStep = f0 * 0.02f;
        o.RMin = 0, o.RMax = 150, o.XMin = -300, o.XMax = 300;
        o.SwrLimit = 5, o.GainHi = 10, o.GainLow = 0;
        ok &= GrabModal(file("plot_limits.png"), [&] { RunPlotLimitsDialog(ctx, SweepPlotKind::Gain, &window); });
        ctx.AbortFlag = false;
        // A window of its own: the 2D view's closed one goes at the next
        // turn of the event loop.
        auto* form = new AntennaForm(ctx, {}, &window);
        form->resize(800, 640);
        const std::pair<SweepPlotKind, const char*> plots[] = {{SweepPlotKind::Impedance, "plot_impedance.png"},
                                                               {SweepPlotKind::Swr, "plot_swr.png"},
                                                               {SweepPlotKind::Gain, "plot_gain.png"},
                                                               {SweepPlotKind::FrontToBack, "plot_fb.png"},
                                                               {SweepPlotKind::Smith, "plot_smith.png"}};
        for (const auto& [kind, name] : plots) {
            form->OpenSweep(kind, [&window](std::function<void(Context&)> work, std::function<void()> finished) {
                return window.RunJob(std::move(work), std::move(finished));
            });
            WaitForJob(window);
            ok &= Grab(*form, file(name));
            if (kind == SweepPlotKind::Smith) form->ShowSmith(false);
        }
        form->close();
        Settle();
    }

    // The 3D view zoomed in twice: plain, with the currents, with the pattern.
    if (QAction* view3d = window.Command("Ctl_3D")) view3d->trigger();
    Settle();
    if (View3DWindow* view = window.View3D()) {
        view->resize(900, 700);
        view->Command("bnZoomIn")->trigger();
        view->Command("bnZoomIn")->trigger();
        view->Command("bnPulses")->trigger();
        ok &= Grab(*view, file("view3d.png"));
        view->Command("bnPulses")->trigger();
        view->Command("bnCurrent")->trigger();
        WaitForJob(window);
        ok &= Grab(*view, file("view3d_currents.png"));
        view->Command("bnCurrent")->trigger();
        view->Command("bnZoomOut")->trigger();
        view->Command("bn3DPattern")->trigger();
        WaitForJob(window);
        ok &= Grab(*view, file("view3d_pattern.png"));
        view->close();
    }

    const auto toolbar = window.CreateToolbarDialog();
    toolbar->resize(360, 480);
    ok &= Grab(*toolbar, file("toolbar.png"));
    toolbar->close();

    HelpWindow help;
    help.resize(900, 600);
    help.ShowTopic(kProjectCommandsContext);
    ok &= Grab(help, file("help.png"));
    help.close();
    LogViewer log;
    log.resize(800, 500);
    PutLogOnDisk(ctx);
    log.ShowFile(QString::fromStdString(ctx.log.Path()));
    ok &= Grab(log, file("log_viewer.png"));
    log.close();

    // The optimizer after a short run toward resonance by the wires' Y,
    // then put back (Revert); its lock list.
    if (QAction* optimize = window.Command("CtlOpt"); optimize && optimize->isEnabled()) {
        optimize->trigger();
        Settle();
        if (OptimizerWindow* opt = window.Optimizer()) {
            opt->resize(760, 560);
            if (auto* y = opt->findChild<QCheckBox*>("swDim(1)")) y->setChecked(true);
            opt->Go();
            WaitForJob(window);
            ok &= Grab(*opt, file("optimizer.png"));
            opt->Revert();
            ok &= GrabModal(file("optimizer_locks.png"), [&] {
                if (auto* locks = opt->findChild<QPushButton*>("btnLocks")) locks->click();
            });
            opt->close();
        }
    }

    // The geometry editor on the open project, closed with Cancel.
    ok &= GrabModal(file("geometry.png"), [&] {
        GeometryWindow geometry(ctx, &window);
        geometry.resize(1000, 420);
        geometry.exec();
    });

    // Sources & Loads on the wire of the first source with its panel open,
    // then with the panel of the first load (a load is placed beside the
    // source in the working copy when the project has none); closed
    // without OK, the project is as it was.
    {
        SourceLoadWindow placement(ctx, &window);
        Placement& working = placement.Working();
        if (working.SourceCount() > 0) {
            placement.ShowWire(working.PlaceOfSource(1).wire);
            placement.OpenSource(1);
        }
        ok &= Grab(placement, file("sources_loads_source.png"));
        if (working.LoadCount() == 0 && working.SourceCount() > 0) {
            const SlotPlace at = working.PlaceOfSource(1);
            working.AddLoad(at.wire, at.slot + 1);
        }
        if (working.LoadCount() > 0) {
            placement.ShowWire(working.PlaceOfLoad(1).wire);
            placement.OpenLoad(1);
        }
        ok &= Grab(placement, file("sources_loads_load.png"));
        placement.hide();
    }

    // Last, as its Cancel leaves the project without geometry: the
    // project-file window with the open project's file.
    ctx.PendingFileName = ctx.project.FileName;
    if (!ctx.PendingFileName.empty())
        ok &= GrabModal(file("project_file.png"), [&] {
            ProjectFileWindow geoFile(ctx, &window);
            geoFile.exec();
        });
    return ok;
}

}  // namespace qw
