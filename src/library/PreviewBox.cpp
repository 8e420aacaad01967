#include "library/PreviewBox.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace halvorn {

PreviewBox::PreviewBox(QWidget* parent) : QFrame(parent)
{
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Button);
    // Reached by Tab like a button, and named after its frame's title so a
    // screen reader says which kind it opens.
    setFocusPolicy(Qt::StrongFocus);
    if (const auto* frame = qobject_cast<const QGroupBox*>(parent))
        setAccessibleName(frame->title().trimmed());
    setAccessibleDescription(tr("Opens or closes its palette"));
}

void PreviewBox::SetPicture(const QImage& picture)
{
    // Shared, not copied: the brush paints its next preview into a copy of
    // its own and hands that over in turn.
    picture_ = picture;
    update();
}

void PreviewBox::keyPressEvent(QKeyEvent* event)
{
    // Space and Enter do what a click does.
    const int key = event->key();
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        if (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) {
            event->accept();
            if (!event->isAutoRepeat())
                emit Clicked(true);
            return;
        }
    }
    QFrame::keyPressEvent(event);
}

void PreviewBox::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.drawImage(contentsRect().topLeft(), picture_);
    if (frameShape() == QFrame::NoFrame) {
        // A box without a border of its own gets a line in the text colour,
        // half covering: on a dark scheme the box was nearly the window's own
        // colour and an empty one vanished.
        QColor line = palette().color(QPalette::WindowText);
        line.setAlpha(128);
        painter.setPen(line);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    if (hasFocus()) {
        // The style's own focus frame, as buttons show it.
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = contentsRect().adjusted(1, 1, -1, -1);
        focus.backgroundColor = palette().color(QPalette::Button);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

void PreviewBox::focusInEvent(QFocusEvent* event)
{
    QFrame::focusInEvent(event);
    update();
}

void PreviewBox::focusOutEvent(QFocusEvent* event)
{
    QFrame::focusOutEvent(event);
    update();
}

void PreviewBox::mousePressEvent(QMouseEvent* event)
{
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void PreviewBox::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click)
        emit Clicked(false);
}

void PreviewBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second press of a double-click is no click: without this the
    // default handler would count it as a press, and its release would close
    // the pane the first click opened.
    pressed_ = false;
    event->accept();
}

} // namespace halvorn
