#include "ui/source_load_window.h"

#include <QApplication>
#include <QButtonGroup>
#include <QDrag>
#include <QDragEnterEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "commands/placement_values.h"
#include "model/format_mask.h"
#include "platform/host.h"
#include "ui/number_box.h"
#include "ui/placement_icons.h"
#include "ui/window_placement.h"

namespace qw {

namespace {

constexpr double kTwipsPerPixel = 15;
constexpr int kViewWidth = 560;
constexpr int kViewHeight = 150;
constexpr int kWirePixelY = 75;

QString Fixed(double value) { return QString::fromStdString(Format(value, "Fixed")); }

// A value box: numbers only (digits, a sign, a decimal point or comma and
// an exponent), whatever the locale.
NumberBox* ValueBox(const QString& name, QWidget* parent) {
    auto* box = new NumberBox(name, parent);
    static const QRegularExpression number(R"([-+]?[0-9]*[.,]?[0-9]*([eE][-+]?[0-9]*)?)");
    box->setValidator(new QRegularExpressionValidator(number, box));
    box->setMaximumWidth(110);
    return box;
}

// An icon the user drags out to place a new source or load.
class IconSource : public QLabel {
public:
    IconSource(const QPixmap& pixmap, QString what, const QString& name, QWidget* parent)
        : QLabel(parent), what_(std::move(what)) {
        setObjectName(name);
        setPixmap(pixmap);
        setFixedSize(kPlacementIconSize + 4, kPlacementIconSize + 4);
        setAlignment(Qt::AlignCenter);
        setCursor(Qt::OpenHandCursor);
    }

protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton) return;
        auto* drag = new QDrag(this);
        drag->setMimeData(PlacementMimeData(what_));
        drag->setPixmap(pixmap());
        drag->setHotSpot(QPoint(kPlacementIconSize / 2, kPlacementIconSize / 2));
        drag->exec(Qt::MoveAction);
    }

private:
    QString what_;
};

// The trash can: placed icons dropped here are deleted.
class TrashLabel : public QLabel {
public:
    TrashLabel(SourceLoadWindow& window, QWidget* parent) : QLabel(parent), window_(window) {
        setObjectName("Trash");
        setPixmap(TrashIcon());
        setFixedSize(kPlacementIconSize + 8, kPlacementIconSize + 8);
        setAlignment(Qt::AlignCenter);
        setAcceptDrops(true);
        setToolTip("Drop in trash to discard.");
    }

protected:
    void dragEnterEvent(QDragEnterEvent* event) override {
        const QString what = QString::fromUtf8(event->mimeData()->data(kPlacementMime));
        if (what.startsWith("source ") || what.startsWith("load ")) event->acceptProposedAction();
    }
    void dropEvent(QDropEvent* event) override {
        if (window_.DropOnTrash(QString::fromUtf8(event->mimeData()->data(kPlacementMime))))
            event->acceptProposedAction();
    }

private:
    SourceLoadWindow& window_;
};

QLabel* Caption(const QString& text, QWidget* parent) { return new QLabel(text, parent); }

}  // namespace

QMimeData* PlacementMimeData(const QString& what) {
    auto* data = new QMimeData;
    data->setData(kPlacementMime, what.toUtf8());
    return data;
}

void ClickLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit leftClicked();
    if (event->button() == Qt::RightButton) emit rightClicked();
    event->accept();
}

// ---- the wire view ----

WireView::WireView(SourceLoadWindow& window, Placement& placement) : QWidget(&window), window_(window), placement_(placement) {
    setObjectName("WirePicture");
    setAcceptDrops(true);
    setFixedSize(kViewWidth, kViewHeight);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
}

QSize WireView::sizeHint() const { return {kViewWidth, kViewHeight}; }

QPointF WireView::ToTwips(const QPointF& pixel) const {
    return {pixel.x() * kTwipsPerPixel, kSlotWireY + (pixel.y() - kWirePixelY) * kTwipsPerPixel};
}

