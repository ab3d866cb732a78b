#pragma once

#include <QPixmap>
#include <QStyledItemDelegate>

// Draws the Availability cell as one to five gold stars, blended with the selection colour on
// selected rows; the cell's text is not drawn.
class StarDelegate final : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit StarDelegate(QObject* parent);
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

private:
    QPixmap m_pictures[5];
};
