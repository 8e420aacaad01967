#include "desktop/frmAbout.h"

#include "desktop/ArtworkView.h"
#include "desktop/Version.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

namespace halvorn {

frmAbout::frmAbout(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About MyApp"));
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(8);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    auto* artwork = new ArtworkView(this);
    lblVersion_ = new QLabel(QStringLiteral("Version:"), this);
    lblVersion_->setObjectName(QStringLiteral("lblVersion"));
    lblVersion_->setAlignment(Qt::AlignCenter);

    // The children let clicks fall through to the window, so a click on the
    // picture or the label closes the box like a click on the margin does.
    for (QWidget* child : {static_cast<QWidget*>(artwork), static_cast<QWidget*>(lblVersion_)})
        child->setAttribute(Qt::WA_TransparentForMouseEvents);
    layout->addWidget(artwork);
    layout->addWidget(lblVersion_);
}

void frmAbout::RefreshVersion()
{
    lblVersion_->setText(VersionCaption());
}

void frmAbout::showEvent(QShowEvent* event)
{
    RefreshVersion();
    pressed_ = false;
    QDialog::showEvent(event);
}

void frmAbout::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        RefreshVersion();
    QDialog::changeEvent(event);
}

void frmAbout::mousePressEvent(QMouseEvent* event)
{
    pressed_ = true;
    event->accept();
}

void frmAbout::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    // A release whose press happened elsewhere (say, on the menu that opened
    // the box) is not a click on the box.
    if (!pressed_)
        return;
    pressed_ = false;
    accept();
}

} // namespace halvorn