QPointF WireView::ToPixels(double x, double y) const {
    return {x / kTwipsPerPixel, kWirePixelY + (y - kSlotWireY) / kTwipsPerPixel};
}

QRect WireView::IconRect(int slot, bool isSource) const {
    const QPointF at = ToPixels(placement_.Slots().SlotX(slot), kSlotWireY);
    const int size = kPlacementIconSize;
    const int left = static_cast<int>(at.x()) - size / 2;
    // Sources sit above the wire, loads below it.
    return isSource ? QRect(left, kWirePixelY - size - 6, size, size) : QRect(left, kWirePixelY + 22, size, size);
}

PlacedItem WireView::ItemAt(const QPoint& pixel) const {
    for (const PlacedItem& item : placement_.ItemsOnWire())
        if (IconRect(item.slot, item.isSource).contains(pixel)) return item;
    return {};
}

void WireView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const WireSlots& s = placement_.Slots();
    const QPointF left = ToPixels(kSlotWireLeft, kSlotWireY), right = ToPixels(kSlotWireRight, kSlotWireY);
    p.setPen(QPen(Qt::black, 2));
    p.drawLine(left, right);
    if (s.segments <= 0) return;
    p.setPen(QPen(Qt::red, 1));
    for (int slot = s.firstSlot; slot <= s.lastSlot; ++slot) {
        const QPointF at = ToPixels(s.SlotX(slot), kSlotWireY);
        p.drawLine(at + QPointF(0, -5), at + QPointF(0, 5));
    }
    p.setPen(Qt::black);
    const QFontMetrics metrics(p.font());
    for (int slot : TickLabels(s)) {
        const QPointF at = ToPixels(s.SlotX(slot), kSlotWireY);
        const QString text = QString::number(slot);
        p.drawText(QPointF(at.x() - metrics.horizontalAdvance(text) / 2.0, at.y() + 7 + metrics.ascent()), text);
    }
    for (const PlacedItem& item : placement_.ItemsOnWire()) {
        const QRect r = IconRect(item.slot, item.isSource);
        p.drawPixmap(r.topLeft(), item.isSource ? SourceIcon() : LoadIcon());
        const QString number = QString::number(item.number);
        p.drawText(QPointF(r.right() + 2, r.top() + metrics.ascent()), number);
    }
}

void WireView::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton ? ItemAt(event->position().toPoint()) : PlacedItem{};
    pressAt_ = event->position().toPoint();
}

void WireView::mouseMoveEvent(QMouseEvent* event) {
    if (pressed_.number == 0) return;
    if ((event->position().toPoint() - pressAt_).manhattanLength() < QApplication::startDragDistance()) return;
    const PlacedItem item = pressed_;
    pressed_ = {};
    auto* drag = new QDrag(this);
    drag->setMimeData(PlacementMimeData(QString("%1 %2").arg(item.isSource ? "source" : "load").arg(item.number)));
    drag->setPixmap(item.isSource ? SourceIcon() : LoadIcon());
    drag->setHotSpot(QPoint(kPlacementIconSize / 2, kPlacementIconSize / 2));
    drag->exec(Qt::MoveAction);
}

void WireView::mouseReleaseEvent(QMouseEvent*) {
    const PlacedItem item = pressed_;
    pressed_ = {};
    if (item.number == 0) return;
    if (item.isSource)
        window_.OpenSource(item.number);
    else
        window_.OpenLoad(item.number);
}

void WireView::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasFormat(kPlacementMime)) event->acceptProposedAction();
}

void WireView::dragMoveEvent(QDragMoveEvent* event) {
    if (event->mimeData()->hasFormat(kPlacementMime)) event->acceptProposedAction();
}

void WireView::dropEvent(QDropEvent* event) {
    const QPointF at = ToTwips(event->position());
    if (window_.DropOnWire(QString::fromUtf8(event->mimeData()->data(kPlacementMime)), at.x(), at.y()))
        event->acceptProposedAction();
}

// ---- the window ----

