#include "downloads/progressdelegate.h"

#include <QPainter>
#include <cmath>

ProgressDelegate::ProgressDelegate(const bool& listHasFocus, QObject* parent)
    : QStyledItemDelegate(parent), m_listHasFocus(listHasFocus)
{
}

void ProgressDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const
{
    const QPalette& palette = option.palette;
    QColor background = palette.color(QPalette::Base);
    QColor face = palette.color(QPalette::Button);
    QColor frame = palette.color(QPalette::WindowText);
    QColor fill(128, 128, 128);
    if (option.state & QStyle::State_Selected) {
        background = face;
        if (m_listHasFocus) {
            background = face = palette.color(QPalette::Highlight);
            frame = fill = palette.color(QPalette::HighlightedText);
        }
    }
    painter->save();
    painter->fillRect(option.rect, background);
    const QRect inner = option.rect.adjusted(1, 2, -1, -2);
    painter->fillRect(inner, face);
    painter->setPen(frame);
    painter->drawRect(inner.adjusted(0, 0, -1, -1));
    QRect bar = inner.adjusted(2, 2, -2, -2);
    const int progress = std::clamp(index.data(Qt::UserRole).toInt(), 0, 100);
    bar.setWidth(int(std::nearbyint(bar.width() / 100.0 * progress)));
    if (bar.width() > 0)
        painter->fillRect(bar, fill);
    painter->restore();
}
