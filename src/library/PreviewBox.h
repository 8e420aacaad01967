// A box beside the map that shows one of the brush previews and opens its
// palette when clicked.
#pragma once

#include <QFrame>
#include <QImage>

#include <functional>

namespace halvorn {

class PreviewBox : public QFrame {
    Q_OBJECT
public:
    // `preview` is asked for the picture at every paint, so the box always
    // shows the brush as it is now.
    PreviewBox(std::function<const QImage&()> preview, QWidget* parent);

signals:
    // A press and release of the left button inside the box.
    void Clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    std::function<const QImage&()> preview_;
    bool pressed_ = false;
};

} // namespace halvorn