SourceLoadWindow::SourceLoadWindow(Context& ctx, QWidget* parent)
    : QDialog(parent), ctx_(ctx), placement_(std::make_unique<Placement>(ctx.project)) {
    ctx_.AbortFlag = false;
    setObjectName("SrcLoad");
    setWindowTitle("Sources & Loads");
    auto* layout = new QVBoxLayout(this);

    auto* top = new QHBoxLayout;
    top->addWidget(new IconSource(SourceIcon(), "new-source", "NewSource", this));
    top->itemAt(0)->widget()->setToolTip("Source");
    top->addWidget(new IconSource(LoadIcon(), "new-load", "NewLoad", this));
    top->itemAt(1)->widget()->setToolTip("Load");
    top->addSpacing(24);
    trash_ = new TrashLabel(*this, this);
    top->addWidget(trash_);
    top->addStretch(1);
    auto* wireLabel = new ClickLabel("Wire number", this);
    wireLabel->setObjectName("LWire");
    wireLabel->setToolTip("Click to Inc/Dec wire#");
    wireLabel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    connect(wireLabel, &ClickLabel::leftClicked, this, [this] { ShowWire(placement_->Wire() % std::max(1, placement_->WireCount()) + 1); });
    connect(wireLabel, &ClickLabel::rightClicked, this, [this] {
        ShowWire(placement_->Wire() <= 1 ? placement_->WireCount() : placement_->Wire() - 1);
    });
    wireLabel->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    top->addWidget(wireLabel, 0, Qt::AlignVCenter);
    wireBox_ = new QLineEdit(this);
    wireBox_->setObjectName("Wnbr");
    wireBox_->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]{0,3}"), wireBox_));
    wireBox_->setMaximumWidth(50);
    connect(wireBox_, &QLineEdit::returnPressed, this, [this] { ShowWire(wireBox_->text().toInt()); });
    top->addWidget(wireBox_);
    layout->addLayout(top);

    for (const char* hint : {"Drag Source or Load icons above to pulse location on wire.", "Drop in trash to discard.",
                             "Click on source or load on wire to define parameters."})
        layout->addWidget(Caption(hint, this));

    view_ = new WireView(*this, *placement_);
    layout->addWidget(view_, 0, Qt::AlignHCenter);

    // The source panel.
    sourcePanel_ = new QGroupBox("Source", this);
    sourcePanel_->setObjectName("SourcePanel");
    auto* sg = new QGridLayout(sourcePanel_);
    const char* lineCaptions[] = {"Source number:", "Pulse number in wire:", "Pulse number absolute:",
                                  "Position in wire in %:"};
    for (int i = 0; i < 4; ++i) {
        sg->addWidget(Caption(lineCaptions[i], sourcePanel_), i, 0);
        sourceLines_[i] = new QLabel(sourcePanel_);
        sourceLines_[i]->setObjectName(QString("SourceLine%1").arg(i + 1));
        sg->addWidget(sourceLines_[i], i, 1);
    }
    vr_ = ValueBox("VR", sourcePanel_);
    vi_ = ValueBox("VI", sourcePanel_);
    vm_ = ValueBox("VM", sourcePanel_);
    vp_ = ValueBox("VP", sourcePanel_);
    const std::pair<const char*, NumberBox*> boxes[] = {{"Real", vr_}, {"Imag.", vi_}, {"Magnitude", vm_}, {"Phase", vp_}};
    for (int i = 0; i < 4; ++i) {
        sg->addWidget(Caption(boxes[i].first, sourcePanel_), i, 2);
        sg->addWidget(boxes[i].second, i, 3);
    }
    auto* kind = new ClickLabel("Voltage", sourcePanel_);
    kind->setObjectName("L");
    kind->setToolTip("Voltage or Current");
    kind->setFrameStyle(QFrame::Panel | QFrame::Raised);
    kind->setAlignment(Qt::AlignCenter);
    kind_ = kind;
    connect(kind, &ClickLabel::leftClicked, this, [this] { SourceKindClicked(); });
    sg->addWidget(kind_, 4, 2, 1, 2);
    for (NumberBox* b : {vr_, vi_})
        connect(b, &QLineEdit::textEdited, this, [this, b] {
            if (b->hasFocus()) SourceValuesEdited(true);
        });
    for (NumberBox* b : {vm_, vp_})
        connect(b, &QLineEdit::textEdited, this, [this, b] {
            if (b->hasFocus()) SourceValuesEdited(false);
        });
    layout->addWidget(sourcePanel_);

    // The load panel.
    loadPanel_ = new QGroupBox("Load", this);
    loadPanel_->setObjectName("LoadPanel");
    auto* lg = new QGridLayout(loadPanel_);
    lineCaptions[0] = "Load number:";
    for (int i = 0; i < 4; ++i) {
        lg->addWidget(Caption(lineCaptions[i], loadPanel_), i, 0);
        loadLines_[i] = new QLabel(loadPanel_);
        loadLines_[i]->setObjectName(QString("LoadLine%1").arg(i + 1));
        lg->addWidget(loadLines_[i], i, 1);
    }
    auto* type = new QGroupBox(" Z type ", loadPanel_);
    auto* tl = new QVBoxLayout(type);
    rlc_ = new QRadioButton("R - L - C", type);
    rlc_->setObjectName("ZTypeRLC");
    realImag_ = new QRadioButton("Real/Imag", type);
    realImag_->setObjectName("ZTypeRealImag");
    tl->addWidget(rlc_);
    tl->addWidget(realImag_);
    auto* connectBox = new QGroupBox(" Connect ", loadPanel_);
    auto* cl = new QVBoxLayout(connectBox);
    series_ = new QRadioButton("Series", connectBox);
    series_->setObjectName("ConnectSeries");
    parallel_ = new QRadioButton("Parallel", connectBox);
    parallel_->setObjectName("ConnectParallel");
    cl->addWidget(series_);
    cl->addWidget(parallel_);
    lg->addWidget(type, 0, 2, 2, 1);
    lg->addWidget(connectBox, 2, 2, 2, 1);
    for (QRadioButton* r : {rlc_, realImag_, series_, parallel_})
        connect(r, &QRadioButton::clicked, this, [this] { LoadTypeChanged(); });

    rlcBoxes_ = new QWidget(loadPanel_);
    auto* rg = new QGridLayout(rlcBoxes_);
    rg->setContentsMargins(0, 0, 0, 0);
    lcrb_ = ValueBox("LCRB", rlcBoxes_);
    lclb_ = ValueBox("LCLB", rlcBoxes_);
    lccb_ = ValueBox("LCCB", rlcBoxes_);
    const std::pair<const char*, NumberBox*> rlcBoxes[] = {{"R (ohms)", lcrb_}, {"L (uH)", lclb_}, {"C (pF)", lccb_}};
    for (int i = 0; i < 3; ++i) {
        rg->addWidget(Caption(rlcBoxes[i].first, rlcBoxes_), i, 0);
        rg->addWidget(rlcBoxes[i].second, i, 1);
    }
    riBoxes_ = new QWidget(loadPanel_);
    auto* ig = new QGridLayout(riBoxes_);
    ig->setContentsMargins(0, 0, 0, 0);
    lrb_ = ValueBox("LRB", riBoxes_);
    libox_ = ValueBox("LIbox", riBoxes_);
    ig->addWidget(Caption("Resistance", riBoxes_), 0, 0);
    ig->addWidget(lrb_, 0, 1);
    ig->addWidget(Caption("Reactance", riBoxes_), 1, 0);
    ig->addWidget(libox_, 1, 1);
    lg->addWidget(rlcBoxes_, 0, 3, 4, 1, Qt::AlignTop);
    lg->addWidget(riBoxes_, 0, 4, 4, 1, Qt::AlignTop);
    for (NumberBox* b : {lcrb_, lclb_, lccb_, lrb_, libox_})
        connect(b, &QLineEdit::textEdited, this, [this, b] {
            if (b->hasFocus()) LoadValueEdited();
        });
    layout->addWidget(loadPanel_);

    auto* buttons = new QHBoxLayout;
    auto* close = new QPushButton("Close", this);
    close->setObjectName("COK2");
    close->setToolTip("Close the parameter panel");
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, [this] { ClosePanel(); });
    buttons->addWidget(close);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    const DialogButtons ok = AddDialogButtons(*this, *layout, "COK", "CCancel");
    connect(ok.ok, &QPushButton::clicked, this, [this] { Ok(); });
    ClosePanel();

    RestorePlacement(*this, ctx_, "SrcLoad", false);
    ShowWire(1);
}

