// What the seven grid windows (pickers and lists) share: a grid filling the client area over one data
// source of DataModule3, a tick button over it that closes the window, and the binding once the data
// module exists. Each window gives its own row of the table: caption, bounds, columns, tick button.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QVector>

#include "TColumn.h"
#include "TForm.h"

class TBitBtn;
class TDataModule3;
class TDataSource;
class TDBGrid;

class TGridWindow : public TForm {
    Q_OBJECT
public:
    struct TRow {
        const char* Name;  // "Form5"
        QString Caption;
        QRect Bounds;      // outer bounds on the screen
        QSize ClientArea;  // the grid's stored size
        QString Lists;     // the grid's name for screen readers: what it lists
        QVector<TColumn> Columns;
        QPoint TickAt;
        QString TickPurpose;                 // the tick button's name for screen readers
        TDataSource* TDataModule3::*Source;  // the data source the grid shows
    };

    TGridWindow(QWidget* parent, TRow row);

    void BindDataModule() override;
    void BitBtn1Click();

    TDBGrid* DBGrid1;
    TBitBtn* BitBtn1;

private:
    TDataSource* TDataModule3::*m_source;
};
