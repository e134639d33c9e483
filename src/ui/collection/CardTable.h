#pragma once
// The collection's table of cards. Fitting a column to its contents measures
// the same cells the standard table samples (up to the header's precision,
// from the rows in view downwards), but lays out only the texts that can be
// the widest: those whose letters, added up one by one, come out widest.
// Laying out every sampled cell took most of the time the window needed to
// show its first rows.

#include <QTableView>

class CardTable : public QTableView {
    Q_OBJECT
public:
    explicit CardTable(QWidget *parent = nullptr);

    // How many of the widest texts of a column are laid out.
    static constexpr int kMeasured = 16;

protected:
    int sizeHintForColumn(int column) const override;
};