SourceLoadWindow::~SourceLoadWindow() = default;

void SourceLoadWindow::done(int result) {
    if (result != Accepted) ctx_.AbortFlag = true;
    SavePlacement(*this, ctx_, "SrcLoad");
    QDialog::done(result);
}

void SourceLoadWindow::Refuse(const PlacementRefusal& why) {
    ctx_.host->Notify(why.text, why.title, MessageIcon::Exclamation);
}

void SourceLoadWindow::Redraw() { view_->update(); }

void SourceLoadWindow::ShowWire(int w) {
    if (const PlacementRefusal r = placement_->SelectWire(w)) Refuse(r);
    wireBox_->setText(QString::number(placement_->Wire()));
    ClosePanel();
    Redraw();
}

bool SourceLoadWindow::DropOnWire(const QString& what, double x, double y) {
    const WireSlots& s = placement_->Slots();
    const int slot = DropSlot(s, x, y, kPlacementIconSize * kTwipsPerPixel);
    if (slot < 0) return false;
    const int wire = placement_->Wire();
    const QStringList parts = what.split(' ');
    PlacementRefusal refused;
    int n = 0;
    if (what == "new-source") {
        refused = placement_->AddSource(wire, slot, &n);
        if (!refused) OpenSource(n);
    } else if (what == "new-load") {
        refused = placement_->AddLoad(wire, slot, &n);
        if (!refused) OpenLoad(n);
    } else if (parts.size() == 2 && parts[0] == "source") {
        refused = placement_->MoveSource(parts[1].toInt(), wire, slot);
        if (!refused && source_ == parts[1].toInt()) OpenSource(source_);
    } else if (parts.size() == 2 && parts[0] == "load") {
        refused = placement_->MoveLoad(parts[1].toInt(), wire, slot);
        if (!refused && load_ == parts[1].toInt()) OpenLoad(load_);
    } else {
        return false;
    }
    Redraw();
    if (refused) Refuse(refused);
    return !refused;
}

