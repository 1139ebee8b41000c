#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/tables/XXXNSTableColumnField.h>

#include <QtWidgets/QTableView>

class QPainter;

// The table of the CSV grid (its "row" column numbers the rows, so the table has no
// row header): solid grid lines, and a row-number column ("row") drawn
// centred on the control-highlight colour once setFirstColumnBackColor() was called
// (kept when the columns are rebuilt). Lives on the GUI thread.
class PAVISADE_EXPORT XXXCSVGridView : public QTableView
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit XXXCSVGridView(QWidget *parent = nullptr);

    // Solid vertical and horizontal grid lines.
    void styleConfig();
    // The "row" column gets its centred, highlighted cell; a table without that column
    // stays as it is until it gets one.
    void setFirstColumnBackColor();
    bool firstColumnBackColor() const { return m_firstColumnBackColor; }

    // Light grey vertical lines at the right edge of each column crossing the clip.
    void drawGridInClipRect1(QPainter *painter, const QRect &clip) const;
    // The grid lines of the existing rows only: the clip cut to the rows' area.
    void drawGridInClipRect2(QPainter *painter, const QRect &clip) const;

    void setModel(QAbstractItemModel *model) override;

private:
    void applyFirstColumnStyle();
    void queueFirstColumnStyle();

    bool m_firstColumnBackColor = false;
    bool m_styleQueued = false;
};

namespace Pavisade {

// The columns of a CSV grid of n columns: the row-number column ("row", no title,
// 50 wide) and n - 1 data columns titled and keyed by their letters (A, B, ... ZZ),
// 100 wide; all centred text cells. n above 677 is cut to 677 with a log line; n of
// 0 or less gives none.
PAVISADE_EXPORT XXXNSTableColumnFieldList csvGridColumns(int n);

} // namespace Pavisade
