#include "library/PaletteCanvas.h"

#include "library/PaletteAccessible.h"
#include "library/PaletteLayout.h"
#include "library/PaletteModel.h"
#include "library/TileName.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTextDocument>
#include <QToolTip>

#include <algorithm>

namespace halvorn {

PaletteCanvas::PaletteCanvas(BrushKind kind, QWidget* parent)
    : QWidget(parent), kind_(kind), grid_(PaletteGrid::Of(kind))
{
    InstallPaletteAccessibility();
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Dark);
    // Tooltips follow the cell under the mouse without a button held.
    setMouseTracking(true);
    // Focus comes from the pane opening, never from a click: a pick closes
    // the pane anyway, and the click must not mark a cell.
    setFocusPolicy(Qt::TabFocus);
    static constexpr PerKind<const char*> names{
        {"Floor Palette", "Wall Palette", "Object Palette"}};
    setAccessibleName(QString::fromLatin1(names[kind]));
}

void PaletteCanvas::SetModel(const PaletteModel* model)
{
    model_ = model;
    connect(model, &PaletteModel::Listed, this, &PaletteCanvas::ModelChanged);
    connect(model, &PaletteModel::Changed, this, &PaletteCanvas::ModelChanged);
    connect(model, &PaletteModel::Closed, this, &PaletteCanvas::ModelChanged);
    ModelChanged();
}

void PaletteCanvas::ModelChanged()
{
    const bool shown = model_->IsOpen() && model_->Kind() == kind_;
    if (!shown && thumbnails_.empty() && paths_.isEmpty())
        return;
    paths_ = shown ? model_->PathsOf(kind_) : QStringList();
    // Floors and walls share one path list, which a box click empties
    // before the model closes.
    const int count = shown ? std::min(model_->Count(), static_cast<int>(paths_.size())) : 0;
    // An entry only ever gains its thumbnail or leaves, which moves the rest
    // up: at the same count the thumbnails already held stay as they are.
    if (count != Count())
        thumbnails_.assign(static_cast<size_t>(count), QImage());
    for (int index = 0; index < count; ++index) {
        QImage& thumbnail = thumbnails_[static_cast<size_t>(index)];
        if (thumbnail.isNull())
            thumbnail = model_->Thumbnail(index);
    }
    update();
}

QString PaletteCanvas::ItemName(int index) const
{
    if (index < 0 || index >= Count())
        return {};
    return TileDisplayName(paths_[index]);
}

int PaletteCanvas::Current() const
{
    // Entries found unreadable while the pane fills move the rest up, so the
    // current cell may point past the end for a moment.
    return std::clamp(current_, 0, std::max(0, Count() - 1));
}

void PaletteCanvas::Reset(int index, bool framed)
{
    current_ = index;
    framed_ = framed;
    find_.Clear();
    update();
    TellScreenReaders();
}

void PaletteCanvas::paintEvent(QPaintEvent* event)
{
    const int count = Count();
    if (count == 0)
        return;
    const QRect area = event->rect();
    const CellRange cells = grid_.CellsInRows(area.top(), area.height());
    QPainter painter(this);
    for (int index = cells.first; index < std::min(cells.end, count); ++index) {
        const QImage& thumbnail = thumbnails_[static_cast<size_t>(index)];
        if (!thumbnail.isNull())
            painter.drawImage(ThumbnailRect(kind_, index, thumbnail.size()).topLeft(), thumbnail);
    }
    if (framed_ && hasFocus()) {
        // Two pixels of the selection colour along the inside of the cell,
        // over the thumbnail's edge: plain strips, so every side shows at any
        // screen scale and on the dark pane of any theme.
        const QRect cell = grid_.Cell(Current());
        const QColor colour = palette().color(QPalette::Highlight);
        constexpr int side = 2;
        painter.fillRect(QRect(cell.left(), cell.top(), cell.width(), side), colour);
        painter.fillRect(QRect(cell.left(), cell.bottom() - side + 1, cell.width(), side), colour);
        painter.fillRect(QRect(cell.left(), cell.top(), side, cell.height()), colour);
        painter.fillRect(QRect(cell.right() - side + 1, cell.top(), side, cell.height()), colour);
    }
}

