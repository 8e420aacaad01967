// A box beside the map that shows one of the brush previews and opens its
// palette when clicked, or when Space or Enter is pressed while it has the
// focus. Created inside its frame, it takes the frame's title as its
// accessible name.
#pragma once

#include <QFrame>
#include <QImage>

namespace halvorn {

class PreviewBox : public QFrame {
    Q_OBJECT
public:
    explicit PreviewBox(QWidget* parent);

    // The picture shown inside the border, from the box's top-left corner.
    void SetPicture(const QImage& picture);

signals:
    // A press and release of the left button inside the box, or the key.
    void Clicked(bool fromKeyboard);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    QImage picture_;
    bool pressed_ = false;
};

} // namespace halvorn
