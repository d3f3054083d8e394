#include "ui/geometry_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "commands/geometry_check.h"
#include "commands/geometry_print.h"
#include "commands/geometry_taper.h"
#include "commands/checks.h"
#include "model/number_value.h"
#include "model/units.h"
#include "platform/host.h"
#include "ui/height_dialog.h"
#include "ui/window_placement.h"

namespace qw {

namespace {

// 50 twips (1/1440 inch each) at the screen's resolution.
int TwipsToPixels(const QWidget& w, int twips) { return std::max(1, qRound(twips * w.logicalDpiX() / 1440.0)); }

bool OpensEditor(const QString& text) {
    if (text.size() != 1) return false;
    const QChar c = text.front();
    return c.isDigit() || QString("+-.,eE").contains(c);
}

}  // namespace

GeometryWindow::GeometryWindow(Context& ctx, QWidget* parent)
    : QDialog(parent), ctx_(ctx), table_(std::make_unique<GeometryTable>(ctx)) {
    setObjectName("GeoGrid");
    setWindowTitle("Geometry[*]");
    setSizeGripEnabled(true);
    // Modal to the main window only: the user guide stays usable.
    setWindowModality(Qt::WindowModal);
    BuildControls();
    Refresh();
    grid_->setCurrentCell(0, kColX1);
    resize(900, 520);
    RestorePlacement(*this, ctx_, "GeoGrid", true);
}

GeometryWindow::~GeometryWindow() = default;

QPushButton* GeometryWindow::Button(const char* name, const QString& caption, const QString& hint) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(name);
    b->setAutoDefault(false);
    if (!hint.isEmpty()) b->setToolTip(hint);
    return b;
}