bool PaletteCanvas::event(QEvent* event)
{
    // The tooltip is a picture's name: Qt would read "<b>bold" as markup.
    if (event->type() == QEvent::ToolTip && !toolTip().isEmpty()) {
        const auto* help = static_cast<QHelpEvent*>(event);
        QToolTip::showText(help->globalPos(),
                           Qt::convertFromPlainText(toolTip(), Qt::WhiteSpaceNoWrap), this);
        return true;
    }
    return QWidget::event(event);
}

void PaletteCanvas::mouseMoveEvent(QMouseEvent* event)
{
    emit Hovered(event->position());
}

void PaletteCanvas::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    emit Pressed(event->position(), event->globalPosition());
}

namespace {

// Text that finds an entry: printable, and no blank, since Space picks.
bool IsFindText(const QString& text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) {
        return (c.isPrint() || c.isSurrogate()) && !c.isSpace();
    });
}

} // namespace

void PaletteCanvas::keyPressEvent(QKeyEvent* event)
{
    const int page = grid_.CellsInWholeRows(PaletteFrameHeight);
    const int current = Current();
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    // Shift makes capitals and AltGr (a group switch on X11) other letters;
    // with Ctrl, Alt or Meta a key is a shortcut, not text.
    const bool typing = (mods & ~(Qt::ShiftModifier | Qt::GroupSwitchModifier)) == 0;
    if (typing && IsFindText(event->text())) {
        Find(find_.Type(event->text()));
        event->accept();
        return;
    }
    if (mods != Qt::NoModifier) {
        QWidget::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Backspace:
        Find(find_.Backspace());
        break;
    case Qt::Key_Left:
        MoveTo(current - 1);
        break;
    case Qt::Key_Right:
        MoveTo(current + 1);
        break;
    case Qt::Key_Up:
        // Within the first row there is nowhere up to go.
        if (current >= grid_.columns)
            MoveTo(current - grid_.columns);
        break;
    case Qt::Key_Down:
        if (current + grid_.columns < Count())
            MoveTo(current + grid_.columns);
        break;
    case Qt::Key_PageUp:
        MoveTo(current - page);
        break;
    case Qt::Key_PageDown:
        MoveTo(current + page);
        break;
    case Qt::Key_Home:
        MoveTo(0);
        break;
    case Qt::Key_End:
        MoveTo(Count() - 1);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        // Opened by the mouse, nothing is marked: the first such key only
        // marks the cell it would pick, so no picture is picked unseen.
        if (!framed_)
            MoveTo(current);
        else if (Count() > 0 && !event->isAutoRepeat())
            emit Activated(current);
        break;
    case Qt::Key_Escape:
        emit Dismissed();
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void PaletteCanvas::MoveTo(int index)
{
    current_ = std::clamp(index, 0, std::max(0, Count() - 1));
    framed_ = true;
    emit CurrentMoved(current_);
    update();
    TellScreenReaders();
}

void PaletteCanvas::Find(const QString& text)
{
    // Names as the tooltip and the screen reader give them, so without the
    // extension: what the user reads is what the user types.
    if (text.isEmpty())
        return;
    const int count = Count();
    for (int index = 0; index < count; ++index) {
        if (ItemName(index).startsWith(text, Qt::CaseInsensitive)) {
            MoveTo(index);
            return;
        }
    }
}

void PaletteCanvas::TellScreenReaders() const
{
    if (!hasFocus() || Count() == 0 || !QAccessible::isActive())
        return;
    QAccessibleEvent focus(const_cast<PaletteCanvas*>(this), QAccessible::Focus);
    focus.setChild(Current());
    QAccessible::updateAccessibility(&focus);
}

void PaletteCanvas::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    update();
    TellScreenReaders();
}

void PaletteCanvas::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    update();
}

} // namespace halvorn