bool SourceLoadWindow::DropOnTrash(const QString& what) {
    const QStringList parts = what.split(' ');
    if (parts.size() != 2) return false;
    const int n = parts[1].toInt();
    PlacementRefusal refused;
    if (parts[0] == "source")
        refused = placement_->DeleteSource(n);
    else if (parts[0] == "load")
        refused = placement_->DeleteLoad(n);
    else
        return false;
    if (refused) return false;
    ClosePanel();
    Redraw();
    return true;
}

void SourceLoadWindow::FillPulseLines(QLabel* const lines[4], const SlotPlace& at, int number) {
    const WireSlots s = placement_->SlotsOf(at.wire);
    lines[0]->setText(QString::number(number));
    lines[1]->setText(QString::number(PulseInWire(s, at.slot)));
    lines[2]->setText(QString::number(SlotPulse(s, at.slot)));
    lines[3]->setText(Fixed(SlotPercent(s, at.slot)));
}

void SourceLoadWindow::OpenSource(int n) {
    if (n < 1 || n > placement_->SourceCount()) return;
    ClosePanel();
    source_ = n;
    const Source& src = placement_->SourceAt(n);
    FillPulseLines(sourceLines_, placement_->PlaceOfSource(n), n);
    vm_->setText(Fixed(src.Magnitude));
    vp_->setText(Fixed(src.Phase));
    const Rectangular v = ToRectangular(src.Magnitude, src.Phase);
    vr_->setText(Fixed(v.re));
    vi_->setText(Fixed(v.im));
    kind_->setText(src.Kind == kCurrentSource ? "Current" : "Voltage");
    sourcePanel_->setTitle(QString("Source %1").arg(n));
    sourcePanel_->show();
    findChild<QPushButton*>("COK2")->show();
}

