// A fixed-size widget that shows the product picture; the splash screen and
// the About box both use it.
#pragma once

#include <QImage>
#include <QWidget>

namespace halvorn {

class ArtworkView : public QWidget {
    Q_OBJECT
public:
    explicit ArtworkView(QWidget* parent = nullptr);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
};

} // namespace halvorn
