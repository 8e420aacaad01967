// The tall strip of thumbnails inside a palette pane, as high as all its
// rows; only the part in view is ever painted. It shows the palette model's
// entries as the model's signals last told of them, so a paint reads nothing
// but what the canvas holds. It reports where the mouse hovers and presses in
// its own coordinates.
//
// It also takes the keyboard: the arrow keys, Home, End, Page Up and Page
// Down move a current cell, Enter, Return or Space picks it and Escape
// dismisses the pane. Letters, digits and the other printable characters
// but the blank move it to the first entry whose name starts with what was
// typed (see TypeToFind); Backspace takes the last character back. The
// current cell is framed only once the keyboard has been used on this
// opening, so a mouse user never sees an entry marked.
// Screen readers see the strip as a list whose items are the pictures'
// names, with the current cell as the focused item.
#pragma once

#include "library/PaletteLayout.h"
#include "library/TileKind.h"
#include "library/TypeToFind.h"

#include <QImage>
#include <QPointF>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <vector>

namespace halvorn {

class PaletteModel;

class PaletteCanvas : public QWidget {
    Q_OBJECT
public:
    PaletteCanvas(BrushKind kind, QWidget* parent);

    // The model must outlive the canvas; it shows this kind's thumbnails
    // while it holds this kind's palette. Connect it before anyone else
    // listening to the model, who then finds the canvas up to date.
    void SetModel(const PaletteModel* model);

    BrushKind Kind() const { return kind_; }
    // The entries this canvas shows now: 0 unless the model holds its kind.
    int Count() const { return static_cast<int>(thumbnails_.size()); }
    // The entry's picture name, as its tooltip gives it.
    QString ItemName(int index) const;
    // Where its cells lie.
    const PaletteGrid& Grid() const { return grid_; }

    // The cell the keys act on, kept within the entries.
    int Current() const;
    // Whether the current cell is framed (the keyboard was used).
    bool Framed() const { return framed_; }
    // Starts a new opening at `index`, which must be in view; `framed` when
    // the keyboard opened it.
    void Reset(int index, bool framed);
    // Where typing to find takes its time from.
    void SetFindClock(TypeToFind::Clock clock) { find_.SetClock(std::move(clock)); }

signals:
    void Hovered(QPointF position);
    void Pressed(QPointF position, QPointF globalPosition);
    // The current cell moved; the pane brings it into view.
    void CurrentMoved(int index);
    void Activated(int index);
    void Dismissed();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void MoveTo(int index);
    // Moves to the first entry whose name starts with `text`; stays when
    // none does.
    void Find(const QString& text);
    void TellScreenReaders() const;
    // Takes what the model now holds of this kind.
    void ModelChanged();

    BrushKind kind_;
    PaletteGrid grid_;
    const PaletteModel* model_ = nullptr;
    // The entries shown: their paths, and thumbnails (null until made).
    QStringList paths_;
    std::vector<QImage> thumbnails_;
    int current_ = 0;
    bool framed_ = false;
    TypeToFind find_;
};

} // namespace halvorn
