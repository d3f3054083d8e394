// "Sources & Loads": one wire at a time drawn as a line with a red tick
// at every slot that carries a pulse. Source and load icons are dragged
// onto the ticks, placed icons dragged to other ticks or into the trash,
// and a click on a placed icon opens its values. The window edits working
// copies of the tables (commands/placement.h); OK writes them into the
// project, Cancel leaves the project as it was.
#pragma once

#include <QDialog>
#include <QLabel>
#include <memory>

#include "commands/placement.h"
#include "model/context.h"

class QGroupBox;
class QLineEdit;
class QMimeData;
class QPushButton;
class QRadioButton;

namespace qw {

class NumberBox;
class WireView;

// The drag data of the window's icons.
inline constexpr const char* kPlacementMime = "application/x-quillwork-placement";
// "new-source", "new-load", "source N" or "load N".
QMimeData* PlacementMimeData(const QString& what);

class SourceLoadWindow : public QDialog {
    Q_OBJECT
public:
    explicit SourceLoadWindow(Context& ctx, QWidget* parent = nullptr);
    ~SourceLoadWindow() override;

    Placement& Working() { return *placement_; }
    WireView* View() const { return view_; }
    QWidget* Trash() const { return trash_; }

    // What a drop of this drag data does at a point of the wire view, in
    // twips; true when something was placed, moved or deleted.
    bool DropOnWire(const QString& what, double x, double y);
    bool DropOnTrash(const QString& what);
    // The parameter panel of a placed source or load.
    void OpenSource(int n);
    void OpenLoad(int n);
    void ClosePanel();
    // Shows wire w (the selection), or tells "No Such Wire".
    void ShowWire(int w);

protected:
    void done(int result) override;

private:
    void Refuse(const PlacementRefusal& why);
    void Redraw();
    void FillPulseLines(QLabel* const lines[4], const SlotPlace& at, int number);
    void SourceValuesEdited(bool fromParts);
    void SourceKindClicked();
    void LoadTypeChanged();
    void LoadValueEdited();
    void ShowLoadBoxes();
    void Ok();

    Context& ctx_;
    std::unique_ptr<Placement> placement_;
    WireView* view_ = nullptr;
    QLabel* trash_ = nullptr;
    QLineEdit* wireBox_ = nullptr;
    QGroupBox* sourcePanel_ = nullptr;
    QGroupBox* loadPanel_ = nullptr;
    QLabel* sourceLines_[4] = {};
    QLabel* loadLines_[4] = {};
    NumberBox *vr_ = nullptr, *vi_ = nullptr, *vm_ = nullptr, *vp_ = nullptr;
    QLabel* kind_ = nullptr;
    QRadioButton *rlc_ = nullptr, *realImag_ = nullptr, *series_ = nullptr, *parallel_ = nullptr;
    NumberBox *lcrb_ = nullptr, *lclb_ = nullptr, *lccb_ = nullptr, *lrb_ = nullptr, *libox_ = nullptr;
    QWidget *rlcBoxes_ = nullptr, *riBoxes_ = nullptr;
    int source_ = 0;  // the source of the open panel
    int load_ = 0;    // the load of the open panel
};

// A label that tells left and right clicks apart.
class ClickLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
signals:
    void leftClicked();
    void rightClicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

// The drawing of the selected wire; its coordinates are twips, 15 to a
// pixel, with the wire at y = 3180.
class WireView : public QWidget {
    Q_OBJECT
public:
    WireView(SourceLoadWindow& window, Placement& placement);
    QPointF ToTwips(const QPointF& pixel) const;
    QPointF ToPixels(double x, double y) const;
    // The placed item whose icon covers this point (number 0 when none).
    PlacedItem ItemAt(const QPoint& pixel) const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QRect IconRect(int slot, bool isSource) const;

    SourceLoadWindow& window_;
    Placement& placement_;
    PlacedItem pressed_;
    QPoint pressAt_;
};

}  // namespace qw