void GeometryWindow::BuildControls() {
    grid_ = new QTableWidget(0, kGeoColumnCount, this);
    grid_->setObjectName("Grid1");
    QStringList headers;
    for (int c = 0; c < kGeoColumnCount; ++c) headers << GeoColumnHeader(c);
    grid_->setHorizontalHeaderLabels(headers);
    grid_->verticalHeader()->hide();
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionMode(QAbstractItemView::ContiguousSelection);
    grid_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    grid_->setColumnWidth(kColWire, 44);
    for (int c = kColX1; c <= kColDiam; ++c) grid_->setColumnWidth(c, 84);
    grid_->setColumnWidth(kColSeg, 44);
    grid_->horizontalHeader()->setStretchLastSection(true);
    grid_->installEventFilter(this);
    grid_->viewport()->installEventFilter(this);
    connect(grid_, &QTableWidget::cellDoubleClicked, this, [this](int row, int column) {
        if (row + 1 > table_->Rows()) {
            Message("You should Add a wire first");
            return;
        }
        if (column >= kColX1 && column <= kColSeg) {
            grid_->setCurrentCell(row, column);
            OpenEditor(QString::fromStdString(table_->CellText(row + 1, column)).trimmed(), true);
        }
    });
    connect(grid_, &QTableWidget::cellClicked, this, [this](int row, int column) {
        if (column == kColSrcLd && row + 1 <= table_->Rows()) RefreshPulses();
    });

    editor_ = new QLineEdit(grid_->viewport());
    editor_->setObjectName("GridText");
    editor_->hide();
    editor_->installEventFilter(this);
    connect(editor_, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (text.contains(',')) {
            const int at = editor_->cursorPosition();
            editor_->setText(QString(text).replace(',', '.'));
            editor_->setCursorPosition(at);
        }
    });

    auto* add = Button("CtlAddWire", "&Add Wire", "Add a new wire at the end");
    auto* insert = Button("CtlInsertWire", "&Insert Wire", "Insert a wire");
    auto* del = Button("CtlDelWire", "&Delete Wire", "Delete Highlighted wire");
    axisButton_ = Button("Ctl_RotationAxis", "Z", "Axis for rotation");
    theta_ = new QLineEdit("90", this);
    theta_->setObjectName("Ctl_Theta");
    theta_->setToolTip("Rotation angle in degrees (+/-)");
    auto* rotate = Button("Ctl_Rotate", "&Rotate", "Rotate Wire around axis");
    scaleValue_ = new QLineEdit("1", this);
    scaleValue_->setObjectName("Ctl_ScaleVal");
    scaleValue_->setToolTip(">1 Enlarge, <1 Reduce");
    auto* scale = Button("Ctl_Scale", "Sca&le", "Multiply by Scale factor");
    shiftValue_ = new QLineEdit("0", this);
    shiftValue_->setObjectName("Ctl_ShiftVal");
    shiftValue_->setToolTip("+/- Value");
    auto* shift = Button("Ctl_Shift", "&+/-", "Add/Substract a value");
    auto* taper = Button("btnTaper", "Taper", "");
    connect_ = new QCheckBox("Connect new wires", this);
    connect_->setObjectName("Ctl_Connect");
    auto* lengthButton = Button("LabWireLen", "&Wire Length", "");
    wireLength_ = new QLabel(this);
    wireLength_->setObjectName("WireLen");
    wireLength_->setMinimumWidth(110);
    wireLength_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* print = Button("Ctl_Print", "&Print", "");
    auto* show = Button("Ctl_ShowAntenna", "&Show", "");
    auto* freq = Button("Ctl_FreqGrid", "&Freq.", "");
    auto* height = Button("CtxHeight", "&Height", "");
    auto* locks = Button("btnLocks", "Lock variables", "");
    auto* help = Button("CtlHelp", "&Help", "");
    unitButton_ = Button("Ctl_Unit", "", "");
    auto* ok = Button("Ctl_OK", "&OK", "");
    auto* cancel = Button("Ctl_Cancel", "&Cancel", "");
    for (QLineEdit* e : {theta_, scaleValue_, shiftValue_}) e->setMaximumWidth(60);

    taperPanel_ = new QGroupBox("Taper", this);
    taperPanel_->setObjectName("SSPanelTaper");
    auto* tp = new QGridLayout(taperPanel_);
    const char* diamNames[] = {"edFromDiam(0)", "edFromDiam(1)"};
    const char* diamCaptions[] = {"Large Diameter", "Small Diameter"};
    const char* segNames[] = {"edFromSegment(0)", "edFromSegment(1)"};
    const char* segCaptions[] = {"Larger Segment", "Smaller Segment"};
    for (int i = 0; i < 2; ++i) {
        diam_[i] = new QLineEdit(taperPanel_);
        diam_[i]->setObjectName(diamNames[i]);
        segment_[i] = new QLineEdit(taperPanel_);
        segment_[i]->setObjectName(segNames[i]);
        tp->addWidget(new QLabel(diamCaptions[i], taperPanel_), i, 0);
        tp->addWidget(diam_[i], i, 1);
        tp->addWidget(new QLabel(segCaptions[i], taperPanel_), i, 2);
        tp->addWidget(segment_[i], i, 3);
    }
    segDim_[0] = new QRadioButton("&Dimension", taperPanel_);
    segDim_[1] = new QRadioButton("&Wavelength", taperPanel_);
    segDim_[0]->setChecked(true);
    auto* dimBox = new QWidget(taperPanel_);
    auto* dimLayout = new QVBoxLayout(dimBox);
    dimLayout->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < 2; ++i) {
        segDim_[i]->setObjectName(QString("OptSegDim(%1)").arg(i));
        dimLayout->addWidget(segDim_[i]);
    }
    tip_[0] = new QRadioButton("&Both", taperPanel_);
    tip_[1] = new QRadioButton("End&1", taperPanel_);
    tip_[2] = new QRadioButton("End&2", taperPanel_);
    tip_[0]->setChecked(true);
    auto* tipBox = new QWidget(taperPanel_);
    auto* tipLayout = new QVBoxLayout(tipBox);
    tipLayout->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < 3; ++i) {
        tip_[i]->setObjectName(QString("OptTip(%1)").arg(i));
        tipLayout->addWidget(tip_[i]);
    }
    tp->addWidget(dimBox, 0, 4, 2, 1);
    tp->addWidget(tipBox, 0, 5, 2, 1);
    auto* taperOk = new QPushButton("&OK", taperPanel_);
    taperOk->setObjectName("btnOKTaper");
    taperOk->setAutoDefault(false);
    auto* taperCancel = new QPushButton("&Cancel", taperPanel_);
    taperCancel->setObjectName("btnCancelTaper");
    taperCancel->setAutoDefault(false);
    tp->addWidget(taperOk, 0, 6);
    tp->addWidget(taperCancel, 1, 6);
    taperPanel_->hide();

    auto* row1 = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{add, insert, del, axisButton_, theta_, rotate, scaleValue_,
                                                      scale, shiftValue_, shift, taper})
        row1->addWidget(w);
    row1->addStretch();
    auto* row2 = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{connect_, lengthButton, wireLength_, print, show, freq, height,
                                                      locks, help, unitButton_})
        row2->addWidget(w);
    row2->addStretch();
    row2->addWidget(ok);
    row2->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row1);
    layout->addWidget(taperPanel_);
    layout->addWidget(grid_, 1);
    layout->addLayout(row2);

    connect(add, &QPushButton::clicked, this, [this] { AddWire(); });
    connect(insert, &QPushButton::clicked, this, [this] { InsertWire(); });
    connect(del, &QPushButton::clicked, this, [this] { DeleteSelectedRows(false); });
    connect(axisButton_, &QPushButton::clicked, this, [this] {
        axis_ = axis_ % 3 + 1;
        axisButton_->setText(QString("XYZ").mid(axis_ - 1, 1));
    });
    connect(rotate, &QPushButton::clicked, this, [this] { RotateWires(); });
    connect(scale, &QPushButton::clicked, this, [this] { ScaleOrShift(true); });
    connect(shift, &QPushButton::clicked, this, [this] { ScaleOrShift(false); });
    connect(taper, &QPushButton::clicked, this, [this] {
        if (table_->Rows() == 0) return;
        taperPanel_->show();
        diam_[0]->setFocus();
    });
    connect(taperOk, &QPushButton::clicked, this, [this] { RunTaper(); });
    connect(taperCancel, &QPushButton::clicked, taperPanel_, &QWidget::hide);
    connect(connect_, &QCheckBox::toggled, this, [this](bool on) { table_->connectNewWires = on; });
    connect(lengthButton, &QPushButton::clicked, this, [this] { ShowWireLength(); });
    connect(print, &QPushButton::clicked, this, [this] { Print(); });
    connect(show, &QPushButton::clicked, this, [this] { ShowAntenna(); });
    connect(freq, &QPushButton::clicked, this, [this] {
        CommitEditor();
        AskFrequency(ctx_);
        Refresh();
    });
    connect(height, &QPushButton::clicked, this, [this] {
        CommitEditor();
        HeightDialog dialog(ctx_, this);
        dialog.exec();
    });
    connect(locks, &QPushButton::clicked, this, [this] { EditLocks(); });
    connect(help, &QPushButton::clicked, this, [this] {
        if (showHelp) showHelp(kGeometryHelpContext);
    });
    connect(unitButton_, &QPushButton::clicked, this, [this] {
        CommitEditor();
        table_->NextUnit();
        Refresh();
    });
    connect(ok, &QPushButton::clicked, this, [this] { Ok(); });
    connect(cancel, &QPushButton::clicked, this, [this] { reject(); });

}

