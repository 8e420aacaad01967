#include "library/SecondPressGuard.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QStyleHints>

namespace halvorn {

void SecondPressGuard::Arm(QPointF globalPosition)
{
    at_ = globalPosition;
    since_.start();
    eating_ = false;
    if (!armed_)
        qApp->installEventFilter(this);
    armed_ = true;
}

void SecondPressGuard::Disarm()
{
    if (armed_)
        qApp->removeEventFilter(this);
    armed_ = false;
    eating_ = false;
}

bool SecondPressGuard::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick &&
        type != QEvent::MouseButtonRelease)
        return QObject::eventFilter(watched, event);
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (eating_) {
        // One event reaches the window and then the widget: both are eaten.
        if (type == QEvent::MouseButtonRelease && mouse->buttons() == Qt::NoButton)
            Disarm();
        return true;
    }
    if (type == QEvent::MouseButtonRelease) // the first click's own release
        return QObject::eventFilter(watched, event);
    const QStyleHints* hints = QGuiApplication::styleHints();
    const QPointF moved = mouse->globalPosition() - at_;
    const bool partner = since_.elapsed() <= hints->mouseDoubleClickInterval() &&
                         qMax(qAbs(moved.x()), qAbs(moved.y())) <=
                             static_cast<qreal>(hints->mouseDoubleClickDistance());
    if (!partner) {
        Disarm();
        return QObject::eventFilter(watched, event);
    }
    eating_ = true;
    return true;
}

} // namespace halvorn
