#include "library/PaletteAccessible.h"

#include "library/PaletteCanvas.h"

#include <QAccessibleWidget>
#include <QPointer>

namespace halvorn {

namespace {

class PaletteItem : public QAccessibleInterface {
public:
    PaletteItem(PaletteCanvas* canvas, int index) : canvas_(canvas), index_(index) {}

    bool isValid() const override { return canvas_ && index_ < canvas_->Count(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override
    {
        return canvas_ ? canvas_->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface* parent() const override
    {
        return QAccessible::queryAccessibleInterface(canvas_.data());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name && canvas_ ? canvas_->ItemName(index_) : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override
    {
        if (!canvas_)
            return {};
        const QRect cell = canvas_->Grid().Cell(index_);
        return QRect(canvas_->mapToGlobal(cell.topLeft()), cell.size());
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        s.focusable = true;
        s.selectable = true;
        const bool current = canvas_ && canvas_->Current() == index_;
        s.focused = current && canvas_->hasFocus();
        s.selected = current;
        return s;
    }

private:
    QPointer<PaletteCanvas> canvas_;
    int index_;
};

class PaletteList : public QAccessibleWidget {
public:
    explicit PaletteList(PaletteCanvas* canvas) : QAccessibleWidget(canvas, QAccessible::List) {}
    ~PaletteList() override
    {
        for (const QAccessible::Id id : items_)
            QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return Canvas()->Count(); }
    QAccessibleInterface* child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        if (index >= items_.size())
            items_.resize(index + 1, 0);
        QAccessible::Id& id = items_[index];
        // Qt owns registered interfaces and hands out the same one each time.
        if (id == 0)
            id = QAccessible::registerAccessibleInterface(new PaletteItem(Canvas(), index));
        return QAccessible::accessibleInterface(id);
    }
    int indexOfChild(const QAccessibleInterface* item) const override
    {
        for (int i = 0; i < items_.size(); ++i) {
            if (items_[i] != 0 && QAccessible::accessibleInterface(items_[i]) == item)
                return i;
        }
        return -1;
    }
    QAccessibleInterface* focusChild() const override
    {
        return Canvas()->hasFocus() ? child(Canvas()->Current()) : nullptr;
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        const QPoint local = Canvas()->mapFromGlobal(QPoint(x, y));
        const PaletteGrid& grid = Canvas()->Grid();
        if (local.x() < 0 || local.y() < 0 || local.x() >= grid.Width())
            return nullptr;
        return child(grid.CellAt(static_cast<float>(local.x()), static_cast<float>(local.y())));
    }

private:
    PaletteCanvas* Canvas() const { return static_cast<PaletteCanvas*>(widget()); }
    mutable QList<QAccessible::Id> items_;
};

QAccessibleInterface* MakeInterface(const QString& className, QObject* object)
{
    if (className == QLatin1String("halvorn::PaletteCanvas") && object && object->isWidgetType())
        return new PaletteList(static_cast<PaletteCanvas*>(object));
    return nullptr;
}

} // namespace

void InstallPaletteAccessibility()
{
    // Qt keeps the factory list for the whole program; once is enough.
    static const bool installed = (QAccessible::installFactory(&MakeInterface), true);
    (void)installed;
}

} // namespace halvorn