void GeometryWindow::keyPressEvent(QKeyEvent* event) {
    const auto mods = event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
    if (event->key() == Qt::Key_Z && mods == Qt::ControlModifier) {
        Undo();
        return;
    }
    if ((event->key() == Qt::Key_Y && mods == Qt::ControlModifier) ||
        (event->key() == Qt::Key_Z && mods == (Qt::ControlModifier | Qt::ShiftModifier))) {
        Redo();
        return;
    }
    QDialog::keyPressEvent(event);
}

void GeometryWindow::Refresh() {
    const int rows = table_->Rows();
    const int current = grid_->currentRow(), currentColumn = grid_->currentColumn();
    grid_->setRowCount(rows + 1);  // an empty row below the last wire
    for (int r = 0; r <= rows; ++r)
        for (int c = 0; c < kGeoColumnCount; ++c) {
            auto* item = grid_->item(r, c);
            if (!item) {
                item = new QTableWidgetItem;
                grid_->setItem(r, c, item);
            }
            item->setText(FromProgramText(table_->CellText(r + 1, c)));
            item->setTextAlignment(c == kColSrcLd ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignRight | Qt::AlignVCenter);
            if (c == kColWire) item->setBackground(palette().button());
        }
    if (current >= 0) grid_->setCurrentCell(std::min(current, rows), std::max(currentColumn, 1));
    unitButton_->setText(QString::fromStdString(UnitButtonCaption(table_->Unit())));
    setWindowModified(ctx_.project.Modified);
}

