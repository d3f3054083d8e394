#include "ui/helix_window.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QSaveFile>
#include <QSpinBox>
#include <QStandardPaths>
#include <QVBoxLayout>
#include <cmath>

#include "model/units.h"

namespace qw {

namespace {

constexpr double kPi = 3.14159265358979323846;
// The units offered, in the order of the unit box.
constexpr int kUnits[] = {kMeters, kCentimeters, kMillimeters, kFeet, kInches};
constexpr const char* kUnitNames[] = {"m", "cm", "mm", "ft", "in"};

QDoubleSpinBox* Number(double value, double low, double high, int decimals) {
    auto* box = new QDoubleSpinBox;
    box->setDecimals(decimals);
    box->setRange(low, high);
    box->setValue(value);
    return box;
}

}  // namespace

HelixWindow::HelixWindow(QWidget* parent) : QWidget(parent) {
    setWindowTitle("QUILLWORK Helix Generator");
    turns = Number(5, 0.1, 100, 2);
    sizeKind = new QComboBox;
    sizeKind->addItems({"Diameter", "Circumference"});
    size = Number(10, 0.001, 1e6, 4);
    spacingKind = new QComboBox;
    spacingKind->addItems({"Turn spacing", "Pitch angle (deg)"});
    spacing = Number(7.5, 0.001, 1e6, 4);
    segmentsPerTurn = new QSpinBox;
    segmentsPerTurn->setRange(3, 50);
    segmentsPerTurn->setValue(8);
    wire = Number(0.2, 0.0001, 1e5, 4);
    hand = new QComboBox;
    hand->addItems({"Right-handed", "Left-handed"});
    base = new QComboBox;
    base->addItems({"None (free space)", "Ground plane", "Reflector of radials"});
    radialCount = new QSpinBox;
    radialCount->setRange(1, 32);
    radialCount->setValue(4);
    radialLength = Number(15, 0.001, 1e6, 4);
    frequency = Number(0, 0, 1e6, 3);
    frequency->setSpecialValueText("circumference = 1 wavelength");
    unit = new QComboBox;
    for (const char* u : kUnitNames) unit->addItem(u);
    unit->setCurrentIndex(1);  // cm

    auto* form = new QFormLayout;
    form->addRow("Unit", unit);
    form->addRow("Turns", turns);
    auto* sizeRow = new QHBoxLayout;
    sizeRow->addWidget(sizeKind);
    sizeRow->addWidget(size);
    form->addRow("Helix", sizeRow);
    auto* spacingRow = new QHBoxLayout;
    spacingRow->addWidget(spacingKind);
    spacingRow->addWidget(spacing);
    form->addRow("Rise", spacingRow);
    form->addRow("Segments per turn", segmentsPerTurn);
    form->addRow("Wire diameter", wire);
    form->addRow("Winding", hand);
    form->addRow("Base", base);
    form->addRow("Radials", radialCount);
    form->addRow("Radial length", radialLength);
    form->addRow("Frequency (MHz)", frequency);
    status_ = new QLabel;
    status_->setWordWrap(true);
    create = new QPushButton("&Create Project...");
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(status_);
    layout->addWidget(create);

    askPath = [this] {
        return QFileDialog::getSaveFileName(this, "Save Helix Project", QDir::homePath() + "/helix.qlk",
                                            "QLK Project (*.qlk)");
    };
    openProject = OpenInMainProgram;
    for (auto* box : {turns, size, spacing, wire, radialLength, frequency})
        connect(box, &QDoubleSpinBox::valueChanged, this, &HelixWindow::Update);
    for (auto* box : {segmentsPerTurn, radialCount}) connect(box, &QSpinBox::valueChanged, this, &HelixWindow::Update);
    for (auto* box : {sizeKind, spacingKind, hand, base, unit})
        connect(box, &QComboBox::currentIndexChanged, this, &HelixWindow::Update);
    connect(create, &QPushButton::clicked, this, &HelixWindow::Create);
    Update();
}

HelixDesign HelixWindow::Design() const {
    HelixDesign d;
    d.units = kUnits[std::max(0, unit->currentIndex())];
    auto metres = [&d](double v) { return static_cast<double>(ToMeters(d.units, 0, static_cast<float>(v))); };
    d.turns = turns->value();
    d.diameter = metres(size->value()) / (sizeKind->currentIndex() == 1 ? kPi : 1.0);
    d.spacing = spacingKind->currentIndex() == 1 ? kPi * d.diameter * std::tan(spacing->value() * kPi / 180)
                                                 : metres(spacing->value());
    d.segmentsPerTurn = segmentsPerTurn->value();
    d.wireDiameter = metres(wire->value());
    d.leftHanded = hand->currentIndex() == 1;
    d.base = static_cast<HelixBase>(base->currentIndex());
    d.radialCount = radialCount->value();
    d.radialLength = metres(radialLength->value());
    d.frequency = frequency->value();
    return d;
}

QString HelixWindow::StatusText() const { return status_->text(); }

void HelixWindow::Update() {
    const bool radials = base->currentIndex() == 2;
    radialCount->setEnabled(radials);
    radialLength->setEnabled(radials);
    const HelixDesign d = Design();
    const std::string problem = HelixDesignProblem(d);
    create->setEnabled(problem.empty());
    if (!problem.empty()) {
        status_->setText(QString::fromStdString(problem));
        return;
    }
    const Project p = HelixProject(d);
    status_->setText(QString("%1 wires, %2 pulses, fed on pulse %3 at %4 MHz")
                         .arg(p.WireCount)
                         .arg(p.PulseCount)
                         .arg(p.Sources[1].Pulse)
                         .arg(static_cast<double>(p.Frequency), 0, 'f', 3));
}

QString HelixWindow::WriteProject(const QString& path) const {
    const HelixDesign d = Design();
    const std::string problem = HelixDesignProblem(d);
    if (!problem.empty()) return QString::fromStdString(problem);
    QSaveFile file(path);
    const std::string text = HelixProjectText(d);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.data(), static_cast<qint64>(text.size())) < 0 ||
        !file.commit())
        return "Cannot write " + path + ": " + file.errorString();
    return "";
}

void HelixWindow::Create() {
    QString path = askPath();
    if (path.isEmpty()) return;
    if (!path.endsWith(".qlk", Qt::CaseInsensitive)) path += ".qlk";
    const QString error = WriteProject(path);
    if (!error.isEmpty()) {
        status_->setText(error);
        return;
    }
    status_->setText(openProject(path) ? "Written to " + path + " and opened in QUILLWORK"
                                       : "Written to " + path + "; QUILLWORK could not be started to open it");
}

bool OpenInMainProgram(const QString& path) {
    QString program = QDir(QCoreApplication::applicationDirPath()).filePath("quillwork");
    if (!QFileInfo(program).isExecutable()) program = QStandardPaths::findExecutable("quillwork");
    return !program.isEmpty() && QProcess::startDetached(program, {path});
}

}  // namespace qw
