// TForm15, the deletion window: one tab per table (suppliers, managers, goods), each with a grid, a
// navigator of previous, next, delete and refresh, and a line of instructions. It has no handlers: all
// it does is its grids' and navigators' work on data sets it shares with the pickers and lists.
#pragma once

#include "TForm.h"

class QLabel;
class QTabWidget;
class TDBGrid;
class TDBNavigator;

class TForm15 : public TForm {
    Q_OBJECT
public:
    explicit TForm15(QWidget* parent = nullptr);

    void BindDataModule() override;

    QTabWidget* PageControl1;
    QWidget* TabSheet1;
    TDBGrid* DBGrid1;
    TDBNavigator* DBNavigator1;
    QLabel* Label1;
    QWidget* TabSheet2;
    TDBGrid* DBGrid2;
    TDBNavigator* DBNavigator2;
    QLabel* Label2;
    QWidget* TabSheet3;
    TDBGrid* DBGrid3;
    TDBNavigator* DBNavigator3;
    QLabel* Label3;
};

extern TForm15* Form15;