int GeometryWindow::CurrentRow() const { return grid_->currentRow() + 1; }
int GeometryWindow::CurrentColumn() const { return grid_->currentColumn(); }

CellBlock GeometryWindow::Selection() const {
    const auto ranges = grid_->selectedRanges();
    if (ranges.isEmpty()) {
        const int r = CurrentRow(), c = CurrentColumn();
        return {r, c, r, c};
    }
    const QTableWidgetSelectionRange& s = ranges.front();
    return {s.topRow() + 1, s.leftColumn(), s.bottomRow() + 1, s.rightColumn()};
}

void GeometryWindow::Message(const std::string& text, const std::string& title) {
    ctx_.host->Notify(text, title);
}

void GeometryWindow::OpenEditor(const QString& text, bool selectAll) {
    const int row = CurrentRow(), column = CurrentColumn();
    if (row < 1 || row > table_->Rows() || column < kColX1 || column > kColSeg) return;
    editRow_ = row;
    editColumn_ = column;
    const QRect cell = grid_->visualItemRect(grid_->item(row - 1, column));
    editor_->setGeometry(cell);
    editor_->setText(QString(text).replace(',', '.'));
    editor_->show();
    editor_->setFocus();
    if (selectAll)
        editor_->selectAll();
    else
        editor_->end(false);
}

void GeometryWindow::CommitEditor() {
    if (!editor_->isVisible() || committing_) return;
    committing_ = true;
    const std::string typed = ToProgramText(editor_->text());
    const int row = editRow_, column = editColumn_;
    editor_->hide();
    editor_->clear();
    if (!QString::fromStdString(typed).trimmed().isEmpty()) table_->SetCell(row, column, typed);
    committing_ = false;
    Refresh();
    grid_->setFocus();
}

void GeometryWindow::AbandonEditor() {
    editor_->hide();
    editor_->clear();
    grid_->setFocus();
}

bool GeometryWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == editor_) {
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            switch (key->key()) {
                case Qt::Key_Escape:
                    AbandonEditor();
                    return true;
                case Qt::Key_Return:
                case Qt::Key_Enter:
                    CommitEditor();
                    return true;
                case Qt::Key_Up:
                case Qt::Key_Down: {
                    const int row = editRow_ - 1 + (key->key() == Qt::Key_Down ? 1 : -1);
                    const int column = editColumn_;
                    CommitEditor();
                    grid_->setCurrentCell(std::clamp(row, 0, std::max(table_->Rows() - 1, 0)), column);
                    return true;
                }
                default:
                    break;
            }
        } else if (event->type() == QEvent::FocusOut) {
            CommitEditor();
        }
        return false;
    }
    if (watched == grid_->viewport() && event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton) {
            const QModelIndex at = grid_->indexAt(mouse->position().toPoint());
            if (at.isValid() && at.column() == kColDiam && at.row() + 1 <= table_->Rows()) {
                CommitEditor();
                const float size = AskWireSize(ctx_);
                if (size > 0) table_->SetDiameter(at.row() + 1, size);
                Refresh();
                return true;
            }
        }
        return false;
    }
    if (watched == grid_ && event->type() == QEvent::KeyPress) return GridKey(static_cast<QKeyEvent*>(event));
    return QDialog::eventFilter(watched, event);
}