void SourceLoadWindow::OpenLoad(int n) {
    if (n < 1 || n > placement_->LoadCount()) return;
    ClosePanel();
    load_ = n;
    const Load& l = placement_->LoadAt(n);
    FillPulseLines(loadLines_, placement_->PlaceOfLoad(n), n);
    rlc_->setChecked(IsRlcKind(l.Kind));
    realImag_->setChecked(!IsRlcKind(l.Kind));
    parallel_->setChecked(IsParallelKind(l.Kind));
    series_->setChecked(!IsParallelKind(l.Kind));
    lcrb_->setText(BoxText(l.Resistance));
    lclb_->setText(BoxText(l.Reactance));
    lccb_->setText(BoxText(l.Capacitance));
    lrb_->setText(BoxText(l.Resistance));
    libox_->setText(BoxText(l.Reactance));
    ShowLoadBoxes();
    loadPanel_->setTitle(QString("Load %1").arg(n));
    loadPanel_->show();
    findChild<QPushButton*>("COK2")->show();
}

void SourceLoadWindow::ClosePanel() {
    source_ = load_ = 0;
    sourcePanel_->hide();
    loadPanel_->hide();
    if (auto* close = findChild<QPushButton*>("COK2")) close->hide();
    adjustSize();
}

void SourceLoadWindow::SourceValuesEdited(bool fromParts) {
    if (source_ == 0) return;
    Source& src = placement_->SourceAt(source_);
    if (fromParts) {
        const Polar v = ToPolar(vr_->Value(), vi_->Value());
        src.Magnitude = static_cast<float>(v.magnitude);
        src.Phase = static_cast<float>(v.degrees);
        vm_->setText(Fixed(v.magnitude));
        vp_->setText(Fixed(v.degrees));
    } else {
        src.Magnitude = static_cast<float>(vm_->Value());
        src.Phase = static_cast<float>(vp_->Value());
        const Rectangular v = ToRectangular(vm_->Value(), vp_->Value());
        vr_->setText(Fixed(v.re));
        vi_->setText(Fixed(v.im));
    }
}

void SourceLoadWindow::SourceKindClicked() {
    if (source_ == 0) return;
    Source& src = placement_->SourceAt(source_);
    src.Kind = src.Kind == kCurrentSource ? kVoltageSource : kCurrentSource;
    kind_->setText(src.Kind == kCurrentSource ? "Current" : "Voltage");
}

void SourceLoadWindow::LoadTypeChanged() {
    if (load_ == 0) return;
    Load& l = placement_->LoadAt(load_);
    l.Kind = LoadKindOf(rlc_->isChecked(), parallel_->isChecked());
    // The boxes of the other type show the record's values too.
    lcrb_->setText(BoxText(l.Resistance));
    lclb_->setText(BoxText(l.Reactance));
    lccb_->setText(BoxText(l.Capacitance));
    lrb_->setText(BoxText(l.Resistance));
    libox_->setText(BoxText(l.Reactance));
    ShowLoadBoxes();
}

void SourceLoadWindow::ShowLoadBoxes() {
    rlcBoxes_->setVisible(rlc_->isChecked());
    riBoxes_->setVisible(!rlc_->isChecked());
}

void SourceLoadWindow::LoadValueEdited() {
    if (load_ == 0) return;
    Load& l = placement_->LoadAt(load_);
    if (rlc_->isChecked()) {
        l.Resistance = static_cast<float>(lcrb_->Value());
        l.Reactance = static_cast<float>(lclb_->Value());
        l.Capacitance = static_cast<float>(lccb_->Value());
    } else {
        l.Resistance = static_cast<float>(lrb_->Value());
        l.Reactance = static_cast<float>(libox_->Value());
    }
}

void SourceLoadWindow::Ok() {
    if (!placement_->Commit(ctx_)) return;
    accept();
}

}  // namespace qw
