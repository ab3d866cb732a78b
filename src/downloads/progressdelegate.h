#pragma once

#include <QStyledItemDelegate>

// Draws the Progress cell as a bar. Colours follow the row's selection and whether the list
// has the focus.
class ProgressDelegate final : public QStyledItemDelegate {
    Q_OBJECT
public:
    ProgressDelegate(const bool& listHasFocus, QObject* parent);
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

private:
    const bool& m_listHasFocus;
};
