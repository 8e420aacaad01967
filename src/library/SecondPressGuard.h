// Keeps the second press of a double-click from reaching the window after
// the first one closed what it was aimed at: a pick closes its palette pane,
// and the second press would land on the brush button or the map beneath.
// Armed at the first press; that press's partner (press, double-click and
// their release) is eaten when it comes within the double-click time and
// distance of it, anywhere in the application. Positions in global pixels.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointF>

namespace halvorn {

class SecondPressGuard : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    void Arm(QPointF globalPosition);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Disarm();

    QPointF at_;
    QElapsedTimer since_;
    bool armed_ = false;
    bool eating_ = false; // a press was eaten; its release goes too
};

} // namespace halvorn