bool GeometryWindow::GridKey(QKeyEvent* key) {
    const bool shift = key->modifiers() & Qt::ShiftModifier;
    const bool control = key->modifiers() & Qt::ControlModifier;
    switch (key->key()) {
        case Qt::Key_Insert:
            if (shift)
                PasteClipboard();
            else if (control)
                CopySelection();
            else
                OpenEditor(QString::fromStdString(table_->CellText(CurrentRow(), CurrentColumn())).trimmed(), true);
            return true;
        case Qt::Key_Delete:
            if (control)
                DeleteSelectedRows(false);
            else if (shift)
                DeleteSelectedRows(true);
            else if (CurrentRow() <= table_->Rows() && CurrentColumn() >= kColX1 && CurrentColumn() <= kColSeg) {
                table_->SetCell(CurrentRow(), CurrentColumn(), "0");
                Refresh();
            }
            return true;
        default:
            break;
    }
    if (control) {
        switch (key->key()) {
            case Qt::Key_V: PasteClipboard(); return true;
            case Qt::Key_C: CopySelection(); return true;
            case Qt::Key_X: DeleteSelectedRows(true); return true;
            default: return false;
        }
    }
    const QString text = key->text();
    if (text == "<" || text == ">") {
        const CellBlock s = Selection();
        const int step = TwipsToPixels(*grid_, 50) * (text == ">" ? 1 : -1);
        for (int c = s.left; c <= s.right; ++c) grid_->setColumnWidth(c, std::max(8, grid_->columnWidth(c) + step));
        return true;
    }
    if (text.compare("s", Qt::CaseInsensitive) == 0 || text.compare("l", Qt::CaseInsensitive) == 0) {
        PlaceSourcesLoads();
        return true;
    }
    if (text == "p") {
        if (showHelp) showHelp(kGeometryHelpContext);
        return true;
    }
    if (OpensEditor(text)) {
        if (CurrentRow() > table_->Rows()) {
            Message("You should Add a wire first");
            return true;
        }
        OpenEditor(text, false);
        return true;
    }
    return false;
}

void GeometryWindow::CopySelection() {
    CommitEditor();
    QApplication::clipboard()->setText(FromProgramText(table_->CopyText(Selection())));
}

void GeometryWindow::PasteClipboard() {
    CommitEditor();
    const std::string text = ToProgramText(QApplication::clipboard()->text());
    table_->Paste(std::max(CurrentRow(), 1), std::max(CurrentColumn(), static_cast<int>(kColX1)), text);
    Refresh();
}

void GeometryWindow::Undo() {
    AbandonEditor();
    table_->Undo();
    Refresh();
}

void GeometryWindow::Redo() {
    AbandonEditor();
    table_->Redo();
    Refresh();
}

void GeometryWindow::DeleteSelectedRows(bool ask) {
    CommitEditor();
    const CellBlock s = Selection();
    if (s.top > table_->Rows()) return;
    if (ask) {
        const MessageAnswer answer = ctx_.host->ShowMessage(
            {"This will delete the selected rows", "WARNING", MessageIcon::Critical, MessageButtons::OkCancel, 1});
        if (answer != MessageAnswer::Ok) return;
    }
    table_->DeleteRows(s.top, s.bottom);
    grid_->clearSelection();
    Refresh();
}

