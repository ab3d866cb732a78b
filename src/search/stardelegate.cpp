#include "search/stardelegate.h"

#include "platform/artwork.h"

#include <QPainter>

StarDelegate::StarDelegate(QObject* parent) : QStyledItemDelegate(parent)
{
    for (int i = 0; i < 5; ++i)
        m_pictures[i] = Artwork::stars(i + 1);
}

void StarDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const
{
    // Background (stripe or selection) as any cell, then the picture at the cell's top left.
    QStyledItemDelegate::paint(painter, option, QModelIndex());
    const QVariant background = index.data(Qt::BackgroundRole);
    const bool selected = option.state & QStyle::State_Selected;
    if (!selected && background.isValid())
        painter->fillRect(option.rect, background.value<QColor>());
    else if (selected)
        painter->fillRect(option.rect, option.palette.highlight());
    const int picture = std::clamp(index.data(Qt::UserRole).toInt(), 0, 4);
    painter->save();
    if (selected)
        painter->setOpacity(0.75);
    painter->drawPixmap(option.rect.topLeft(), m_pictures[picture]);
    painter->restore();
}
