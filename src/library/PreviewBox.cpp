#include "library/PreviewBox.h"

#include <QMouseEvent>
#include <QPainter>

namespace halvorn {

PreviewBox::PreviewBox(std::function<const QImage&()> preview, QWidget* parent)
    : QFrame(parent), preview_(std::move(preview))
{
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Button);
}

void PreviewBox::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.drawImage(contentsRect().topLeft(), preview_());
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
        emit Clicked();
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
