// The About box: the product picture and the version line. A click anywhere
// on it closes it. Opened modally: `frmAbout dlg(parent); dlg.exec();`
#pragma once

#include <QDialog>

class QLabel;

namespace halvorn {

class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void RefreshVersion();

    QLabel* lblVersion_ = nullptr;
    bool pressed_ = false;
};

} // namespace halvorn
