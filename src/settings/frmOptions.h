// The Options dialog: splash screen, tile folders and shadow parameters.
// Opened modally from Tools > Options:
//     frmOptions dlg(this);
//     connect(&dlg, &frmOptions::RedrawRequested, this, [this] { Redraw(true); });
//     dlg.exec();
// OK and Apply write the settings and the run-time shadow values; the map must
// be redrawn after Apply and once more whenever the dialog closes.
#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace halvorn {

class frmOptions : public QDialog {
    Q_OBJECT
public:
    explicit frmOptions(QWidget* parent = nullptr);

    // Fills the controls from the store (run by the constructor).
    void GetSettings();
    // Writes every control to the store. Each refused value gets its own
    // message box and keeps its stored and run-time value; the others are
    // written all the same.
    void SetSettings();
    // True when the last SetSettings refused at least one value.
    bool SettingsFailed() const { return settingsFailed_; }

    void done(int result) override;

signals:
    // The shadow values may have changed: the map is to be drawn again. A
    // directly connected receiver that throws sees its message shown in a box.
    void RedrawRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OnOk();
    void OnApply();
    void OnDefaultShadow();
    void BrowseFolder(QLineEdit* target, const QString& title);
    void ShowError(const QString& text);
    void Redraw();

    bool settingsFailed_ = false;

    QCheckBox* Check1 = nullptr;
    QLineEdit* TextTilesFileLocation = nullptr;
    QLineEdit* TextObjectsFileLocation = nullptr;
    QLineEdit* TextWallsFileLocation = nullptr;
    QLineEdit* TextObjectShadowTransparency = nullptr;
    QLineEdit* TextObjectShadowDistance = nullptr;
    QLineEdit* TextWallShadowTransparency = nullptr;
    QLineEdit* TextWallShadowDistance = nullptr;
    QPushButton* cmdCancel = nullptr;
};

} // namespace halvorn