void GeometryWindow::AddWire() {
    CommitEditor();
    if (const int row = table_->AddWire()) {
        Refresh();
        grid_->setCurrentCell(row - 1, kColX1);
    }
}

void GeometryWindow::InsertWire() {
    CommitEditor();
    if (const int row = table_->InsertWire(std::max(CurrentRow(), 1))) {
        Refresh();
        grid_->setCurrentCell(row - 1, kColX1);
    }
}

void GeometryWindow::RotateWires() {
    CommitEditor();
    const CellBlock s = ClipSelection(Selection(), table_->Rows());
    std::vector<int> rows;
    for (int r = s.top; r <= s.bottom; ++r) rows.push_back(r);
    table_->Rotate(rows, axis_, static_cast<float>(Val(theta_->text().toStdString())));
    Refresh();
}

void GeometryWindow::ScaleOrShift(bool scale) {
    CommitEditor();
    const double value = Val((scale ? scaleValue_ : shiftValue_)->text().replace(',', '.').toStdString());
    if (scale)
        table_->Scale(Selection(), value);
    else
        table_->Shift(Selection(), value);
    Refresh();
}

void GeometryWindow::RunTaper() {
    CommitEditor();
    taperPanel_->hide();
    const int row = CurrentRow();
    if (row < 1 || row > table_->Rows()) return;
    auto value = [](QLineEdit* e) { return Val(e->text().replace(',', '.').toStdString()); };
    // The larger of each pair goes first, in the boxes too.
    if (value(diam_[1]) > value(diam_[0])) {
        const QString t = diam_[0]->text();
        diam_[0]->setText(diam_[1]->text());
        diam_[1]->setText(t);
    }
    if (value(segment_[1]) > value(segment_[0])) {
        const QString t = segment_[0]->text();
        segment_[0]->setText(segment_[1]->text());
        segment_[1]->setText(t);
    }
    TaperRequest request;
    request.largeDiameter = value(diam_[0]);
    request.smallDiameter = value(diam_[1]);
    request.largeSegment = value(segment_[0]);
    request.smallSegment = value(segment_[1]);
    request.wavelengths = segDim_[1]->isChecked();
    request.ends = tip_[1]->isChecked() ? TaperEnds::End1 : tip_[2]->isChecked() ? TaperEnds::End2 : TaperEnds::Both;
    const Project& p = ctx_.project;
    int otherSegments = 0;
    for (int w = 1; w <= p.WireCount; ++w)
        if (w != row) otherSegments += p.Wires[w].Segments;
    const TaperPlan plan = PlanTaper(p.Wires[row], request, table_->Unit(), p.Frequency, p.WireCount - 1, otherSegments,
                                      ctx_.Limits());
    if (!plan.error.empty()) {
        ctx_.host->Notify(plan.error, plan.errorTitle, MessageIcon::Exclamation);
        return;
    }
    table_->ReplaceByChain(row, plan.chain);
    Refresh();
    RefreshPulses();
}

void GeometryWindow::ShowWireLength() {
    CommitEditor();
    const int row = CurrentRow();
    if (row < 1 || row > table_->Rows()) return;
    wireLength_->setText(QString::fromStdString(table_->WireLengthText(row)));
}

void GeometryWindow::Print() {
    CommitEditor();
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle("Print Geometry");
    if (dialog.exec() != QDialog::Accepted) return;
    QPainter painter;
    if (!painter.begin(&printer)) {
        ctx_.host->Notify("The printer could not be opened", "Print", MessageIcon::Critical);
        return;
    }
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(9);
    painter.setFont(font);
    const QFontMetrics metrics(painter.font(), &printer);
    const QRect page = painter.viewport();
    const std::vector<std::string> lines = GeometryPrintLines(*table_);
    for (const std::string& line : lines)
        if (metrics.horizontalAdvance(FromProgramText(line)) > page.width()) {
            painter.end();
            ctx_.host->Notify(kTextTooLargeForPage, "Print", MessageIcon::Exclamation);
            return;
        }
    int y = metrics.ascent();
    for (const std::string& line : lines) {
        if (y > page.height()) {
            printer.newPage();
            y = metrics.ascent();
        }
        painter.drawText(0, y, FromProgramText(line));
        y += metrics.lineSpacing();
    }
    painter.end();
}

void GeometryWindow::RefreshPulses() {
    CommitEditor();
    int faultRow = 0;
    table_->BuildPulses(&faultRow);
    Refresh();
    if (faultRow > 0) grid_->setCurrentCell(faultRow - 1, kColX1);
}

void GeometryWindow::ShowAntenna() {
    CommitEditor();
    int faultRow = 0;
    const bool built = table_->BuildPulses(&faultRow);
    Refresh();
    if (faultRow > 0) grid_->setCurrentCell(faultRow - 1, kColX1);
    if (built && showAntenna) showAntenna();
}

void GeometryWindow::PlaceSourcesLoads() {
    CommitEditor();
    if (!placeSourcesLoads) return;
    table_->BeginExternalChange();
    placeSourcesLoads();
    table_->EndExternalChange();
    RefreshPulses();
}

void GeometryWindow::EditLocks() {
    CommitEditor();
    ctx_.locks.FitTo(ctx_.project);
    table_->BeginExternalChange();
    LockListDialog dialog(ctx_, this);
    dialog.exec();
    table_->EndExternalChange();
    Refresh();
}

void GeometryWindow::Ok() {
    CommitEditor();
    int faultRow = 0;
    if (table_->Rows() > 0 && CheckGeometry(ctx_, &faultRow) != GeometryCheck::Passed) {
        if (faultRow > 0) grid_->setCurrentCell(faultRow - 1, kColX1);
        return;
    }
    // The check above has passed; Accept checks again (quietly, as it
    // passes) together with the limits.
    if (!table_->Accept()) return;
    accept();
}

void GeometryWindow::reject() {
    AbandonEditor();
    table_->Cancel();
    QDialog::reject();
}

void GeometryWindow::done(int result) {
    SavePlacement(*this, ctx_, "GeoGrid");
    QDialog::done(result);
}

LockListDialog::LockListDialog(Context& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) {
    setObjectName("frmLock");
    setWindowTitle("Variables Locks");
    auto* list = new QListWidget(this);
    list->setObjectName("LockList");
    list->setToolTip("Click on checkbox to lock the corresponding variable.");
    OptimizerLocks& l = ctx_.locks;
    auto add = [list](const QString& caption, bool locked) {
        auto* item = new QListWidgetItem(caption, list);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(locked ? Qt::Checked : Qt::Unchecked);
    };
    for (int n = 1; n <= l.WireCount; ++n) add(QString("Wire %1").arg(n), l.Wire[n]);
    for (int n = 1; n <= l.LoadCount; ++n) add(QString("Load %1").arg(n), l.Load[n]);
    for (int n = 1; n <= l.SourceCount; ++n) add(QString("Source %1").arg(n), l.Source[n]);
    connect(list, &QListWidget::itemChanged, this, [this, list](QListWidgetItem* item) {
        OptimizerLocks& locks = ctx_.locks;
        const int k = list->row(item);
        const bool on = item->checkState() == Qt::Checked;
        if (k < locks.WireCount)
            locks.Wire[k + 1] = on;
        else if (k - locks.WireCount < locks.LoadCount)
            locks.Load[k - locks.WireCount + 1] = on;
        else if (k - locks.WireCount - locks.LoadCount < locks.SourceCount)
            locks.Source[k - locks.WireCount - locks.LoadCount + 1] = on;
    });
    auto* hint = new QLabel("Click on checkbox to lock the corresponding variable.", this);
    hint->setWordWrap(true);
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("OK");
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(hint);
    layout->addWidget(list, 1);
    layout->addWidget(ok);
    resize(260, 360);
}

}  // namespace qw
